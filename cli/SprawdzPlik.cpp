#include "SprawdzPlik.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#include "kodowanie/Cp1250.h"
#include "kodowanie/PoprawKodowanie.h"
#include "kodowanie/RozpoznajKodowanie.h"
#include "linie/LineSplitter.h"
#include "linie/StreamCheck.h"
#include "linie/WczytajPlik.h"
#include "platform/PlatformFile.h"
#include "raport/UtworzLOG.h"
#include "raport/ZapiszPoprawiony.h"
#include "stan/TekstBledu.h"
#include "stan/Teksty.h"

namespace {

// Pieces this size stay in the processor's cache between the read that
// fills them and the scan that follows.
constexpr std::size_t kKawalek = std::size_t{64} << 10;

std::string Utf8(std::string_view cp1250) {
  return cp1250::ToUtf8(cp1250);
}

// Every byte as it is shown after "Błędny znak": decoded from Windows-1250,
// control bytes as their pictures, a byte the code page leaves undefined as
// U+FFFD, then its value in hexadecimal, which says what it was.
struct TZnaki {
  std::string opis[256];
  TZnaki() {
    constexpr char hex[] = "0123456789ABCDEF";
    for (int b = 0; b < 256; ++b) {
      const char c = static_cast<char>(b);
      const char16_t u = cp1250::kToUnicode[static_cast<unsigned char>(b)];
      opis[b] = ": Błędny znak: \"";
      if (u >= 0x80 && u < 0xA0)
        opis[b] += "\xEF\xBF\xBD";
      else
        opis[b] += cp1250::ToUtf8(std::string_view(&c, 1), true);
      opis[b] += "\" (0x";
      opis[b] += hex[b >> 4];
      opis[b] += hex[b & 15];
      opis[b] += ")\n";
    }
  }
};

// A line number in decimal, counted up in place when it is the next one:
// a file of empty lines prints millions of them.
class TNumer {
 public:
  std::string_view Dla(std::uint64_t n) {
    if (n == wartosc_ + 1 && wartosc_ != 0) {
      ++wartosc_;
      std::size_t i = dlugosc_;
      while (i > 0 && cyfry_[i - 1] == '9') cyfry_[--i] = '0';
      if (i > 0) {
        ++cyfry_[i - 1];
      } else {
        std::memmove(cyfry_ + 1, cyfry_, dlugosc_++);
        cyfry_[0] = '1';
      }
    } else {
      wartosc_ = n;
      dlugosc_ =
          static_cast<std::size_t>(std::to_chars(cyfry_, cyfry_ + sizeof cyfry_, n).ptr - cyfry_);
    }
    return {cyfry_, dlugosc_};
  }

 private:
  char cyfry_[24]{};
  std::size_t dlugosc_ = 0;
  std::uint64_t wartosc_ = 0;
};

// The output line of an empty line, "PLIK:N" and the text, kept whole with
// its number counted up in place: a file of empty lines prints millions.
// The number is counted up for the next line right after a line is written,
// not right before: bytes read just after they were changed one by one
// would make the copy wait for those writes.
class TLiniaPusta {
 public:
  void Wypisz(TWyjscie& out, const std::string& plik, const std::string& tekst, std::uint64_t n) {
    if (n != nastepny_) {
      linia_ = plik + ':';
      poczatek_ = linia_.size();
      linia_ += std::to_string(n);
      koniec_ = linia_.size();
      linia_ += tekst;
    }
    out << linia_;
    nastepny_ = Zwieksz() ? n + 1 : 0;
  }

 private:
  // False when the number needs one more digit: the line is made anew.
  bool Zwieksz() {
    for (std::size_t i = koniec_; i-- > poczatek_;) {
      if (linia_[i] != '9') {
        ++linia_[i];
        return true;
      }
      linia_[i] = '0';
    }
    return false;
  }

  std::string linia_;
  std::size_t poczatek_ = 0, koniec_ = 0;
  std::uint64_t nastepny_ = 0;  // the number the line holds, 0: none
};

}  // namespace

struct TSprawdzaniePlikow::TWspolne {
  TZnaki znaki;
  std::string pusty = ": " + Utf8(teksty::CiagPusty) + "\n";
  char separatorCzasu = raport::SeparatorCzasuSystemu();
  std::unique_ptr<char[]> kawalek = std::make_unique_for_overwrite<char[]>(kKawalek);
};

namespace {

// Where the findings of one file go: standard output, the report and the
// corrected copy, each written as the file is read. A failure of the report
// or of the copy ends only that output; it is told after the findings.
class TZnaleziska final : public StreamFindings {
 public:
  TZnaleziska(const std::string& plik, const std::string& sciezka, const TOpcje& o, TWyjscie& out,
              TSprawdzaniePlikow::TWspolne& w)
      : plik_(plik), sciezka_(sciezka), o_(o), out_(out), w_(w) {}

  void FaultyByte(std::uint64_t line, std::uint64_t column, unsigned char b) override {
    if (o_.cicho) return;
    // "PLIK:LINIA:" is made once per line: a file in another encoding has
    // a faulty byte in every word.
    if (line != liniaPrefiksu_) {
      prefiks_ = plik_ + ':';
      prefiks_ += numer_.Dla(line);
      prefiks_ += ':';
      liniaPrefiksu_ = line;
    }
    out_ << prefiks_ << static_cast<unsigned long long>(column) << w_.znaki.opis[b];
  }

  void FaultyText(std::uint64_t line, std::string_view part) override {
    rozpoznawanie_.CzescBlednej(line, part);
  }

  // The encoding the file looks to be in, faulty or clean: the clean lines
  // are read again from the start while they can change it. A failure of
  // that read leaves the diagnosis of the faulty lines.
  std::optional<kodowanie::TDiagnoza> Diagnoza() {
    rozpoznawanie_.KoniecBlednych();
    try {
      if (rozpoznawanie_.PotrzebneLiniePoprawne(0))
        kodowanie::DoczytajLiniePoprawne(rozpoznawanie_, sciezka_);
      kodowanie::DoczytajPoczatek(rozpoznawanie_, sciezka_);
    } catch (const std::exception&) {
    }
    return rozpoznawanie_.Wynik();
  }

  void EmptyLine(std::uint64_t line) override {
    if (!o_.cicho) pusta_.Wypisz(out_, plik_, w_.pusty, line);
  }

  void FaultyLine(std::uint64_t line, std::string_view bytes) override {
    if (!o_.raport || bladRaportu_) return;
    try {
      if (!raport_) {
        // Opened with the first faulty line: a clean file has no report.
        raport_.emplace(*o_.raport, sciezka_);
        raport::NaglowekRaportu(*raport_, sciezka_, raport::CzasLokalny(), w_.separatorCzasu);
      }
      raport::CzescLinii(*raport_, line, bytes);
    } catch (const std::exception& e) {
      bladRaportu_ = bledy::Opis(e);
      raport_.reset();
    }
  }

  void Corrected(const char* data, std::size_t n) override {
    if (!poprawiony_) return;
    try {
      poprawiony_->Write(data, n);
    } catch (const std::exception& e) {
      bladPoprawionego_ = bledy::Opis(e);
      poprawiony_.reset();
    }
  }

  // The corrected copy is begun before the first line, since every line
  // goes into it; a failure to begin it is told only if the file turns out
  // to need a copy.
  void ZacznijPoprawiony() {
    try {
      poprawiony_ =
          std::make_unique<platform::AtomicOutputFile>(NazwaPlikuPoprawionego(sciezka_), sciezka_);
    } catch (const std::exception& e) {
      bladPoprawionego_ = bledy::Opis(e);
    }
  }

  // After a clean read: the report and the copy are put in place, or what
  // kept them from it is told.
  Wynik Zakoncz(bool bledy) {
    Wynik wynik = kPoprawny;
    if (o_.raport) {
      if (!bledy) {
        if (!o_.cicho) out_ << plik_ << ": raportu nie zapisano, plik nie zawiera błędów\n";
      } else {
        try {
          if (raport_) {
            raport::KoniecRaportu(*raport_);
            raport_->Zatwierdz();
          }
        } catch (const std::exception& e) {
          bladRaportu_ = bledy::Opis(e);
        }
        if (bladRaportu_) {
          ZglosBlad(out_, *o_.raport, *bladRaportu_);
          wynik = kAwaria;
        }
      }
    }
    if (o_.popraw && bledy) {
      try {
        if (poprawiony_) {
          poprawiony_->Commit();
          if (!o_.cicho)
            out_ << plik_ << ": zapisano "
                 << platform::AbsolutePath(NazwaPlikuPoprawionego(sciezka_)) << '\n';
        }
      } catch (const std::exception& e) {
        bladPoprawionego_ = bledy::Opis(e);
      }
      if (bladPoprawionego_) {
        ZglosBlad(out_, NazwaPlikuPoprawionego(plik_), *bladPoprawionego_);
        wynik = kAwaria;
      }
    }
    return wynik;
  }

  bool RobiPoprawiony() const { return poprawiony_ != nullptr; }

 private:
  const std::string& plik_;
  const std::string& sciezka_;
  const TOpcje& o_;
  TWyjscie& out_;
  TSprawdzaniePlikow::TWspolne& w_;
  TNumer numer_;
  std::string prefiks_;
  std::uint64_t liniaPrefiksu_ = 0;
  TLiniaPusta pusta_;
  std::optional<raport::TPlikRaportu> raport_;
  std::optional<std::string> bladRaportu_;
  std::unique_ptr<platform::AtomicOutputFile> poprawiony_;
  std::optional<std::string> bladPoprawionego_;
  kodowanie::TRozpoznawanie rozpoznawanie_;
};

}  // namespace

TSprawdzaniePlikow::TSprawdzaniePlikow(const TOpcje& opcje, TWyjscie& out)
    : o_(opcje), out_(out), wspolne_(std::make_unique<TWspolne>()) {}

TSprawdzaniePlikow::~TSprawdzaniePlikow() = default;

Wynik TSprawdzaniePlikow::Sprawdz(const std::string& plik, bool przekoduj) {
  // The absolute path, as the window's file dialog gives it, names the file
  // in the report and places the corrected copy.
  const std::string sciezka = platform::AbsolutePath(plik);
  std::unique_ptr<platform::InputFile> wejscie;
  try {
    wejscie = Typy::OtworzPlikZrodlowy(sciezka);
  } catch (const std::exception& e) {
    ZglosBlad(out_, plik, bledy::Opis(e));
    return kAwaria;
  }

  TZnaleziska znaleziska(plik, sciezka, o_, out_, *wspolne_);
  if (o_.popraw) znaleziska.ZacznijPoprawiony();
  StreamCheck check(znaleziska, {.keepFaultyLines = o_.raport.has_value(),
                                 .corrected = znaleziska.RobiPoprawiony()});
  BasicLineSplitter<StreamCheck> splitter(check);
  // A file that changes while it is read is not checked: what was read may
  // mix two versions, so neither the verdict nor a copy made of it can be
  // trusted. A file growing past its size at the open is left at once.
  bool zmieniony = false;
  try {
    std::uint64_t przeczytane = 0;
    for (;;) {
      const std::size_t n = wejscie->Read(wspolne_->kawalek.get(), kKawalek);
      if (n == 0) {
        splitter.Finish();
        break;
      }
      przeczytane += n;
      if (przeczytane > wejscie->SizeHint() && wejscie->ChangedSinceOpen()) {
        zmieniony = true;
        break;
      }
      if (!splitter.Feed(wspolne_->kawalek.get(), n)) break;
    }
    zmieniony = zmieniony || wejscie->ChangedSinceOpen();
    wejscie->Close();
  } catch (const std::exception& e) {
    splitter.Abandon();
    ZglosBlad(out_, plik, bledy::Opis(e));
    return kAwaria;
  }
  if (zmieniony) {
    ZglosBlad(
        out_, plik,
        cp1250::FromUtf8Lossy(
            "plik zmienił się w trakcie sprawdzania; niczego nie zapisano, sprawdź go ponownie"));
    return kAwaria;
  }

  const std::uint64_t bledne = check.FaultyLines();
  // Clean files are diagnosed too: their letters may be another encoding's
  // (a CP852 "ą" is the Windows-1250 "Ą"). The check's verdict stays.
  const std::optional<kodowanie::TDiagnoza> diagnoza = znaleziska.Diagnoza();
  const bool inneKodowanie =
      diagnoza && (diagnoza->albo || diagnoza->kodowanie != kodowanie::TKodowanie::Windows1250);
  if (!o_.cicho && inneKodowanie) {
    if (diagnoza->albo)
      out_ << plik << ": plik może być zapisany w kodowaniu "
           << kodowanie::Nazwa(diagnoza->kodowanie) << " albo " << kodowanie::Nazwa(*diagnoza->albo)
           << '\n';
    else
      out_ << plik << ": plik wygląda na zapisany w kodowaniu "
           << kodowanie::Nazwa(diagnoza->kodowanie) << '\n';
  }
  if (!o_.cicho) {
    out_ << plik << ": ";
    if (bledne == 0)
      out_ << Utf8(teksty::PlikPoprawny) << '\n';
    else
      out_ << Utf8(teksty::IloscBlednychLinii) << ' ' << static_cast<unsigned long long>(bledne)
           << '\n';
  }
  const Wynik zapis = znaleziska.Zakoncz(bledne > 0);
  const Wynik sprawdzenie = zapis != kPoprawny ? zapis : (bledne > 0 ? kBledy : kPoprawny);
  if (!przekoduj) return sprawdzenie;
  // The encoding the user names is taken for any file; otherwise a faulty
  // file is converted from its diagnosis (Windows-1250 when there is none)
  // and a clean one only when its letters read better in another encoding.
  // Between two close readings nothing is guessed.
  if (o_.z) return Przekoduj(plik, sciezka, *o_.z);
  if (diagnoza && diagnoza->albo) {
    if (!o_.cicho)
      out_ << plik << ": poprawionej kopii nie zapisano; kodowanie pliku podaj w --from\n";
    return sprawdzenie;
  }
  if (inneKodowanie) return Przekoduj(plik, sciezka, diagnoza->kodowanie);
  if (bledne > 0) return Przekoduj(plik, sciezka, kodowanie::TKodowanie::Windows1250);
  return sprawdzenie;
}

Wynik TSprawdzaniePlikow::Przekoduj(const std::string& plik, const std::string& sciezka,
                                    kodowanie::TKodowanie z) {
  kodowanie::TWynikPoprawy w;
  std::string zapisany;
  try {
    zapisany = kodowanie::ZapiszPoprawke(sciezka, z, w);
  } catch (const std::exception& e) {
    ZglosBlad(out_, NazwaPlikuPoprawionego(plik), bledy::Opis(e));
    return kAwaria;
  }
  if (!o_.cicho) {
    out_ << plik << ": zapisano " << zapisany << '\n';
    // What the bank could not be given as it was: never lost without a word.
    if (w.brakujace)
      out_ << plik << ": znaków, których Windows-1250 nie ma, zapisanych jako \"?\": "
           << static_cast<unsigned long long>(w.brakujace) << '\n';
    if (w.nieodkodowane)
      out_ << plik << ": bajtów nieczytelnych w kodowaniu " << kodowanie::Nazwa(z)
           << ", pozostawionych bez zmian: " << static_cast<unsigned long long>(w.nieodkodowane)
           << '\n';
  }
  // The written copy is checked as any file, under the name the user would
  // give it; it is not corrected again.
  return Sprawdz(NazwaPlikuPoprawionego(plik), false);
}
