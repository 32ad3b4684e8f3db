// The command-line checker, run as a program: what it prints, where, with
// which exit status, and the files it writes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TempDir.h"
#include "Uruchom.h"
#include "kodowanie/Cp1250.h"
#include "linie/WczytajPlik.h"
#include "raport/UtworzLOG.h"
#include "typy/Typy.h"

namespace {

using namespace cli_test;

// A file with one fault of each kind the output has to spell: a tab, an en
// dash, an empty line, a NUL, and a letter written in UTF-8.
const std::string kBledny = std::string(
                                "Jan\tKowalski\r\nWyp\xB3"
                                "ata \x96 x\r\n\r\nA") +
                            '\0' + "B\r\nPawe\xC5\x82\r\n";
const std::string kBlednyWynik =
    "bledny.txt:1:4: Błędny znak: \"␉\" (0x09)\n"
    "bledny.txt:2:9: Błędny znak: \"–\" (0x96)\n"
    "bledny.txt:3: Ciąg nie może być pusty\n"
    "bledny.txt:4:2: Błędny znak: \"␀\" (0x00)\n"
    "bledny.txt:5:5: Błędny znak: \"Ĺ\" (0xC5)\n"
    "bledny.txt:5:6: Błędny znak: \"‚\" (0x82)\n"
    "bledny.txt: Ilość błędnych linii w zbiorze: 5\n";
const std::string kCzystyWynik =
    "czysty.txt: Format kodowania wczytanej listy płac jest poprawny.\n";

class WeryfikujPlik : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = temp_.path();
    ::chmod(dir_.c_str(), 0755);  // the unprivileged child must reach it
    Zapisz(dir_ + "/bledny.txt", kBledny);
    Zapisz(dir_ + "/czysty.txt", "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1\r\nok");
  }
  TWynik Uruchom(std::vector<std::string> args, bool bezUprawnien = false) {
    return cli_test::Uruchom(dir_, std::move(args), bezUprawnien);
  }

  test_support::TempDir temp_;
  std::string dir_;
};

}  // namespace

TEST_F(WeryfikujPlik, cleanAndFaultyFiles) {
  TWynik w = Uruchom({"czysty.txt"});
  EXPECT_EQ(w.out, kCzystyWynik);
  EXPECT_EQ(w.err, "");
  EXPECT_EQ(w.kod, 0);

  w = Uruchom({"bledny.txt"});
  EXPECT_EQ(w.out, kBlednyWynik);
  EXPECT_EQ(w.err, "");
  EXPECT_EQ(w.kod, 1);

  w = Uruchom({"--quiet", "czysty.txt", "bledny.txt"});
  EXPECT_EQ(w.out, "");
  EXPECT_EQ(w.kod, 1);
}

// The five bytes Windows-1250 leaves undefined would print as invisible
// C1 controls: U+FFFD stands in for them, the value beside it says which.
TEST_F(WeryfikujPlik, bytesTheCodePageLeavesUndefinedShowAsTheReplacementCharacter) {
  Zapisz(dir_ + "/nieokreslone.txt", "a\x81\x83\x88\x90\x98\x80\r\n");
  const TWynik w = Uruchom({"nieokreslone.txt"});
  std::string oczekiwane;
  const char* wartosci[] = {"81", "83", "88", "90", "98"};
  for (int i = 0; i < 5; ++i)
    oczekiwane += "nieokreslone.txt:1:" + std::to_string(i + 2) + ": Błędny znak: \"\uFFFD\" (0x" +
                  wartosci[i] + ")\n";
  oczekiwane += "nieokreslone.txt:1:7: Błędny znak: \"€\" (0x80)\n";
  EXPECT_EQ(w.out, oczekiwane + "nieokreslone.txt: Ilość błędnych linii w zbiorze: 1\n");
}

TEST_F(WeryfikujPlik, aFileThatCannotBeReadDoesNotStopTheOthers) {
  Zapisz(dir_ + "/zablokowany.txt", "x");
  ::chmod((dir_ + "/zablokowany.txt").c_str(), 0);
  const TWynik w = Uruchom({"czysty.txt", "zablokowany.txt", "brak.txt", "bledny.txt"}, true);
  EXPECT_EQ(w.out, kCzystyWynik + kBlednyWynik);
  EXPECT_EQ(w.err, "zablokowany.txt: File access denied.\nbrak.txt: File not found.\n");
  EXPECT_EQ(w.kod, 2);
}

TEST_F(WeryfikujPlik, reportIsTheWindowProgramsReport) {
  TWynik w = Uruchom({"--report", "raport.log", "bledny.txt"});
  EXPECT_EQ(w.out, kBlednyWynik);
  EXPECT_EQ(w.kod, 1);
  const std::string raport = Czytaj(dir_ + "/raport.log");

  // The same state and clock through the core gives the same bytes. The
  // clock is read back from the report's time line.
  const auto linia2 = raport.find("\r\n") + 2;
  ASSERT_LT(linia2 + 20, raport.size());
  const std::string t = raport.substr(linia2, 20);
  const raport::TChwila c{std::stoi(t.substr(0, 4)),  std::stoi(t.substr(5, 2)),
                          std::stoi(t.substr(8, 2)),  std::stoi(t.substr(12, 2)),
                          std::stoi(t.substr(15, 2)), std::stoi(t.substr(18, 2))};
  Typy::TStan stan;
  stan.NazwaPliku = dir_ + "/bledny.txt";
  linie::WczytajPlik(stan);
  raport::TRaportTekst oczekiwany;
  raport::UtworzLOG(
      stan, oczekiwany, [c] { return c; }, t[14]);
  EXPECT_EQ(raport, oczekiwany.Tekst());

  // A clean file has no report: none is written.
  w = Uruchom({"--report=czysty.log", "czysty.txt"});
  EXPECT_EQ(w.kod, 0);
  EXPECT_FALSE(std::filesystem::exists(dir_ + "/czysty.log"));

  // Nor may the report take the place of the file it describes.
  w = Uruchom({"--report", "bledny.txt", "bledny.txt"});
  EXPECT_EQ(w.kod, 2);
  EXPECT_EQ(w.err, "bledny.txt: Cannot create file \"" + dir_ +
                       "/bledny.txt\". The report would replace the checked file.\n");
  EXPECT_EQ(Czytaj(dir_ + "/bledny.txt"), kBledny);
}

TEST_F(WeryfikujPlik, fixWritesTheCorrectedCopyOfFaultyFilesOnly) {
  TWynik w = Uruchom({"--fix", "bledny.txt", "czysty.txt"});
  EXPECT_EQ(w.out,
            kBlednyWynik + "bledny.txt: zapisano " + dir_ + "/bledny_nowy.txt\n" + kCzystyWynik);
  EXPECT_EQ(w.kod, 1);
  EXPECT_EQ(Czytaj(dir_ + "/bledny_nowy.txt"),
            "Jan?Kowalski\r\nWyp\xB3"
            "ata ? x\r\n\r\nA?B\r\nPawe??\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir_ + "/czysty_nowy.txt"));

  // A corrected file that cannot be written is an error of that file.
  std::filesystem::remove(dir_ + "/bledny_nowy.txt");
  std::filesystem::create_directory(dir_ + "/bledny_nowy.txt");
  w = Uruchom({"--fix", "--quiet", "bledny.txt"});
  EXPECT_EQ(w.out, "");
  EXPECT_EQ(w.err, "bledny_nowy.txt: File access denied.\n");
  EXPECT_EQ(w.kod, 2);
}

TEST_F(WeryfikujPlik, arguments) {
  for (const std::vector<std::string>& zle : {std::vector<std::string>{},
                                              {"--bogus", "czysty.txt"},
                                              {"--report"},
                                              {"--report", "r.log", "czysty.txt", "bledny.txt"},
                                              {"--quiet"},
                                              {"--from", "UTF-8", "czysty.txt"},
                                              {"--convert", "--from", "EBCDIC", "czysty.txt"},
                                              {"--convert", "--from"},
                                              {"--convert", "--fix", "czysty.txt"},
                                              {"--convert", "--report", "r.log", "czysty.txt"}}) {
    const TWynik w = Uruchom(zle);
    EXPECT_EQ(w.kod, 2);
    EXPECT_EQ(w.out, "");
    EXPECT_TRUE(w.err.starts_with("weryfikuj-plik: ")) << w.err;
    EXPECT_NE(w.err.find("Użycie: weryfikuj-plik"), std::string::npos);
  }
  EXPECT_FALSE(std::filesystem::exists(dir_ + "/r.log"));

  TWynik w = Uruchom({"--help"});
  EXPECT_EQ(w.kod, 0);
  EXPECT_TRUE(w.out.starts_with("Użycie: weryfikuj-plik")) << w.out;
  EXPECT_EQ(w.err, "");

  w = Uruchom({"--version"});
  EXPECT_EQ(w.out, "weryfikuj-plik 2.0\n");
  EXPECT_EQ(w.kod, 0);

  // After "--" a name that looks like an option is a file.
  Zapisz(dir_ + "/--fix", "ok\r\n");
  w = Uruchom({"--", "--fix"});
  EXPECT_EQ(w.out, "--fix: Format kodowania wczytanej listy płac jest poprawny.\n");
  EXPECT_EQ(w.kod, 0);
}

// A list exported as UTF-8 (with a tab the correction leaves for the user),
// and one with a byte that is no UTF-8 at all.
TEST_F(WeryfikujPlik, diagnosisLineAndConvert) {
  const std::string utf8 =
      "1;Pawe\xC5\x82 Mazur\xC3\xB3w \xE2\x80\x93 "
      "premia\r\n2;\tZa\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87\r\n";
  Zapisz(dir_ + "/utf8.txt", utf8);
  TWynik w = Uruchom({"utf8.txt"});
  EXPECT_NE(w.out.find("utf8.txt: plik wygląda na zapisany w kodowaniu UTF-8\n"
                       "utf8.txt: Ilość błędnych linii w zbiorze: 2\n"),
            std::string::npos)
      << w.out;
  EXPECT_EQ(w.kod, 1);

  // Joined to a clean Windows-1250 list: only its clean lines tell, and the
  // checker, which keeps no lines, reads them again to see it.
  Zapisz(dir_ + "/razem.txt", Czytaj(dir_ + "/czysty.txt") + "\r\n" + utf8);
  w = Uruchom({"razem.txt"});
  EXPECT_NE(w.out.find("razem.txt: plik wygląda na zapisany w kodowaniu Windows-1250/UTF-8\n"),
            std::string::npos)
      << w.out;

  w = Uruchom({"--convert", "utf8.txt", "czysty.txt"});
  EXPECT_NE(w.out.find("utf8.txt: zapisano " + dir_ +
                       "/utf8_nowy.txt\n"
                       "utf8_nowy.txt:2:3: Błędny znak: \"␉\" (0x09)\n"
                       "utf8_nowy.txt: Ilość błędnych linii w zbiorze: 1\n" +
                       kCzystyWynik),
            std::string::npos)
      << w.out;
  EXPECT_EQ(w.kod, 1);  // from the written copy, which keeps the tab
  EXPECT_EQ(Czytaj(dir_ + "/utf8_nowy.txt"),
            "1;Pawe\xB3 Mazur\xF3w - premia\r\n2;\tZa\xBF\xF3\xB3\xE6\r\n");
  EXPECT_EQ(Czytaj(dir_ + "/utf8.txt"), utf8);
  EXPECT_FALSE(std::filesystem::exists(dir_ + "/czysty_nowy.txt"));

  // Named encoding; a byte invalid in it is kept and counted.
  Zapisz(dir_ + "/zly.txt", "Pawe\xC5\x82 \xFF\r\n");
  w = Uruchom({"--convert", "--from", "UTF-8", "zly.txt"});
  EXPECT_NE(w.out.find("zly.txt: bajtów nieczytelnych w kodowaniu UTF-8, pozostawionych bez "
                       "zmian: 1\nzly_nowy.txt:1:7: Błędny znak: \"˙\" (0xFF)\n"),
            std::string::npos)
      << w.out;
  EXPECT_EQ(Czytaj(dir_ + "/zly_nowy.txt"), "Pawe\xB3 \xFF\r\n");
  w = Uruchom({"--convert", "--from=Windows-1250", "--quiet", "zly.txt"});
  EXPECT_EQ(w.out, "");
  // Read as Windows-1250, "Ĺ" loses its accent and "‚" is a quotation mark.
  EXPECT_EQ(Czytaj(dir_ + "/zly_nowy.txt"), "PaweL' \xFF\r\n");
}

// A clean file whose letters are another encoding's gets the diagnosis line
// and keeps its exit status; --convert repairs it; between two close
// readings nothing is written without --from, which converts a clean file too.
TEST_F(WeryfikujPlik, cleanFilesInAnotherEncodingAndCloseReadings) {
  Zapisz(dir_ + "/cp852.txt", "Przelewy wymagaj\xA5 podpisu\r\n");
  TWynik w = Uruchom({"cp852.txt"});
  EXPECT_EQ(w.out,
            "cp852.txt: plik wygląda na zapisany w kodowaniu CP852\n"
            "cp852.txt: Format kodowania wczytanej listy płac jest poprawny.\n");
  EXPECT_EQ(w.kod, 0);
  w = Uruchom({"--convert", "cp852.txt"});
  EXPECT_EQ(Czytaj(dir_ + "/cp852_nowy.txt"), "Przelewy wymagaj\xB9 podpisu\r\n");
  EXPECT_EQ(w.kod, 0);

  // Both readings Polish letters ("MAŹKOWIAK", CP852 "MAĆKOWIAK"): a clean
  // file is right as it is and nothing is said; --from converts it still.
  Zapisz(dir_ + "/blisko.txt", "MA\x8FKOWIAK;100,00\r\n");
  w = Uruchom({"--convert", "blisko.txt"});
  EXPECT_EQ(w.out, "blisko.txt: Format kodowania wczytanej listy płac jest poprawny.\n");
  EXPECT_EQ(w.kod, 0);
  EXPECT_FALSE(std::filesystem::exists(dir_ + "/blisko_nowy.txt"));
  w = Uruchom({"--convert", "--from", "CP852", "blisko.txt"});
  EXPECT_EQ(Czytaj(dir_ + "/blisko_nowy.txt"), "MA\xC6KOWIAK;100,00\r\n");
  EXPECT_EQ(w.kod, 0);
  // The same faulty: both readings are named, and nothing is written
  // without --from.
  Zapisz(dir_ + "/blisko2.txt", "MA\x8FKOWIAK\t100,00\r\n");
  w = Uruchom({"--convert", "blisko2.txt"});
  EXPECT_EQ(w.out,
            "blisko2.txt:1:10: Błędny znak: \"␉\" (0x09)\n"
            "blisko2.txt: plik może być zapisany w kodowaniu Windows-1250 albo CP852\n"
            "blisko2.txt: Ilość błędnych linii w zbiorze: 1\n"
            "blisko2.txt: poprawionej kopii nie zapisano; kodowanie pliku podaj w --from\n");
  EXPECT_EQ(w.kod, 1);
  EXPECT_FALSE(std::filesystem::exists(dir_ + "/blisko2_nowy.txt"));

  // A faulty file whose encoding is not sure is not converted either.
  Zapisz(dir_ + "/nie_tekst.txt",
         std::string("PK\x03\x04\0\0\0\0\x8F\x12\xC3\xFF\xFE\x01\r\n", 16));
  w = Uruchom({"--convert", "nie_tekst.txt"});
  EXPECT_NE(
      w.out.find("nie_tekst.txt: poprawionej kopii nie zapisano; kodowanie pliku podaj w --from\n"),
      std::string::npos)
      << w.out;
  EXPECT_EQ(w.kod, 1);
  EXPECT_FALSE(std::filesystem::exists(dir_ + "/nie_tekst_nowy.txt"));

  // UTF-16 with CR LF and no mark is read as UTF-16, never copied as it is.
  Zapisz(dir_ + "/utf16.txt", std::string("M\0i\0c\0h\0a\0\x42\x01\r\0\n\0", 16));
  w = Uruchom({"--convert", "utf16.txt"});
  EXPECT_NE(w.out.find("utf16.txt: plik wygląda na zapisany w kodowaniu UTF-16LE\n"),
            std::string::npos)
      << w.out;
  EXPECT_EQ(Czytaj(dir_ + "/utf16_nowy.txt"), "Micha\xB3\r\n");
}

// The list with four mistakes every byte of which is right: each named once
// with its line and column, after the characters' verdict a line of its
// own, exit status 1; corrected, nothing; characters only, nothing; with a
// faulty byte as well, its line's character finding comes first and the
// report and corrected copy hold the characters alone.
TEST_F(WeryfikujPlik, accountNumbersAndTransferFields) {
  const std::string bledne = Czytaj(std::string(EXAMPLES_DIR) + "/zlecenia-bledne.txt");
  Zapisz(dir_ + "/zlecenia.txt", bledne);
  Zapisz(dir_ + "/dobre.txt", Czytaj(std::string(EXAMPLES_DIR) + "/zlecenia.txt"));
  const std::string poprawny = ": Format kodowania wczytanej listy płac jest poprawny.\n";
  const std::string czterech =
      "zlecenia.txt:1:62: rachunek kontrahenta: błędna suma kontrolna numeru rachunku: "
      "\"78102052262664737828830069\" (bank: Powszechna Kasa Oszczędności Bank Polski Spółka "
      "Akcyjna)\n"
      "zlecenia.txt:2:62: rachunek kontrahenta: błędna suma kontrolna numeru rachunku: "
      "\"73109010141623306697058715\" (bank: Erste Bank Polska Spółka Akcyjna)\n"
      "zlecenia.txt:3:182: numer banku kontrahenta: błędna cyfra kontrolna numeru "
      "rozliczeniowego banku: \"11402005\"\n"
      "zlecenia.txt:4:14: kwota: nie w groszach (same cyfry, bez przecinka i kropki): "
      "\"5020,00\"\n";
  TWynik w = Uruchom({"zlecenia.txt", "dobre.txt"});
  EXPECT_EQ(w.out, czterech + "zlecenia.txt" + poprawny +
                       "zlecenia.txt: Błędne numery rachunków i pola przelewów: 4\n" + "dobre.txt" +
                       poprawny);
  EXPECT_EQ(w.kod, 1);

  w = Uruchom({"dobre.txt"});
  EXPECT_EQ(w.kod, 0);
  w = Uruchom({"--tylko-znaki", "zlecenia.txt"});
  EXPECT_EQ(w.out, "zlecenia.txt" + poprawny);
  EXPECT_EQ(w.kod, 0);
  w = Uruchom({"--quiet", "zlecenia.txt"});
  EXPECT_EQ(w.out, "");
  EXPECT_EQ(w.kod, 1);

  std::string zBajtem = bledne;
  zBajtem[zBajtem.find("Tarmeko")] = '\x96';
  Zapisz(dir_ + "/zlecenia.txt", zBajtem);
  w = Uruchom({"--fix", "--report", "r.log", "zlecenia.txt"});
  EXPECT_TRUE(
      w.out.starts_with("zlecenia.txt:1:91: Błędny znak: \"–\" (0x96)\n"
                        "zlecenia.txt:1:62: rachunek kontrahenta:"))
      << w.out;
  EXPECT_NE(w.out.find("zlecenia.txt: Ilość błędnych linii w zbiorze: 1\n"
                       "zlecenia.txt: Błędne numery rachunków i pola przelewów: 4\n"),
            std::string::npos);
  EXPECT_EQ(w.kod, 1);
  std::string kopia = zBajtem;
  kopia[kopia.find('\x96')] = '?';
  EXPECT_EQ(Czytaj(dir_ + "/zlecenia_nowy.txt"), kopia);

  // A newer list of banks: two of the corrected list's payee banks are gone
  // from it, each named with its own code; a file that is no list is a
  // usage failure.
  Zapisz(dir_ + "/wykaz.json",
         "{\"date\": \"2027-01-31\", \"entries\": [{\"name\": \"B\", \"bank_codes\": "
         "[\"10500015\", \"10205226\", \"10901014\", \"11402004\", \"11602202\"]}]}");
  w = Uruchom({"--wykaz-bankow", "wykaz.json", "dobre.txt"});
  EXPECT_EQ(w.out,
            "dobre.txt:4:62: rachunek kontrahenta: numer rozliczeniowy 12405006 nie występuje w "
            "wykazie banków (stan na 31.01.2027): \"20124050061339118786352864\"\n"
            "dobre.txt:6:62: rachunek kontrahenta: numer rozliczeniowy 17500012 nie występuje w "
            "wykazie banków (stan na 31.01.2027): \"85175000129839958912255594\"\n"
            "dobre.txt" +
                poprawny + "dobre.txt: Błędne numery rachunków i pola przelewów: 2\n");
  EXPECT_EQ(w.kod, 1);
  Zapisz(dir_ + "/zly.json", "10500015\tING\n");
  for (const auto& args : {std::vector<std::string>{"--wykaz-bankow=zly.json", "dobre.txt"},
                           std::vector<std::string>{"--wykaz-bankow=brak.json", "dobre.txt"},
                           std::vector<std::string>{"dobre.txt", "--wykaz-bankow"}}) {
    w = Uruchom(args);
    EXPECT_EQ(w.kod, 2) << args[0];
    EXPECT_EQ(w.out, "") << args[0];
    EXPECT_NE(w.err, "") << args[0];
  }
}

TEST_F(WeryfikujPlik, bankProfile) {
  // The short forms people type from habit.
  EXPECT_EQ(Uruchom({"-h"}).out, Uruchom({"--help"}).out);
  EXPECT_EQ(Uruchom({"-V"}).out, Uruchom({"--version"}).out);
  TWynik w = Uruchom({"-q", "bledny.txt"});
  EXPECT_EQ(w.kod, 1);
  EXPECT_EQ(w.out, "");

  // The built-in profiles, one line each with its name and source.
  w = Uruchom({"--lista-profili"});
  EXPECT_EQ(w.kod, 0);
  EXPECT_EQ(w.out.rfind("Zasady ogólne: ", 0), 0u) << w.out;
  EXPECT_NE(w.out.find("\nNajostrzejsze wspólne: "), std::string::npos) << w.out;

  // With "Najostrzejsze wspólne": ";" in a street and "&" in a name inside
  // a record's fields are faulty characters, corrected to "?"; the quotes
  // and commas are not; a line ended by LF alone is a finding; --fix writes
  // CR LF. The report names the profile.
  const std::string rekord =
      "110,20240328,100,10500015,0,\"15105000159303642621299722\",\"73109010146123306697058715\","
      "\"Firma & Syn\",\"Jan Kowalski|ul. Wąska; 5\",0,10901014,\"Tytul\",\"\",\"\",\"51\"";
  const std::string linia = kodowanie::cp1250::FromUtf8Lossy(rekord);
  const std::size_t amp = linia.find('&'), srednik = linia.find(';');
  Zapisz(dir_ + "/lista.txt", linia + "\nkoniec\r\n");
  w = Uruchom({"--profil", "Najostrzejsze wspólne", "--fix", "--report", "r.log", "lista.txt"});
  EXPECT_EQ(w.kod, 1);
  EXPECT_EQ(w.out,
            "lista.txt:1:" + std::to_string(amp + 1) +
                ": Błędny znak: \"&\" (0x26)\nlista.txt:1:" + std::to_string(srednik + 1) +
                ": Błędny znak: \";\" (0x3B)\nlista.txt:1:" + std::to_string(linia.size() + 1) +
                ": koniec linii: LF bez CR, a bank wymaga CR LF: \"\"\n"
                "lista.txt: Ilość błędnych linii w zbiorze: 1\n"
                "lista.txt: Błędne numery rachunków i pola przelewów: 1\n"
                "lista.txt: zapisano " +
                dir_ + "/lista_nowy.txt\n");
  std::string poprawiony = linia;
  poprawiony[amp] = poprawiony[srednik] = '?';
  EXPECT_EQ(Czytaj(dir_ + "/lista_nowy.txt"), poprawiony + "\r\nkoniec\r\n");
  EXPECT_NE(Czytaj(dir_ + "/r.log")
                .find(kodowanie::cp1250::FromUtf8Lossy("\r\nProfil banku: Najostrzejsze "
                                                       "wspólne\r\n")),
            std::string::npos);
  // The default profile's report says nothing of profiles.
  w = Uruchom({"--report", "r.log", "bledny.txt"});
  EXPECT_EQ(Czytaj(dir_ + "/r.log").find("Profil banku"), std::string::npos);

  // A profile that cannot be used: exit status 2, nothing checked or written.
  std::filesystem::remove(dir_ + "/lista_nowy.txt");
  Zapisz(dir_ + "/zly.toml", "nazwa = \"Mój\"\nkodowanie = \"EBCDIC\"\n");
  for (const char* profil : {"zly.toml", "brak.toml", "Nieznany bank"}) {
    SCOPED_TRACE(profil);
    w = Uruchom({"--profil", profil, "--fix", "lista.txt"});
    EXPECT_EQ(w.kod, 2);
    EXPECT_EQ(w.out, "");
    EXPECT_EQ(w.err.rfind(std::string("weryfikuj-plik: ") + profil + ":", 0), 0u) << w.err;
    EXPECT_FALSE(std::filesystem::exists(dir_ + "/lista_nowy.txt"));
  }
  EXPECT_NE(Uruchom({"--profil", "zly.toml", "x"}).err.find("zly.toml:2: kodowanie: "),
            std::string::npos);
  EXPECT_EQ(Uruchom({"--profil"}).kod, 2);
  EXPECT_EQ(Uruchom({"--profil", "a", "--profil=b", "x"}).kod, 2);

  // A UTF-8 bank: a UTF-8 list with Polish letters is correct; a
  // Windows-1250 one is diagnosed and converted to UTF-8, the same letters.
  const std::string w1250 = Czytaj(std::string(EXAMPLES_DIR) + "/zlecenia.txt");
  const std::string tekst = kodowanie::cp1250::ToUtf8(w1250);
  Zapisz(dir_ + "/utf8.txt", tekst);
  Zapisz(dir_ + "/w1250.txt", w1250);
  w = Uruchom({"--profil", "Import firmowy, UTF-8", "utf8.txt"});
  EXPECT_EQ(w.kod, 0) << w.out;
  EXPECT_EQ(w.out, "utf8.txt: Format kodowania wczytanej listy płac jest poprawny.\n");
  w = Uruchom({"--profil", "Import firmowy, UTF-8", "--convert", "-q", "w1250.txt"});
  EXPECT_EQ(w.kod, 0) << w.out;
  EXPECT_EQ(Czytaj(dir_ + "/w1250_nowy.txt"), tekst);
  w = Uruchom({"--profil", "Import firmowy, UTF-8", "w1250.txt"});
  EXPECT_NE(w.out.find("w1250.txt: plik wygląda na zapisany w kodowaniu Windows-1250\n"),
            std::string::npos)
      << w.out;
}
