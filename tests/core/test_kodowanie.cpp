// Encoding diagnosis and automatic correction: the mapping as a table, the
// diagnosis of short and long files in every encoding, and the correction's
// result read back by the checker.
#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "TekstPolski.h"
#include "TestSupport.h"
#include "diagnoza/PoprawKodowanie.h"
#include "diagnoza/PropozycjaPoprawki.h"
#include "diagnoza/RozpoznajKodowanie.h"
#include "diagnoza/ZnakDlaBanku.h"
#include "kodowanie/Cp1250.h"
#include "kodowanie/Kodowanie.h"
#include "linie/LineSplitter.h"
#include "linie/SprawdzanieStrumienia.h"

using diagnoza::TDiagnoza;
using diagnoza::TZmiana;
using kodowanie::TKodowanie;
using namespace testing_core;

namespace {

std::optional<TDiagnoza> Diagnoza(const std::string& bytes) {
  TempDir dir;
  Typy::TStan s;
  Sprawdz(s, dir.Write("lista.txt", bytes));
  return diagnoza::RozpoznajKodowanie(s);
}

std::string Odczytaj(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

struct TPoprawiony {
  std::string bajty;
  diagnoza::TWynikPoprawy wynik;
};

TPoprawiony Popraw(const std::string& bytes, TKodowanie z) {
  TempDir dir;
  const std::string src = dir.Write("lista.txt", bytes);
  TPoprawiony p;
  const std::string out = diagnoza::ZapiszPoprawke(src, z, p.wynik);
  EXPECT_EQ(out, dir.File("lista_nowy.txt"));
  EXPECT_EQ(Odczytaj(src), bytes) << "the source is never written";
  p.bajty = Odczytaj(out);
  return p;
}

std::string Przekoduj(const std::string& bytes, TKodowanie z, std::size_t kawalek) {
  std::string out;
  diagnoza::TPrzekodowanie p(
      z, [](void* k, const char* b, std::size_t n) { static_cast<std::string*>(k)->append(b, n); },
      &out);
  for (std::size_t i = 0; i < bytes.size(); i += kawalek)
    p.Dodaj(bytes.data() + i, std::min(kawalek, bytes.size() - i));
  p.Zakoncz();
  return out;
}

std::string Nazwa(const std::optional<TDiagnoza>& d) {
  if (!d) return "(nic)";
  std::string s = std::string(kodowanie::Nazwa(d->kodowanie)) + (d->bom ? " BOM" : "");
  if (d->albo) s += " albo " + std::string(kodowanie::Nazwa(*d->albo));
  return s;
}

// The diagnosis as the command-line checker makes it: the parts of faulty
// lines as they pass the check, then the clean lines read again.
class TZnaleziska final : public linie::StreamFindings {
 public:
  void FaultyByte(std::uint64_t, std::uint64_t, unsigned char) override {}
  void EmptyLine(std::uint64_t) override {}
  void FaultyLine(std::uint64_t, std::string_view) override {}
  void Corrected(const char*, std::size_t) override {}
  void FaultyText(std::uint64_t line, std::string_view part) override {
    r.CzescBlednej(line, part);
  }
  diagnoza::TRozpoznawanie r;
};

// The file's diagnosis by the window's reader and by the checker's, which
// must agree.
std::string Rozpoznaj(const std::string& bytes) {
  TempDir dir;
  const std::string path = dir.Write("lista.txt", bytes);
  Typy::TStan s;
  Sprawdz(s, path);
  const std::string okno = Nazwa(diagnoza::RozpoznajKodowanie(s));
  TZnaleziska z;
  linie::SprawdzanieStrumienia check(z, {});
  linie::BasicLineSplitter<linie::SprawdzanieStrumienia> splitter(check);
  // Pieces of an odd size, so that a longer file has lines cut between them.
  for (std::size_t i = 0; i < bytes.size(); i += 4093)
    if (!splitter.Feed(bytes.data() + i, std::min<std::size_t>(4093, bytes.size() - i))) break;
  splitter.Finish();
  z.r.KoniecBlednych();
  if (z.r.PotrzebneLiniePoprawne(0)) diagnoza::DoczytajLiniePoprawne(z.r, path);
  diagnoza::DoczytajPoczatek(z.r, path);
  EXPECT_EQ(Nazwa(z.r.Wynik()), okno) << "the checker and the window disagree";
  return okno;
}

// Files and the diagnosis both readers must give them.
struct TRozpoznanie {
  const char* opis;
  std::string bajty;
  const char* wynik;
};

template <std::size_t N>
void ExpectRozpoznane(const TRozpoznanie (&przypadki)[N]) {
  for (const TRozpoznanie& p : przypadki) EXPECT_EQ(Rozpoznaj(p.bajty), p.wynik) << p.opis;
}

// ---- The mapping, one character at a time

struct TWiersz {
  char32_t znak;
  const char* wynik;
  TZmiana zmiana;
};

TEST(ZnakDlaBanku, MapsEveryKindOfCharacter) {
  const TWiersz tabela[] = {
      {U'a', "a", TZmiana::Bez},
      {U'~', "~", TZmiana::Bez},
      {U'ą', "\xB9", TZmiana::Bez},
      {U'Ż', "\xAF", TZmiana::Bez},
      {U'ś', "\x9C", TZmiana::Bez},
      {U'Ź', "\x8F", TZmiana::Bez},
      {U'‐', "-", TZmiana::Zamieniony},
      {U'–', "-", TZmiana::Zamieniony},
      {U'—', "-", TZmiana::Zamieniony},
      {U'―', "-", TZmiana::Zamieniony},
      {U'−', "-", TZmiana::Zamieniony},
      {U'„', "\"", TZmiana::Zamieniony},
      {U'“', "\"", TZmiana::Zamieniony},
      {U'”', "\"", TZmiana::Zamieniony},
      {U'«', "\"", TZmiana::Zamieniony},
      {U'»', "\"", TZmiana::Zamieniony},
      {U'″', "\"", TZmiana::Zamieniony},
      {U'‚', "'", TZmiana::Zamieniony},
      {U'‘', "'", TZmiana::Zamieniony},
      {U'’', "'", TZmiana::Zamieniony},
      {U'′', "'", TZmiana::Zamieniony},
      {U'…', "...", TZmiana::Zamieniony},
      {0x00A0, " ", TZmiana::Zamieniony},
      {0x2007, " ", TZmiana::Zamieniony},
      {0x2009, " ", TZmiana::Zamieniony},
      {0x202F, " ", TZmiana::Zamieniony},
      {0x00AD, "", TZmiana::Usuniety},
      {0x200B, "", TZmiana::Usuniety},
      {0x200D, "", TZmiana::Usuniety},
      {0x2060, "", TZmiana::Usuniety},
      {0xFEFF, "", TZmiana::Usuniety},
      {U'é', "e", TZmiana::Zamieniony},
      {U'ü', "u", TZmiana::Zamieniony},
      {U'č', "c", TZmiana::Zamieniony},
      {U'ř', "r", TZmiana::Zamieniony},
      {U'ö', "o", TZmiana::Zamieniony},
      {U'Å', "A", TZmiana::Zamieniony},
      {U'ß', "ss", TZmiana::Zamieniony},
      {U'€', "\x80", TZmiana::Zostawiony},
      {U'§', "\xA7", TZmiana::Zostawiony},
      {U'\t', "\t", TZmiana::Zostawiony},
      {0, std::string_view("\0", 1).data(), TZmiana::Zostawiony},
      {0x01, "\x01", TZmiana::Zostawiony},
      {U'đ', "\xF0", TZmiana::Zostawiony},
      {U'ø', "?", TZmiana::Brak},
      {U'α', "?", TZmiana::Brak},
      {0xFFFD, "?", TZmiana::Brak},
      {U'中', "?", TZmiana::Brak},
      {0x1F600, "?", TZmiana::Brak},
  };
  diagnoza::TZnakiDlaBanku znaki;
  for (const TWiersz& w : tabela) {
    std::string out;
    const TZmiana z = znaki.Dopisz(w.znak, out);
    const std::string oczekiwany = w.znak == 0 ? std::string(1, '\0') : std::string(w.wynik);
    EXPECT_EQ(out, oczekiwany) << "U+" << std::hex << static_cast<unsigned>(w.znak);
    EXPECT_EQ(static_cast<int>(z), static_cast<int>(w.zmiana))
        << "U+" << std::hex << static_cast<unsigned>(w.znak);
  }
}

TEST(Kodowanie, NamesReadBackAsTheirEncoding) {
  for (TKodowanie k :
       {TKodowanie::Windows1250, TKodowanie::Utf8, TKodowanie::Utf16LE, TKodowanie::Utf16BE,
        TKodowanie::Iso8859_2, TKodowanie::Cp852, TKodowanie::Windows1250Utf8})
    EXPECT_EQ(kodowanie::ZNazwy(kodowanie::Nazwa(k)), k);
  EXPECT_EQ(kodowanie::ZNazwy("utf-8"), TKodowanie::Utf8);
  EXPECT_EQ(kodowanie::ZNazwy("cp1250"), TKodowanie::Windows1250);
  EXPECT_EQ(kodowanie::ZNazwy("EBCDIC"), std::nullopt);
}

// ---- Diagnosis and correction of the same Polish text in every encoding

struct TRozmiar {
  const char* nazwa;
  std::string utf8;
};

std::vector<TRozmiar> Rozmiary() {
  std::vector<TRozmiar> r;
  for (const std::string& imie : kJednaLitera)
    r.push_back({"one letter", "Przelew dla " + imie + "\r\n"});
  r.push_back({"one line", LiniaPrzelewu(8) + "\r\n"});
  r.push_back({"10 lines", ListaPrzelewow(10)});
  r.push_back({"2000 lines", ListaPrzelewow(2000)});
  return r;
}

TEST(Rozpoznawanie, NamesTheEncodingOfEveryFaultyFileAndTheCorrectionIsClean) {
  for (TKodowanie k : {TKodowanie::Utf8, TKodowanie::Utf16LE, TKodowanie::Utf16BE,
                       TKodowanie::Iso8859_2, TKodowanie::Cp852, TKodowanie::Windows1250}) {
    for (const TRozmiar& rozmiar : Rozmiary()) {
      for (bool bom : {false, true}) {
        if (bom && k != TKodowanie::Utf8 && k != TKodowanie::Utf16LE && k != TKodowanie::Utf16BE)
          continue;
        std::string bytes = Zakoduj(rozmiar.utf8, k);
        if (bom)
          bytes.insert(0, Zakoduj("\xEF\xBB\xBF", k) == "\xEF\xBB\xBF" ? "\xEF\xBB\xBF"
                          : k == TKodowanie::Utf16LE                   ? "\xFF\xFE"
                                                                       : "\xFE\xFF");
        SCOPED_TRACE(std::string(kodowanie::Nazwa(k)) + (bom ? " with BOM, " : ", ") +
                     rozmiar.nazwa + ": " + rozmiar.utf8.substr(0, 60));
        Typy::TStan s;
        TempDir dir;
        Sprawdz(s, dir.Write("lista.txt", bytes));
        const std::string oczekiwane =
            PolskieLitery(Zakoduj(rozmiar.utf8, TKodowanie::Windows1250));
        if (s.Bledy.empty()) {
          // Clean under the check (a CP852 "ą" is the Windows-1250 "Ą"): the
          // diagnosis is never asked.
          EXPECT_TRUE(k == TKodowanie::Cp852 || k == TKodowanie::Iso8859_2 ||
                      k == TKodowanie::Windows1250);
          continue;
        }
        const auto d = diagnoza::RozpoznajKodowanie(s);
        const bool nicDoZmiany =
            k == TKodowanie::Iso8859_2 &&
            Zakoduj(rozmiar.utf8, k) == Zakoduj(rozmiar.utf8, TKodowanie::Windows1250);
        if (nicDoZmiany) continue;
        ASSERT_TRUE(d) << "no diagnosis";
        EXPECT_EQ(Nazwa(d), std::string(kodowanie::Nazwa(k)) + (bom ? " BOM" : ""));

        const std::string poprawiony = Przekoduj(bytes, k, bytes.size());
        EXPECT_EQ(PolskieLitery(poprawiony), oczekiwane);
        Typy::TStan po;
        Sprawdz(po, dir.Write("po.txt", poprawiony));
        EXPECT_TRUE(po.Bledy.empty()) << "faulty lines after the correction: " << po.Bledy.size();
        EXPECT_EQ(po.LinieOrg.size(), static_cast<std::size_t>(std::count(
                                          rozmiar.utf8.begin(), rozmiar.utf8.end(), '\n')));
      }
    }
  }
}

TEST(Rozpoznawanie, WindowsFileWithRefusedBytesStaysWindows) {
  const std::string w = Zakoduj(ListaPrzelewow(30), TKodowanie::Windows1250);
  EXPECT_EQ(Nazwa(Diagnoza(w + "Kwota\t12 \x96 zaliczka\r\n")), "Windows-1250");
  // "MĘŻ" is 4D CA AF, and CA AF is a well-formed UTF-8 sequence.
  EXPECT_EQ(Nazwa(Diagnoza("M\xCA\xAF\tKOWALSKI\r\n")), "Windows-1250");
  EXPECT_EQ(Nazwa(Diagnoza("Zap\xB3"
                           "acono \x84nale\xBFno\x9C\x9D\x94\r\n")),
            "Windows-1250");
  // Only control bytes: nothing to read against the expected encoding.
  EXPECT_EQ(Nazwa(Diagnoza("\x01"
                           "ABC\r\nDEF\x03\r\n")),
            "Windows-1250");
}

TEST(Rozpoznawanie, JoinedWindowsAndUtf8FilesAreMixedAndCorrectedLineByLine) {
  const std::string lista = ListaPrzelewow(40);
  const std::string bytes = Zakoduj(lista, TKodowanie::Windows1250) + lista;
  EXPECT_EQ(Nazwa(Diagnoza(bytes)), "Windows-1250/UTF-8");
  const TPoprawiony p = Popraw(bytes, TKodowanie::Windows1250Utf8);
  const std::string w = Zakoduj(lista, TKodowanie::Windows1250);
  EXPECT_EQ(PolskieLitery(p.bajty), PolskieLitery(w) + PolskieLitery(w));
  EXPECT_EQ(p.wynik.nieodkodowane, 0u);
}

// Files whose letters were wrong without a word: UTF-16 with CR LF and no
// mark, clean files whose letters read as Polish only in another encoding,
// single-byte encodings joined with UTF-8, and readings too close to call.
TEST(Rozpoznawanie, WrongLettersAreNeverSilent) {
  const std::string lista = ListaPrzelewow(12);
  const TRozpoznanie przypadki[] = {
      {"UTF-16LE, CR LF", Zakoduj(lista, TKodowanie::Utf16LE), "UTF-16LE"},
      {"UTF-16BE, CR LF", Zakoduj(lista, TKodowanie::Utf16BE), "UTF-16BE"},
      {"UTF-16LE, one word, CR LF", Zakoduj("Dąbrowski\r\n", TKodowanie::Utf16LE), "UTF-16LE"},
      {"UTF-16BE, one word, CR LF", Zakoduj("Michał\r\n", TKodowanie::Utf16BE), "UTF-16BE"},
      {"CP852, only ą: clean", Zakoduj("Przelewy wymagają podpisu\r\n", TKodowanie::Cp852),
       "CP852"},
      {"CP852, only Ć: clean", Zakoduj("Ćwik Jan;100,00\r\n", TKodowanie::Cp852), "CP852"},
      {"ISO-8859-2, foreign š: clean",
       "Du\xB9"
       "an Novak;100,00\r\nKo\xB9ice\r\n",
       "ISO-8859-2"},
      {"Windows-1250 with ą: clean",
       Zakoduj("Dąbrowski Jan\r\nwymagają\r\n", TKodowanie::Windows1250), "Windows-1250"},
      {"Windows-1250 list: clean", Zakoduj(lista, TKodowanie::Windows1250), "Windows-1250"},
      {"ISO-8859-2 + UTF-8", Zakoduj(lista, TKodowanie::Iso8859_2) + lista, "ISO-8859-2/UTF-8"},
      {"CP852 + UTF-8", Zakoduj(lista, TKodowanie::Cp852) + lista, "CP852/UTF-8"},
      {"UTF-8 + CP852", lista + Zakoduj(lista, TKodowanie::Cp852), "CP852/UTF-8"},
      {"UTF-8 + Windows-1250, clean lines only",
       lista + Zakoduj("Łukasz Żak\r\n", TKodowanie::Windows1250), "Windows-1250/UTF-8"},
      {"UTF-16BE, a foreign name", std::string("\0J\0i\x01Y\0\xED", 8), "UTF-16BE"},
      {"CP852 Ć that reads as Ź too, a tab", "MA\x8FKOWIAK\t100,00\r\n", "Windows-1250 albo CP852"},
      {"Windows-1250 with quotes and a dash",
       "Premia \x84\x9Cwi\xB9teczna\x94 \x96 grudzie\xF1\r\n", "Windows-1250"},
      {"ISO-8859-2 + UTF-8, one line each",
       Zakoduj("Łukasz Śliwa\r\n", TKodowanie::Iso8859_2) + "Łukasz Śliwa\r\n", "ISO-8859-2/UTF-8"},
  };
  ExpectRozpoznane(przypadki);
}

// ---- What one line, or one letter, cannot decide

// The eighteen Polish letters, small then capital, in UTF-8.
const char* const kLitery[] = {"ą", "ć", "ę", "ł", "ń", "ó", "ś", "ź", "ż",
                               "Ą", "Ć", "Ę", "Ł", "Ń", "Ó", "Ś", "Ź", "Ż"};

// Polish letters in orders no word has, as people type them to see whether
// the bank keeps the letters: runs of 4 to 12 drawn by a fixed sequence,
// small, capital or mixed, some after a word.
std::vector<std::string> Zupy() {
  std::vector<std::string> r;
  std::uint32_t x = 28;
  const auto los = [&x](std::uint32_t n) {
    x = x * 1103515245u + 12345u;
    return (x >> 16) % n;
  };
  for (int z = 0; z < 8; ++z) {
    std::string s = z % 2 ? "Test " : "";
    for (int grupa = 0, grup = 1 + static_cast<int>(los(3)); grupa < grup; ++grupa) {
      if (grupa) s += ' ';
      const std::uint32_t przesuniecie = z % 3 == 0 ? 0 : z % 3 == 1 ? 9 : los(2) * 9;
      for (std::uint32_t i = 0, n = 4 + los(9); i < n; ++i) s += kLitery[los(9) + przesuniecie];
    }
    r.push_back(s);
  }
  return r;
}

// Ten lines of a list and one such line anywhere among them: the verdict is
// the one the list has without it, in every encoding, by both readers.
TEST(Rozpoznawanie, OneLineOfLetterSoupLeavesTheVerdict) {
  const std::string lista = ListaPrzelewow(10);
  for (TKodowanie k : {TKodowanie::Utf8, TKodowanie::Utf16LE, TKodowanie::Utf16BE,
                       TKodowanie::Iso8859_2, TKodowanie::Cp852, TKodowanie::Windows1250}) {
    const std::string bez = Rozpoznaj(Zakoduj(lista, k));
    for (const std::string& zupa : Zupy()) {
      for (std::size_t gdzie : {std::size_t{0}, lista.size() / 2, lista.size()}) {
        std::string z = lista;
        gdzie = gdzie == 0 || gdzie == z.size() ? gdzie : z.find('\n', gdzie) + 1;
        z.insert(gdzie, zupa + "\r\n");
        EXPECT_EQ(Rozpoznaj(Zakoduj(z, k)), bez)
            << kodowanie::Nazwa(k) << ", at byte " << gdzie << ": " << zupa;
      }
    }
  }
  // UTF-8 without a list: its structure says it, whatever its letters.
  for (const std::string& zupa : Zupy()) EXPECT_EQ(Rozpoznaj(zupa + "\r\n"), "UTF-8") << zupa;
}

// Small Polish letters of a UTF-8 text in capitals, ASCII too.
std::string Wielkimi(std::string s) {
  for (int l = 0; l < 9; ++l)
    for (std::size_t i; (i = s.find(kLitery[l])) != std::string::npos;)
      s.replace(i, std::string_view(kLitery[l]).size(), kLitery[l + 9]);
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

// A clean Windows-1250 file is right as it is: names, titles and words in
// capitals, whose "Ą" CP852 reads "ą" and "Ź" reads "Ć", and a few random
// characters around one Polish letter, are no evidence of another encoding.
// One letter among Polish words, or two, still are.
TEST(Rozpoznawanie, CleanFilesGetAHintOnlyOnEvidence) {
  std::vector<std::string> teksty = kJednaLitera;
  for (const std::string& opis : kOpisy) {
    teksty.push_back(opis);
    for (std::size_t od = 0, do_; od < opis.size(); od = do_ + 1) {
      do_ = std::min(opis.find(' ', od), opis.size());
      teksty.push_back(opis.substr(od, do_ - od));
    }
  }
  // Verb and noun forms that end in "ą" or hold "ź" among capitals.
  for (const char* rdzen : {"NAKAZUJ", "WYMAGAJ", "MODULACJ", "WYNAGRODZENI", "PRAC"})
    teksty.push_back(std::string(rdzen) + "Ą");
  for (const char* s : {"ORZEŹWIONEJ", "KAŹMIERCZAK", "GWOŹDZIK", "PAŹDZIERNIK"})
    teksty.push_back(s);
  for (const std::string& t : std::vector<std::string>(teksty)) teksty.push_back(Wielkimi(t));
  for (const std::string& t : teksty)
    EXPECT_EQ(Rozpoznaj(Zakoduj(t + "\r\n", TKodowanie::Windows1250)), "Windows-1250") << t;

  // A few printable characters on either side of each Polish letter's byte.
  std::uint32_t x = 3;
  const auto los = [&x](std::uint32_t n) {
    x = x * 1103515245u + 12345u;
    return (x >> 16) % n;
  };
  for (int proba = 0; proba < 40; ++proba) {
    for (const char* litera : kLitery) {
      std::string t;
      for (std::uint32_t i = 0, n = los(6); i < n; ++i) t += static_cast<char>(0x21 + los(94));
      t += Zakoduj(litera, TKodowanie::Windows1250);
      for (std::uint32_t i = 0, n = los(6); i < n; ++i) t += static_cast<char>(0x21 + los(94));
      const std::string r = Rozpoznaj(t);
      EXPECT_TRUE(r == "Windows-1250" || r == "(nic)") << t << ": " << r;
    }
  }

  const TRozpoznanie przypadki[] = {
      {"CP852, one ą among words", Zakoduj("Przelew dla Dąbrowski\r\n", TKodowanie::Cp852),
       "CP852"},
      {"CP852, two ą in names", Zakoduj("Dąbrowski\r\nDąb\r\n", TKodowanie::Cp852), "CP852"},
      {"CP852 Ć that reads as Ź too: a Polish name either way", "MA\x8FKOWIAK;100,00\r\n",
       "Windows-1250"},
  };
  ExpectRozpoznane(przypadki);
}

// Past the first part of a large file the faulty lines that cannot be UTF-8
// are no longer scored once the verdict is sure: what only a late line
// shows must still be found, by the window and the checker alike.
TEST(Rozpoznawanie, LateLinesOfALargeFileStillCount) {
  const std::string duza = ListaPrzelewow(4000);  // about 300 KB
  std::string zBledami;  // Windows-1250 lines, each made faulty by a control byte
  for (std::size_t i = 0; i < 4000; ++i)
    zBledami += Zakoduj(LiniaPrzelewu(i), TKodowanie::Windows1250) + "\x01\r\n";
  const std::string koncowka = ListaPrzelewow(60);
  std::string zera;  // what is not text at all
  for (int i = 0; i < 1000; ++i) zera += std::string(100, '\0') + "\r\n";
  const TRozpoznanie przypadki[] = {
      {"ISO-8859-2", Zakoduj(duza, TKodowanie::Iso8859_2), "ISO-8859-2"},
      {"ISO-8859-2, UTF-8 lines at the end", Zakoduj(duza, TKodowanie::Iso8859_2) + koncowka,
       "ISO-8859-2/UTF-8"},
      {"Windows-1250 with control bytes", zBledami, "Windows-1250"},
      {"Windows-1250 with control bytes, UTF-8 lines at the end", zBledami + koncowka,
       "Windows-1250/UTF-8"},
      {"CP852, then lines of zero bytes", Zakoduj(duza, TKodowanie::Cp852) + zera, "(nic)"},
  };
  ExpectRozpoznane(przypadki);
}

TEST(Rozpoznawanie, BinaryAndUnreadableFilesGetNoDiagnosis) {
  std::string binary;
  for (int i = 0; i < 4000; ++i) binary += static_cast<char>((i * 7919 + i / 3) % 256);
  EXPECT_EQ(Diagnoza(binary), std::nullopt);
  std::string zera = "PK\x03\x04";
  zera += std::string(200, '\0') + "\x8F\x12\xC3\xFF\xFE\x01";
  EXPECT_EQ(Diagnoza(zera), std::nullopt);
}

TEST(Rozpoznawanie, CorpusFiles) {
  EXPECT_EQ(Nazwa(Diagnoza(Odczytaj(CORPUS_DIR "/mbank_mt940_iph_iso8859-2.txt"))), "ISO-8859-2");
  EXPECT_EQ(Nazwa(Diagnoza(Odczytaj(CORPUS_DIR "/mbank_mt940_multi_iso8859-2.txt"))), "ISO-8859-2");
  EXPECT_EQ(Nazwa(Diagnoza(Odczytaj(CORPUS_DIR "/sberbank_hu_mt940_ufffd_crlf.sta"))), "UTF-8");
  EXPECT_EQ(Nazwa(Diagnoza(Odczytaj(CORPUS_DIR "/wolph_mbank_mt940_soh_etx.sta"))), "Windows-1250");
}

// ---- Correction: what is never lost

TEST(PoprawKodowanie, InvalidUtf8BytesAreKeptAndCounted) {
  const TPoprawiony p = Popraw(
      "Zap\xC5\x82"
      "ata \xC5 za\xFF\n\xE2\x80\x94 ok\xE2\x82\xAC\xEF\xBF\xBD",
      TKodowanie::Utf8);
  EXPECT_EQ(p.bajty,
            "Zap\xB3"
            "ata \xC5 za\xFF\r\n- ok\x80?\r\n");
  EXPECT_EQ(p.wynik.nieodkodowane, 2u);
  EXPECT_EQ(p.wynik.polskie, 1u);
  EXPECT_EQ(p.wynik.zamienione, 1u);
  EXPECT_EQ(p.wynik.zostawione, 1u);
  EXPECT_EQ(p.wynik.brakujace, 1u);
  EXPECT_EQ(p.wynik.linie, 2u);
}

TEST(PoprawKodowanie, LineFormatAppliesToTheDecodedText) {
  // UTF-16LE: "a" CR LF "b" CR "c" LF SUB "d"; an unpaired surrogate kept as its bytes.
  const std::string le("a\0\r\0\n\0b\0\r\0c\0\n\0\x1A\0d\0", 18);
  EXPECT_EQ(Popraw(le, TKodowanie::Utf16LE).bajty, "a\r\nbc\r\n");
  const std::string surogat("x\0\x3D\xD8y\0", 6);
  const TPoprawiony p = Popraw(surogat, TKodowanie::Utf16LE);
  EXPECT_EQ(p.bajty, "x\x3D\xD8y\r\n");
  EXPECT_EQ(p.wynik.nieodkodowane, 2u);
  // A byte-order mark is dropped; a line end at the very end opens no line.
  EXPECT_EQ(Popraw("\xEF\xBB\xBFz\xC3\xB3\xC5\x82w\r\n", TKodowanie::Utf8).bajty, "z\xF3\xB3w\r\n");
  EXPECT_EQ(Popraw("\xEF\xBB\xBFz\xC3\xB3\xC5\x82w\r\n", TKodowanie::Utf8).wynik.bom, true);
  EXPECT_EQ(Popraw("a\r\n\r\nb", TKodowanie::Cp852).bajty, "a\r\n\r\nb\r\n");
}

}  // namespace

namespace {

TEST(PoprawKodowanie, PiecesOfAnySizeGiveTheSameFile) {
  // A line longer than the output buffer, sequences and units cut between
  // pieces, a mark, invalid bytes and a stray CR.
  const std::string dluga = std::string((1u << 20) + 7, 'x') + "\xC5\x82" + "\r\n";
  const std::string lista = "\xEF\xBB\xBF" + ListaPrzelewow(30) + "z\xC5\x82y \xFF\r" + dluga;
  for (TKodowanie z : {TKodowanie::Utf8, TKodowanie::Utf16LE, TKodowanie::Utf16BE,
                       TKodowanie::Cp852, TKodowanie::Windows1250Utf8}) {
    const std::string wejscie =
        z == TKodowanie::Utf16LE || z == TKodowanie::Utf16BE ? Zakoduj(lista, z) + "\x01" : lista;
    const std::string calosc = Przekoduj(wejscie, z, wejscie.size());
    SCOPED_TRACE(std::string(kodowanie::Nazwa(z)));
    EXPECT_TRUE(Przekoduj(wejscie, z, 4093) == calosc);
    // Byte by byte and three at a time over the start only: the long line
    // goes through the same loop.
    const std::string start = wejscie.substr(0, 20000);
    for (std::size_t kawalek : {1u, 3u})
      EXPECT_EQ(Przekoduj(start, z, kawalek), Przekoduj(start, z, start.size())) << kawalek;
  }
}

}  // namespace

namespace {

// ---- What the programs offer after a check

TEST(PropozycjaPoprawki, OfferedOnlyWhereTheCorrectionChangesSomething) {
  const std::string lista = ListaPrzelewow(12);
  const std::string w = Zakoduj(lista, TKodowanie::Windows1250);
  struct TPrzypadek {
    const char* opis;
    std::string bajty;
    const char* zdanie;  // UTF-8; nullptr: nothing offered
  };
  const TPrzypadek przypadki[] = {
      {"clean",
       "Zap\xB3"
       "ata\r\n",
       nullptr},
      {"tab and SOH only",
       "Zap\xB3"
       "ata\t1\r\n\x01\r\n",
       nullptr},
      {"typographic", w, "Część błędnych znaków można zamienić automatycznie."},
      {"UTF-8", lista, "Plik wygląda na zapisany w kodowaniu UTF-8."},
      {"UTF-16LE", Zakoduj(lista, TKodowanie::Utf16LE),
       "Plik wygląda na zapisany w kodowaniu UTF-16LE."},
      {"joined", w + lista, "Plik łączy kodowania Windows-1250 i UTF-8."},
      {"binary",
       std::string("\x7F"
                   "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0\x01\0\0\0",
                   24),
       nullptr},
  };
  for (const TPrzypadek& p : przypadki) {
    TempDir dir;
    Typy::TStan s;
    Sprawdz(s, dir.Write("lista.txt", p.bajty));
    const auto propozycja = diagnoza::ZaproponujPoprawke(s);
    if (!p.zdanie) {
      EXPECT_EQ(propozycja.has_value(), false) << p.opis;
    } else {
      ASSERT_TRUE(propozycja) << p.opis;
      EXPECT_EQ(kodowanie::cp1250::ToUtf8(propozycja->zdanie), p.zdanie) << p.opis;
    }
  }
}

TEST(PropozycjaPoprawki, ConfirmationSaysWhatChangesAndWhatIsLost) {
  diagnoza::TWynikPoprawy w;
  w.polskie = 40;
  w.zamienione = 3;
  w.brakujace = 2;
  w.nieodkodowane = 1;
  EXPECT_EQ(kodowanie::cp1250::ToUtf8(diagnoza::TekstPotwierdzenia(TKodowanie::Utf8, w)),
            "Plik zostanie odczytany jako UTF-8 i zapisany w kodowaniu Windows-1250, jako plik "
            "poprawiony.\r\n\r\nPolskie litery: 40\r\nZmienionych znaków: 5\r\n"
            "Znaków, których Windows-1250 nie ma, zapisanych jako \"?\": 2\r\n"
            "Bajtów, których nie da się odczytać w tym kodowaniu, pozostawionych bez zmian: 1\r\n"
            "\r\nCzy zapisać poprawiony plik?");
}

}  // namespace
