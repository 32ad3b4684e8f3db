// The command-line checker reads a file in pieces and keeps nothing of it;
// the window program reads it whole into its state. Both run the one check
// of the core (sprawdzanie::SprawdzPlik), each with its own sink, and must
// find exactly the same faults on every input: here every sample file and a
// set of generated ones (lines across pieces, faults at piece edges, line
// ends split between pieces, runs of empty lines, random bytes) go through
// both, and the checker's output, report and corrected copy are held
// against what the window's state gives. A sink that records what the
// check hands it gets each finding the checker prints, in the same order.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "ModelNrb.h"
#include "TempDir.h"
#include "Uruchom.h"
#include "diagnoza/RozpoznajKodowanie.h"
#include "kodowanie/Cp1250.h"
#include "linie/CzytajKawalkami.h"
#include "linie/WczytajPlik.h"
#include "profile/RegulaZnakow.h"
#include "rachunki/PodsumowanieStanu.h"
#include "rachunki/UwagiStanu.h"
#include "rachunki/WykazBankow.h"
#include "raport/UtworzLOG.h"
#include "sprawdzanie/SprawdzPlik.h"
#include "typy/Teksty.h"
#include "typy/Typy.h"

using namespace cli_test;

namespace {

// The generated files put lines, faults and line ends on both sides of the
// edges of pieces of this size, a multiple of the checker's.
constexpr std::size_t kKawalek = std::size_t{128} << 10;

// A faulty byte as the checker is to show it: decoded, controls as their
// pictures, a byte the code page leaves undefined as U+FFFD.
std::string Pokaz(unsigned char b) {
  const char16_t u = kodowanie::cp1250::kToUnicode[b];
  std::string s =
      (u >= 0x80 && u < 0xA0)
          ? "\xEF\xBF\xBD"
          : kodowanie::cp1250::ToUtf8(std::string_view(reinterpret_cast<const char*>(&b), 1), true);
  char hex[8];
  std::snprintf(hex, sizeof hex, "%02X", b);
  return s + "\" (0x" + hex + ")";
}

// What the checker must print for a file, from the window's state: each
// line's faulty characters, then its wrong account numbers and fields.
std::string OczekiwaneWyjscie(const sprawdzanie::TStanOkna& okno,
                              const std::optional<diagnoza::TDiagnoza>& d, const std::string& nazwa,
                              const std::string& poprawiony) {
  std::string out;
  const Typy::TStan& s = okno.stan;
  const rachunki::TRachunkiStanu& r = okno.rachunki;
  const std::vector<rachunki::TUwagaLinii>& uwagi = r.uwagi;
  std::size_t u = 0, o = 0;
  // Each line's findings, then its warnings.
  const auto uwagiDo = [&](std::uint64_t doLinii) {
    for (;;) {
      const std::uint64_t nr =
          std::min(u < uwagi.size() ? uwagi[u].linia : UINT64_MAX,
                   o < r.ostrzezenia.size() ? r.ostrzezenia[o].linia : UINT64_MAX);
      if (nr > doLinii) break;
      const std::string_view linia = s.LinieOrg[nr - 1];
      for (; u < uwagi.size() && uwagi[u].linia == nr; ++u) {
        const rachunki::TUwaga& x = uwagi[u].uwaga;
        const std::string_view bank = rachunki::BankUwagi(x, linia);
        out += nazwa + ":" + std::to_string(nr) + ":" + std::to_string(x.kolumna) + ": " +
               kodowanie::cp1250::ToUtf8(rachunki::NazwaPola(x.pole)) + ": " +
               kodowanie::cp1250::ToUtf8(rachunki::OpisUwagi(x, linia)) + ": \"" +
               kodowanie::cp1250::ToUtf8(x.Wartosc(linia), true) + "\"" +
               (bank.empty() ? "" : " (bank: " + kodowanie::cp1250::ToUtf8(bank) + ")") + "\n";
      }
      for (; o < r.ostrzezenia.size() && r.ostrzezenia[o].linia == nr; ++o) {
        const rachunki::TOstrzezenie& x = r.ostrzezenia[o].ostrzezenie;
        out += nazwa + ":" + std::to_string(nr) + ":" + std::to_string(x.kolumna) + ": " +
               kodowanie::cp1250::ToUtf8(rachunki::NazwaPola(x.pole)) + ": " +
               kodowanie::cp1250::ToUtf8(x.Opis()) + ": \"" +
               kodowanie::cp1250::ToUtf8(x.Wartosc(linia), true) + "\"\n";
      }
    }
  };
  for (std::size_t i = 0; i < s.Bledy.size(); ++i) {
    const auto idx = static_cast<std::size_t>(s.Bledy.LineIndex(i));
    uwagiDo(idx);
    const std::string nr = std::to_string(idx + 1);
    const std::string_view linia = s.LinieOrg[idx];
    if (linia.empty())
      out += nazwa + ":" + nr + ": " + kodowanie::cp1250::ToUtf8(Typy::teksty::CiagPusty) + "\n";
    // Columns as the user counts them: characters of the bank's encoding.
    Typy::TKolumnyZnakow kolumna(linia);
    Typy::ForEachFaultyByte(linia, [&](std::size_t pos, unsigned char b) {
      out += nazwa + ":" + nr + ":" + std::to_string(kolumna(pos)) + ": Błędny znak: \"" +
             Pokaz(b) + "\n";
    });
  }
  uwagiDo(s.LinieOrg.size());
  std::string rachunki =
      uwagi.empty() ? std::string()
                    : nazwa + ": " + kodowanie::cp1250::ToUtf8(Typy::teksty::BledneRachunki) + " " +
                          std::to_string(uwagi.size()) + "\n";
  if (!r.ostrzezenia.empty())
    rachunki += nazwa + ": " + kodowanie::cp1250::ToUtf8(rachunki::kOstrzezenia) + " " +
                std::to_string(r.ostrzezenia.size()) + "\n";
  for (const std::string& l : rachunki::LiniePodsumowania(r.sumy, rachunki::NazwaBankuZWykazu))
    rachunki += nazwa + ": " + kodowanie::cp1250::ToUtf8(l) + "\n";
  if (s.Bledy.empty())
    return out + nazwa + ": " + kodowanie::cp1250::ToUtf8(Typy::teksty::PlikPoprawny) + "\n" +
           rachunki + nazwa + ": raportu nie zapisano, plik nie zawiera błędów\n";
  // The encoding the window's diagnosis names, which the checker reaches
  // from the lines as they pass.
  if (d && d->kodowanie != profile::AktywnyProfil().kodowanie)
    out += nazwa + ": plik wygląda na zapisany w kodowaniu " +
           std::string(kodowanie::Nazwa(d->kodowanie)) + "\n";
  return out + nazwa + ": " + kodowanie::cp1250::ToUtf8(Typy::teksty::IloscBlednychLinii) + " " +
         std::to_string(s.Bledy.size()) + "\n" + rachunki + nazwa + ": zapisano " + poprawiony +
         "\n";
}

// The window's report of the state, with the clock read back from the
// checker's report, so that the two can be compared byte for byte.
std::string OczekiwanyRaport(const Typy::TStan& s, const std::string& raport) {
  const auto linia2 = raport.find("\r\n") + 2;
  if (raport.size() < linia2 + 20) return "(no time line in: " + raport + ")";
  const std::string t = raport.substr(linia2, 20);
  const raport::TChwila c{std::stoi(t.substr(0, 4)),  std::stoi(t.substr(5, 2)),
                          std::stoi(t.substr(8, 2)),  std::stoi(t.substr(12, 2)),
                          std::stoi(t.substr(15, 2)), std::stoi(t.substr(18, 2))};
  raport::TRaportTekst tekst;
  raport::UtworzLOG(
      s, tekst, [c] { return c; }, t[14]);
  return tekst.Tekst();
}

std::string Poprawiony(const Typy::TStan& s) {
  std::string bajty;
  s.LinieNew.WypiszWszystkie([&](const char* p, std::size_t n) { bajty.append(p, n); }, "\r\n");
  return bajty;
}

struct TWejscie {
  std::string nazwa;
  std::string bajty;
};

std::vector<TWejscie> Wygenerowane() {
  std::vector<TWejscie> v;
  const std::string polskie =
      "\xA5\xB9\xC6\xE6\xCA\xEA\xA3\xB3\xD1\xF1\xD3\xF3\x8C\x9C\x8F\x9F\xAF\xBF";

  // One faulty line over three pieces, faults just before, at and after
  // each edge, and a last line without a line end.
  std::string dluga(3 * kKawalek + 100, 'a');
  for (std::size_t k = 1; k <= 3; ++k)
    for (std::size_t d : {kKawalek * k - 1, kKawalek * k, kKawalek * k + 1}) dluga[d] = '\x96';
  v.push_back({"dluga", "pierwsza\r\n" + dluga + "\r\nostatnia"});

  // A clean line over two pieces, then a faulty one.
  v.push_back({"dluga_czysta", std::string(kKawalek + 7, 'z') + "\r\nx\ty\r\n"});

  // CR LF split between two pieces, and a stray CR at the edge.
  std::string cr(kKawalek - 1, 'b');
  cr += "\r\n\x01";
  cr += std::string(kKawalek - 3, 'c') + "\r" + "d\r\n";
  v.push_back({"cr_na_krawedzi", cr});

  // The end-of-text mark in the second piece: nothing after it counts.
  v.push_back({"koniec_tekstu", std::string(kKawalek + 10, 'e') + "\x01\x1A\r\n\x02\r\n"});

  // Runs of empty lines, LF and CR LF, across an edge.
  std::string puste;
  while (puste.size() < kKawalek + 50) puste += "\r\n\n";
  v.push_back({"puste", puste + "koniec"});

  // Transfer records over three pieces, with wrong account numbers, sort
  // codes and amounts cut by the pieces' edges anywhere.
  std::string zlecenia;
  for (int k = 0; zlecenia.size() < 3 * kKawalek; ++k) {
    const std::string numer =
        k % 3 ? "61 1090 1014 0000 0712 1981 2874" : "PL61109010140000071219812875";
    zlecenia += "110,20240328," + std::to_string(k % 5 ? 100 * k + 1 : 0) +
                ",10500015,0,\"15105000159303642621299722\",\"" + numer +
                "\",\"Nadawca\",\"Odbiorca " + std::string(static_cast<std::size_t>(k % 37), 'o') +
                "\",0,1090101" + std::to_string(k % 2 ? 4 : 5) + ",\"Tytul\",\"\",\"\",\"51\"" +
                (k % 4 ? "\r\n" : "\n");
  }
  v.push_back({"zlecenia", zlecenia});

  // A payroll over three pieces: transfers written twice, near and far
  // apart, one paid from another account, direct debits among them.
  {
    std::mt19937 rng(30);
    const std::string platnik = test_support::ModelValid(rng, "10500015");
    std::vector<std::string> odbiorcy;
    for (int i = 0; i < 50; ++i) odbiorcy.push_back(test_support::ModelValid(rng));
    std::string lista;
    for (int k = 0; lista.size() < 3 * kKawalek; ++k) {
      const int n = k % 11 == 10 ? k / 3 : k;  // now and then an earlier transfer again
      lista += test_support::RekordElixirO(
                   k % 29 == 0 ? "210" : "110", k % 3 ? "20240328" : "20240329",
                   std::to_string(100 + 37 * n), k == 500 ? odbiorcy[1] : platnik,
                   odbiorcy[static_cast<std::size_t>(n) % 50], "Pensja " + std::to_string(n % 13)) +
               "\r\n";
    }
    v.push_back({"lista_plac", lista});
  }

  // The layouts payroll lists use, sort codes no bank has and structured
  // titles, right and wrong, over two pieces.
  std::string uklady;
  const char* const linie[] = {
      "Jan Kowalski 61 1090 1014 0000 0712 1981 2875 1500,00",
      "Jan Kowalski;61 1090 1014 0000 0712 1981 2874 1500 zl",
      "PL 82 10205226 0000 6102 0417 7896;2 500,00",
      "PL 83 10205226 0000 6102 0417 7896;2 500,00",
      "61  1090  1014  0000  0712  1981  2875",
      "IBAN: PL6110901014000007121981287 1500,00",
      "53124050220033224538323640",
      "110,20240115,150000,10500015,0,\"15105000159303642621299722\","
      "\"65124050060033224538323640\","
      "\"A\",\"B\",0,12405006,\"/VAT/2300,00/NIP/5260001247|/INV/FV 1\",\"\",\"\",\"53\"",
      "110,20240115,150000,10500015,0,\"15105000159303642621299722\","
      "\"70101000712222526000124600\","
      "\"A\",\"B\",0,10100071,\"/TI/N7831916366/OKR/24M13/SFP/PIT4R\",\"\",\"\",\"\"",
  };
  for (std::size_t k = 0; uklady.size() < kKawalek + 4000; ++k)
    uklady += std::string(linie[k % std::size(linie)]) + (k % 2 ? "\r\n" : "\n");
  v.push_back({"uklady", uklady});

  // Blocks of lines with a number, without a digit, faulty and empty: the
  // checker tries the runs of clean lines less often while line after line
  // holds a digit, and must find the same wherever a block starts.
  std::string bloki;
  for (int k = 0; bloki.size() < 2 * kKawalek; ++k) {
    const int m = k % 53;
    bloki += m < 21   ? "nr " + std::to_string(k) + " 61 1090 1014 0000 0712 1981 2875"
             : m < 47 ? std::string("bez cyfr")
             : m < 50 ? std::string("z\x96ly") + polskie
                      : std::string();
    bloki += k % 3 ? "\r\n" : "\n";
  }
  v.push_back({"bloki", bloki});

  // A file big enough to be mapped piece by piece: CR LF split between two
  // mapped pieces, faults on either side of the next edge, an empty line
  // at the last one.
  const std::size_t mapa = linie::kKawalekMapy;
  std::string duzy;
  while (duzy.size() < 2 * mapa + 5000) duzy += std::string(61, 'm') + "\r\n";
  duzy[mapa - 1] = '\r';
  duzy[mapa] = '\n';
  duzy[2 * mapa - 1] = '\x96';
  duzy[2 * mapa] = '\x01';
  duzy.replace(2 * mapa + 100, 4, "\r\n\r\n");
  v.push_back({"mapowany", duzy});

  // Random lines from a small alphabet rich in every kind of byte, and
  // random bytes of any value; fixed seeds so a failure repeats.
  for (unsigned seed = 1; seed <= 6; ++seed) {
    std::mt19937 rng(seed);
    std::string alfabet = "ab ,;0\r\n\n\n\x96\x81\x98\t" + polskie + std::string(1, '\0');
    if (seed % 2 == 0) alfabet += '\x1A';
    const std::size_t rozmiar = seed <= 3 ? 5000 : kKawalek * 2 + seed;
    std::string s;
    for (std::size_t i = 0; i < rozmiar; ++i)
      s += seed == 6 ? static_cast<char>(rng() & 0xFF) : alfabet[rng() % alfabet.size()];
    v.push_back({"losowy" + std::to_string(seed), s});
  }
  return v;
}

std::vector<TWejscie> Wszystkie() {
  std::vector<TWejscie> v = Wygenerowane();
  for (const char* folder : {CORPUS_DIR, FUZZ_CORPUS_DIR, EXAMPLES_DIR}) {
    std::vector<std::filesystem::path> pliki;
    for (const auto& e : std::filesystem::directory_iterator(folder))
      if (e.is_regular_file()) pliki.push_back(e.path());
    std::sort(pliki.begin(), pliki.end());
    for (const auto& p : pliki) v.push_back({p.filename().string(), Czytaj(p.string())});
  }
  return v;
}

// What the check hands the checker's sink, each finding as the position
// the checker prints it at: "LINE:COLUMN", or "LINE" for an empty line.
class TZapis final : public sprawdzanie::TZnaleziska {
 public:
  void Otwarty() override { otwarty_ = pozycje.empty(); }
  linie::SprawdzanieStrumienia::Options Opcje() const override {
    EXPECT_TRUE(otwarty_) << "options asked for before the file was open";
    return {};
  }
  void FaultyByte(std::uint64_t line, std::uint64_t column, unsigned char) override {
    Pozycja(line, column);
  }
  void EmptyLine(std::uint64_t line) override { pozycje.push_back(std::to_string(line)); }
  void FaultyLine(std::uint64_t, std::string_view) override {}
  void Corrected(const char*, std::size_t) override {}
  void Uwaga(std::uint64_t linia, const rachunki::TUwaga& u, std::string_view) override {
    Pozycja(linia, u.kolumna);
  }
  void Ostrzezenie(std::uint64_t linia, const rachunki::TOstrzezenie& o,
                   std::string_view) override {
    Pozycja(linia, o.kolumna);
  }

  std::vector<std::string> pozycje;

 private:
  void Pozycja(std::uint64_t linia, std::uint64_t kolumna) {
    pozycje.push_back(std::to_string(linia) + ":" + std::to_string(kolumna));
  }
  bool otwarty_ = false;
};

// The positions of the checker's finding lines ("NAME:LINE:COLUMN: ..." and
// "NAME:LINE: ..."), in the order printed; summary lines have none.
std::vector<std::string> Pozycje(const std::string& out, const std::string& nazwa) {
  std::vector<std::string> v;
  const std::string poczatek = nazwa + ":";
  for (std::size_t i = 0; i < out.size();) {
    const std::size_t koniec = std::min(out.find('\n', i), out.size());
    const std::string_view linia(out.data() + i, koniec - i);
    i = koniec + 1;
    if (!linia.starts_with(poczatek)) continue;
    std::string_view reszta = linia.substr(poczatek.size());
    std::size_t n = 0;
    for (int pola = 0;
         pola < 2 && n < reszta.size() && std::isdigit(static_cast<unsigned char>(reszta[n]));
         ++pola) {
      while (n < reszta.size() && std::isdigit(static_cast<unsigned char>(reszta[n]))) ++n;
      if (n < reszta.size() && reszta[n] == ':') ++n;
    }
    if (n > 0) v.emplace_back(reszta.substr(0, n - 1));
  }
  return v;
}

// One input through both: the checker run with `opcje` in `dir`.
// The check runs under `zasady` (the profile the checker is given in `opcje`).
void Porownaj(const std::string& dir, const TWejscie& w, const std::vector<std::string>& opcje,
              const sprawdzanie::TZasady& zasady = {}) {
  SCOPED_TRACE(w.nazwa);
  const std::string plik = dir + "/plik.txt";
  Zapisz(plik, w.bajty);
  Typy::TStan s;
  sprawdzanie::TStanOkna okno(s);
  const sprawdzanie::TWynik wynikOkna = sprawdzanie::SprawdzPlik(plik, &okno, zasady);
  TZapis zapis;
  const sprawdzanie::TWynik wynik = sprawdzanie::SprawdzPlik(plik, &zapis, zasady);
  EXPECT_EQ(wynik.blednychLinii, wynikOkna.blednychLinii);
  EXPECT_EQ(wynik.uwag, wynikOkna.uwag);
  EXPECT_EQ(wynik.ostrzezen, wynikOkna.ostrzezen);
  if (!s.LinieOrg.empty()) {
    EXPECT_EQ(wynik.diagnoza, wynikOkna.diagnoza);
  }

  std::vector<std::string> args = opcje;
  for (const char* a : {"--fix", "--report", "raport.log", "--podsumowanie", "plik.txt"})
    args.push_back(a);
  const TWynik r = Uruchom(dir, args);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.kod, s.Bledy.empty() && rachunki::SprawdzStan(s).empty() ? 0 : 1);
  EXPECT_EQ(r.out, OczekiwaneWyjscie(okno, wynikOkna.diagnoza, "plik.txt", dir + "/plik_nowy.txt"));
  EXPECT_EQ(zapis.pozycje, Pozycje(r.out, "plik.txt"));
  if (s.Bledy.empty()) {
    EXPECT_FALSE(std::filesystem::exists(dir + "/raport.log"));
    EXPECT_FALSE(std::filesystem::exists(dir + "/plik_nowy.txt"));
  } else {
    const std::string raport = Czytaj(dir + "/raport.log");
    EXPECT_EQ(raport, OczekiwanyRaport(s, raport));
    EXPECT_EQ(Czytaj(dir + "/plik_nowy.txt"), Poprawiony(s));
  }
  std::filesystem::remove(dir + "/raport.log");
  std::filesystem::remove(dir + "/plik_nowy.txt");
}

// The same Polish text as a bank in each encoding reads it, with faults:
// an en dash, a tab, a refused ";" and ":" in and out of a record's fields,
// lines ended by LF alone.
std::vector<TWejscie> WKodowaniach() {
  const std::string tekst =
      "Zażółć gęślą jaźń; ĄĆĘŁŃÓŚŹŻ\r\n"
      "110,20240328,100,10500015,0,\"15105000159303642621299722\",\"17102040142664737828830059\","
      "\"Łódź: Spółka & Syn\",\"Jan Kowalski|ul. Wąska; 5\",0,10204014,\"Zapłata – faktura\","
      "\"\",\"\",\"51\"\n"
      "Tab\tulator i é\n\n";
  std::vector<TWejscie> v;
  const std::string cp1250 = kodowanie::cp1250::FromUtf8Lossy(tekst);
  v.push_back({"polskie_1250", cp1250});
  v.push_back({"polskie_utf8", tekst});
  // CP852: each Windows-1250 letter at its CP852 place.
  const auto& tablica852 = kodowanie::Tablica(kodowanie::TKodowanie::Cp852);
  std::string cp852;
  for (const char c : cp1250) {
    const char16_t u = kodowanie::cp1250::kToUnicode[static_cast<unsigned char>(c)];
    char b = c;
    for (int k = 128; k < 256 && static_cast<unsigned char>(c) >= 128; ++k)
      if (tablica852[static_cast<std::size_t>(k)] == u) b = static_cast<char>(k);
    cp852 += b;
  }
  v.push_back({"polskie_cp852", cp852});
  return v;
}

}  // namespace

TEST(Zgodnosc, checkerFindsWhatTheWindowProgramFinds) {
  const test_support::TempDir temp;
  const std::string dir = temp.path();
  const auto wejscia = Wszystkie();
  ASSERT_GT(wejscia.size(), 30u);
  for (const TWejscie& w : wejscia) {
    Porownaj(dir, w, {});
    // Nothing else is left behind: no temporary file of either output.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
  }
}

TEST(Zgodnosc, bothTakeTheSameNewerListOfBanks) {
  // A list without the banks of most lines, and with a bank the built-in
  // one lacks: both programs name the same banks and the same codes.
  const test_support::TempDir temp;
  const std::string dir = temp.path();
  const std::string wykaz = dir + "/wykaz.json";
  Zapisz(wykaz,
         "{\"date\": \"2027-01-31\", \"entries\": [{\"name\": \"Bank \\u0141\\u00f3d\\u017a\", "
         "\"bank_codes\": [\"12405022\", \"10901014\"]}]}");
  // The check is given the list and puts it in use itself.
  const sprawdzanie::TZasady zasady{.wykaz = rachunki::WczytajWykazBankow(wykaz)};
  for (const TWejscie& w : Wszystkie())
    if (w.nazwa == "uklady" || w.nazwa == "zlecenia" || w.nazwa.starts_with("zlecenia"))
      Porownaj(dir, w, {"--wykaz-bankow", wykaz}, zasady);
  EXPECT_EQ(&rachunki::WykazBankow(), zasady.wykaz.get());
  rachunki::UzyjWykazuBankow(nullptr);
}

// A bank profile moves the rule (the letters' encoding, refused characters
// in a record's fields, CR LF): both programs take it from the same core
// call and still agree byte for byte. The check is given the profile and
// puts it in use itself.
TEST(Zgodnosc, underABankProfileToo) {
  const test_support::TempDir temp;
  const std::string dir = temp.path();
  std::vector<TWejscie> wejscia = Wszystkie();
  for (TWejscie& w : WKodowaniach()) wejscia.push_back(std::move(w));
  for (const char* profil :
       {"Najostrzejsze wspólne", "Import firmowy, UTF-8", "Import firmowy, CP852"}) {
    SCOPED_TRACE(profil);
    const profile::TProfil p = profile::ZnajdzProfil(kodowanie::cp1250::FromUtf8Lossy(profil));
    for (const TWejscie& w : wejscia) Porownaj(dir, w, {"--profil", profil}, {.profil = &p});
    EXPECT_EQ(profile::AktywnyProfil().nazwa, p.nazwa);
  }
  profile::UzyjProfilu(profile::Domyslny());
}

// A payroll of 50 transfers with one written twice and one split payment
// whose VAT exceeds its amount: the count and the sum a plain addition
// gives, the repeat a warning naming both lines, the title a finding.
TEST(Zgodnosc, PayrollSummaryCountsWhatAPlainSumCounts) {
  const test_support::TempDir temp;
  std::mt19937 rng(50);
  const std::string platnik = test_support::ModelValid(rng, "10500015");
  const char* const banki[] = {"10901014", "10202892", "11402004", "24900005"};
  std::string lista, powtorzony;
  std::uint64_t grosze = 0;
  for (int k = 1; k <= 50; ++k) {
    std::string r = test_support::RekordElixirO(
        "110", "20241210", std::to_string(250000 + 1234 * k), platnik,
        test_support::ModelValid(rng, banki[k % 4]), "Wynagrodzenie 11/2024");
    if (k == 12) powtorzony = r;
    if (k == 40) r = powtorzony;
    // The split payment's VAT of 9 999,99 zł against an amount below 3 000 zł.
    if (k == 25) {
      r = r.substr(0, r.size() - 4) + "\"53\"";
      r.replace(r.find("Wynagrodzenie 11/2024"), 21, "/VAT/9999,99/IDC/5260001246/INV/FV 7");
    }
    grosze += std::stoull(r.substr(13, r.find(',', 13) - 13));
    lista += r + "\r\n";
  }
  Zapisz(temp.path() + "/lista.txt", lista);
  const TWynik w = Uruchom(temp.path(), {"--podsumowanie", "lista.txt"});
  EXPECT_EQ(w.kod, 1) << w.out;
  const std::string zl = std::to_string(grosze / 100);
  const std::string razem = zl.substr(0, zl.size() - 3) + " " + zl.substr(zl.size() - 3) + "," +
                            std::to_string(grosze % 100 / 10) + std::to_string(grosze % 10);
  ASSERT_TRUE(zl.size() > 3 && zl.size() <= 6);  // one space, as the grouping above puts it
  EXPECT_NE(w.out.find("lista.txt: przelewów: 50, razem: " + razem + " zł\n"), std::string::npos)
      << w.out;
  EXPECT_NE(w.out.find("lista.txt: 2024-12-10: przelewów: 50, razem: " + razem + " zł\n"),
            std::string::npos)
      << w.out;
  EXPECT_NE(w.out.find("lista.txt:40:"), std::string::npos);
  EXPECT_NE(w.out.find("ostrzeżenie: ten sam przelew co w linii 12"), std::string::npos) << w.out;
  EXPECT_NE(w.out.find("lista.txt: Ostrzeżenia: 1\n"), std::string::npos) << w.out;
  // The title's finding is the only error; warnings leave the status alone.
  EXPECT_NE(w.out.find("lista.txt:25:"), std::string::npos) << w.out;
  EXPECT_NE(w.out.find("kwota VAT większa od kwoty przelewu: \"9999,99\""), std::string::npos)
      << w.out;
  // Each payee bank by its code and its name from the list.
  EXPECT_NE(w.out.find("lista.txt: bank 10901014 ("), std::string::npos) << w.out;
}
