#include "Wydruk.h"

#include <charconv>
#include <cstring>

#include "kodowanie/Cp1250.h"
#include "profile/RegulaZnakow.h"
#include "typy/Teksty.h"

namespace cli {

namespace {

// Every byte as it is shown after "Błędny znak": decoded from Windows-1250,
// control bytes as their pictures, a byte the code page leaves undefined as
// U+FFFD, then its value in hexadecimal, which says what it was.
struct TZnaki {
  std::string opis[256];
  TZnaki() {
    constexpr char hex[] = "0123456789ABCDEF";
    for (int b = 0; b < 256; ++b) {
      const char c = static_cast<char>(b);
      const char16_t u = kodowanie::cp1250::kToUnicode[static_cast<unsigned char>(b)];
      opis[b] = ": Błędny znak: \"";
      if (u >= 0x80 && u < 0xA0)
        opis[b] += "\xEF\xBF\xBD";
      else
        opis[b] += kodowanie::cp1250::ToUtf8(std::string_view(&c, 1), true);
      opis[b] += "\" (0x";
      opis[b] += hex[b >> 4];
      opis[b] += hex[b & 15];
      opis[b] += ")\n";
    }
  }
};

const TZnaki& Znaki() {
  static const TZnaki znaki;
  return znaki;
}

const std::string& TekstPustej() {
  static const std::string pusty = ": " + Utf8(Typy::teksty::CiagPusty) + "\n";
  return pusty;
}

}  // namespace

std::string Utf8(std::string_view cp1250) {
  return kodowanie::cp1250::ToUtf8(cp1250);
}

bool InneKodowanie(const std::optional<diagnoza::TDiagnoza>& diagnoza) {
  // Other than the encoding the bank reads: Windows-1250 unless the bank
  // profile in use says otherwise.
  return diagnoza && (diagnoza->albo || diagnoza->kodowanie != profile::AktywnyProfil().kodowanie);
}

std::string_view TNumer::Dla(std::uint64_t n) {
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

void TLiniaPusta::Wypisz(TWyjscie& out, const std::string& plik, const std::string& tekst,
                         std::uint64_t n) {
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

bool TLiniaPusta::Zwieksz() {
  for (std::size_t i = koniec_; i-- > poczatek_;) {
    if (linia_[i] != '9') {
      ++linia_[i];
      return true;
    }
    linia_[i] = '0';
  }
  return false;
}

void TWydruk::BlednyZnak(std::uint64_t linia, std::uint64_t kolumna, unsigned char b) {
  if (linia != liniaPrefiksu_) {
    prefiks_ = plik_ + ':';
    prefiks_ += numer_.Dla(linia);
    prefiks_ += ':';
    liniaPrefiksu_ = linia;
  }
  out_ << prefiks_ << static_cast<unsigned long long>(kolumna) << Znaki().opis[b];
}

void TWydruk::PustaLinia(std::uint64_t linia) {
  pusta_.Wypisz(out_, plik_, TekstPustej(), linia);
}

void TWydruk::PusteLinie(std::uint64_t pierwsza, std::uint64_t ile) {
  const std::string& tekst = TekstPustej();
  for (std::uint64_t k = 0; k < ile; ++k) pusta_.Wypisz(out_, plik_, tekst, pierwsza + k);
}

const std::string& TWydruk::TekstUwagi(const rachunki::TUwaga& u, std::string_view bajty) {
  auto tekst = [&] {
    return ": " + Utf8(rachunki::NazwaPola(u.pole)) + ": " + Utf8(rachunki::OpisUwagi(u, bajty)) +
           ": \"";
  };
  // A sort code not on the list is told with the code itself.
  if (u.blad == rachunki::Blad::SpozaWykazu) return tekst_ = tekst();
  const unsigned klucz = static_cast<unsigned>(u.pole) << 8 | static_cast<unsigned>(u.blad);
  auto it = teksty_.find(klucz);
  if (it == teksty_.end()) it = teksty_.emplace(klucz, tekst()).first;
  return it->second;
}

const std::string& TWydruk::NazwaBanku(std::string_view cp1250) {
  // The names lie in the list of banks in use for the whole run.
  auto it = banki_.find(cp1250.data());
  if (it == banki_.end()) it = banki_.emplace(cp1250.data(), Utf8(cp1250)).first;
  return it->second;
}

void TWydruk::UwagaRachunku(std::uint64_t linia, const rachunki::TUwaga& u,
                            std::string_view bajty) {
  out_ << plik_ << ':' << numer_.Dla(linia) << ':' << static_cast<unsigned long long>(u.kolumna)
       << TekstUwagi(u, bajty) << kodowanie::cp1250::ToUtf8(u.Wartosc(bajty), true) << '"';
  if (const std::string_view bank = rachunki::BankUwagi(u, bajty); !bank.empty())
    out_ << " (bank: " << NazwaBanku(bank) << ')';
  out_ << '\n';
}

void TWydruk::Ostrzezenie(std::uint64_t linia, const rachunki::TOstrzezenie& o,
                          std::string_view bajty) {
  out_ << plik_ << ':' << numer_.Dla(linia) << ':' << static_cast<unsigned long long>(o.kolumna)
       << ": " << Utf8(rachunki::NazwaPola(o.pole)) << ": " << Utf8(o.Opis()) << ": \""
       << kodowanie::cp1250::ToUtf8(o.Wartosc(bajty), true) << "\"\n";
}

void TWydruk::PodsumowanieOstrzezen(std::uint64_t ostrzezenia) {
  if (ostrzezenia > 0)
    out_ << plik_ << ": " << Utf8(rachunki::kOstrzezenia) << ' '
         << static_cast<unsigned long long>(ostrzezenia) << '\n';
}

void TWydruk::Sumy(const rachunki::TSumy& sumy) {
  for (const std::string& l : rachunki::LiniePodsumowania(sumy, rachunki::NazwaBankuZWykazu))
    out_ << plik_ << ": " << Utf8(l) << '\n';
}

void TWydruk::PodsumowanieRachunkow(std::uint64_t uwagi) {
  if (uwagi > 0)
    out_ << plik_ << ": " << Utf8(Typy::teksty::BledneRachunki) << ' '
         << static_cast<unsigned long long>(uwagi) << '\n';
}

void TWydruk::Podsumowanie(std::uint64_t bledne,
                           const std::optional<diagnoza::TDiagnoza>& diagnoza) {
  if (InneKodowanie(diagnoza)) {
    if (diagnoza->albo)
      out_ << plik_ << ": plik może być zapisany w kodowaniu "
           << kodowanie::Nazwa(diagnoza->kodowanie) << " albo " << kodowanie::Nazwa(*diagnoza->albo)
           << '\n';
    else
      out_ << plik_ << ": plik wygląda na zapisany w kodowaniu "
           << kodowanie::Nazwa(diagnoza->kodowanie) << '\n';
  }
  out_ << plik_ << ": ";
  if (bledne == 0)
    out_ << Utf8(Typy::teksty::PlikPoprawny) << '\n';
  else
    out_ << Utf8(Typy::teksty::IloscBlednychLinii) << ' ' << static_cast<unsigned long long>(bledne)
         << '\n';
}

}  // namespace cli
