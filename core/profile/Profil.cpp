#include "profile/Profil.h"

#include <toml++/toml.h>
#include <algorithm>
#include <vector>

#include "kodowanie/Cp1250.h"
#include "platform/PlatformFile.h"

namespace profile {

namespace {

using kodowanie::TKodowanie;

constexpr std::size_t kNajwiekszyProfil = 1 << 16;

// The encodings a bank reads a list in; mixed and UTF-16 files are what
// other programs write, never what a bank asks for.
constexpr TKodowanie kKodowaniaBanku[] = {TKodowanie::Windows1250, TKodowanie::Iso8859_2,
                                          TKodowanie::Cp852, TKodowanie::Utf8};

// toml++ 3.3 (Debian 12's) sends every code point of U+00A1-U+0499 (Latin
// Extended, the Polish letters among them) and of three other ranges into
// an unreachable branch of its whitespace test: undefined behaviour
// wherever the parser asks whether a character is a space (a key, the
// start of a line), so "źródło = 1" could read as anything. The parser is
// given those characters as private-use ones, which it treats as it treats
// letters, and every text taken from it gets them back.
class TZastepstwa {
 public:
  TZastepstwa() {
    constexpr std::uint64_t kMaska = 0x7FFFFFFFFFFFF75Eull;
    for (char32_t c = 0xA1; c < 0xFEFF; ++c) {
      const std::uint64_t i = (static_cast<std::uint64_t>(c) - 0xA0) / 0x3FA;
      if (((std::uint64_t{1} << i) & kMaska) == 0 && i != 5 && i != 7 && c != 0x3000)
        zastepowane_.push_back(c);
    }
  }
  // The text for the parser; raises EProfil for a private-use character of
  // the range the replacements take, which could not be told from them.
  std::string Zastap(std::string_view tekst, const std::string& plik) const {
    std::string wynik;
    std::uint32_t linia = 1;
    Przejdz(tekst, [&](char32_t c, std::string_view bajty) {
      if (c == '\n') ++linia;
      if (c >= kPoczatek && c < kPoczatek + zastepowane_.size())
        throw EProfil(plik, linia, "", "znak z prywatnego obszaru Unicode");
      const auto it = std::lower_bound(zastepowane_.begin(), zastepowane_.end(), c);
      if (c != 0 && it != zastepowane_.end() && *it == c)
        kodowanie::cp1250::AppendUtf8(wynik,
                                      kPoczatek + static_cast<char32_t>(it - zastepowane_.begin()));
      else
        wynik += bajty;
    });
    return wynik;
  }
  std::string Przywroc(std::string_view tekst) const {
    std::string wynik;
    Przejdz(tekst, [&](char32_t c, std::string_view bajty) {
      if (c >= kPoczatek && c < kPoczatek + zastepowane_.size())
        kodowanie::cp1250::AppendUtf8(wynik, zastepowane_[c - kPoczatek]);
      else
        wynik += bajty;
    });
    return wynik;
  }

 private:
  static constexpr char32_t kPoczatek = 0xE000;

  // f(code point, its bytes) for each character; a byte that begins no
  // well-formed sequence is passed alone, as code point 0.
  template <class F>
  static void Przejdz(std::string_view tekst, F&& f) {
    const auto* p = reinterpret_cast<const unsigned char*>(tekst.data());
    const auto* const koniec = p + tekst.size();
    while (p < koniec) {
      const kodowanie::TSekwencja s = kodowanie::DekodujUtf8(p, koniec);
      const std::size_t n = s.dlugosc == 0 ? 1 : s.dlugosc;
      f(s.dlugosc == 0 ? char32_t{0} : s.znak,
        std::string_view(reinterpret_cast<const char*>(p), n));
      p += n;
    }
  }

  std::vector<char32_t> zastepowane_;
};

const TZastepstwa& Zastepstwa() {
  static const TZastepstwa z;
  return z;
}

std::uint32_t LiniaWezla(const toml::node& n) {
  return static_cast<std::uint32_t>(n.source().begin.line);
}

// A text of the file (UTF-8) as the program holds texts: Windows-1250. A
// character the code page lacks makes the value wrong rather than a "?".
std::string WCp1250(const std::string& plik, const toml::node& n, const std::string& klucz,
                    const std::string& utf8) {
  const std::string w = kodowanie::cp1250::FromUtf8Lossy(utf8);
  if (kodowanie::cp1250::ToUtf8(w) != utf8)
    throw EProfil(plik, LiniaWezla(n), klucz, std::string("znak, którego nie ma w Windows-1250"));
  return w;
}

const std::string& Tekst(const std::string& plik, const toml::node& n, const std::string& klucz) {
  if (!n.is_string())
    throw EProfil(plik, LiniaWezla(n), klucz,
                  std::string("wartość musi być tekstem w cudzysłowach"));
  return n.as_string()->get();
}

std::string TekstWartosci(const std::string& plik, const toml::node& n, const std::string& klucz) {
  return Zastepstwa().Przywroc(Tekst(plik, n, klucz));
}

std::uint32_t Liczba(const std::string& plik, const toml::node& n, const std::string& klucz,
                     std::int64_t najwiecej) {
  if (!n.is_integer())
    throw EProfil(plik, LiniaWezla(n), klucz, std::string("wartość musi być liczbą całkowitą"));
  const std::int64_t v = n.as_integer()->get();
  if (v < 1 || v > najwiecej)
    throw EProfil(plik, LiniaWezla(n), klucz,
                  std::string("liczba spoza zakresu 1–") + std::to_string(najwiecej));
  return static_cast<std::uint32_t>(v);
}

void CzytajElixir(const std::string& plik, const toml::table& t, TProfil& p) {
  for (const auto& [k, v] : t) {
    const std::string klucz = "elixir." + Zastepstwa().Przywroc(k.str());
    if (k == "czesci")
      p.czesci = Liczba(plik, v, klucz, 99);
    else if (k == "dlugosc_czesci")
      p.dlugoscCzesci = Liczba(plik, v, klucz, 999);
    else
      throw EProfil(plik, static_cast<std::uint32_t>(k.source().begin.line), klucz,
                    std::string("nieznany klucz"));
  }
}

void CzytajKlucz(const std::string& plik, const toml::key& k, const toml::node& v, TProfil& p) {
  const std::string klucz = Zastepstwa().Przywroc(k.str());
  if (klucz == "nazwa") {
    p.nazwa = WCp1250(plik, v, klucz, TekstWartosci(plik, v, klucz));
    if (p.nazwa.empty() || std::any_of(p.nazwa.begin(), p.nazwa.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
      throw EProfil(plik, LiniaWezla(v), klucz,
                    std::string("nazwa nie może być pusta ani mieć znaków sterujących"));
  } else if (klucz == "zrodlo") {
    p.zrodlo = WCp1250(plik, v, klucz, TekstWartosci(plik, v, klucz));
  } else if (klucz == "kodowanie") {
    const std::string nazwa = TekstWartosci(plik, v, klucz);
    const std::optional<TKodowanie> k2 = kodowanie::ZNazwy(nazwa);
    if (!k2 || std::find(std::begin(kKodowaniaBanku), std::end(kKodowaniaBanku), *k2) ==
                   std::end(kKodowaniaBanku))
      throw EProfil(plik, LiniaWezla(v), klucz,
                    std::string("nieznane kodowanie \"") + nazwa +
                        "\" (można: Windows-1250, ISO-8859-2, CP852, UTF-8)");
    p.kodowanie = *k2;
  } else if (klucz == "zabronione") {
    std::string z = TekstWartosci(plik, v, klucz);
    for (const char c : z)
      if (c < 0x20 || c > 0x7E)
        throw EProfil(plik, LiniaWezla(v), klucz,
                      std::string("tylko drukowalne znaki ASCII: pozostałe odrzuca już "
                                  "reguła podstawowa"));
    std::sort(z.begin(), z.end());
    z.erase(std::unique(z.begin(), z.end()), z.end());
    p.zabronione = z;
  } else if (klucz == "konce_linii") {
    const std::string w = TekstWartosci(plik, v, klucz);
    if (w == "CRLF")
      p.konceLinii = TKonceLinii::CRLF;
    else if (w == "dowolne")
      p.konceLinii = TKonceLinii::Dowolne;
    else
      throw EProfil(plik, LiniaWezla(v), klucz, std::string("można: \"CRLF\" albo \"dowolne\""));
  } else if (klucz == "elixir") {
    if (!v.is_table())
      throw EProfil(plik, LiniaWezla(v), klucz, std::string("musi być tabelą [elixir]"));
    CzytajElixir(plik, *v.as_table(), p);
  } else {
    throw EProfil(plik, static_cast<std::uint32_t>(k.source().begin.line), klucz,
                  std::string("nieznany klucz"));
  }
}

std::string Opis(const std::string& plik, std::uint32_t linia, const std::string& klucz,
                 const std::string& opis) {
  std::string s = plik;
  if (linia > 0) {
    s += ':';
    s += std::to_string(linia);
  }
  s += ": ";
  if (!klucz.empty()) s += klucz + ": ";
  return s + opis;
}

std::vector<TProfil> CzytajWbudowane() {
  std::vector<TProfil> v;
  for (const TPlikProfilu& p : PlikiWbudowane())
    v.push_back(CzytajProfil(p.tekst, std::string(p.nazwaPliku)));
  return v;
}

}  // namespace

EProfil::EProfil(std::string plik, std::uint32_t linia, std::string klucz, const std::string& opis)
    : std::runtime_error(Opis(plik, linia, klucz, opis)),
      plik_(std::move(plik)),
      linia_(linia),
      klucz_(std::move(klucz)) {}

const TProfil& Domyslny() {
  static const TProfil p = [] {
    TProfil d;
    d.nazwa = kodowanie::cp1250::Literal(u8"Zasady ogólne").str();
    return d;
  }();
  return p;
}

bool CzyDomyslny(const TProfil& p) {
  TProfil bezZrodla = p;
  bezZrodla.zrodlo.clear();
  return bezZrodla == Domyslny();
}

TProfil CzytajProfil(std::string_view tekst, const std::string& plik) {
  toml::table t;
  try {
    t = toml::parse(Zastepstwa().Zastap(tekst, plik), plik);
  } catch (const toml::parse_error& e) {
    throw EProfil(plik, static_cast<std::uint32_t>(e.source().begin.line), "",
                  std::string("błąd składni TOML: ") + Zastepstwa().Przywroc(e.description()));
  }
  TProfil p = Domyslny();
  p.nazwa.clear();
  p.zrodlo.clear();
  for (const auto& [k, v] : t) CzytajKlucz(plik, k, v, p);
  if (p.nazwa.empty()) throw EProfil(plik, 0, "nazwa", std::string("brak nazwy"));
  return p;
}

TProfil WczytajProfil(const std::string& sciezka) {
  std::string tekst;
  try {
    platform::InputFile f(sciezka);
    char bufor[4096];
    // A profile is a few lines: a file far larger is not one.
    while (const std::size_t n = f.Read(bufor, sizeof bufor)) {
      tekst.append(bufor, n);
      if (tekst.size() > kNajwiekszyProfil)
        throw EProfil(sciezka, 0, "", "plik jest za duży, by był profilem");
    }
  } catch (const platform::EInOutError& e) {
    throw EProfil(sciezka, 0, "",
                  "nie można odczytać pliku profilu: " + kodowanie::cp1250::ToUtf8(e.what()));
  }
  return CzytajProfil(tekst, sciezka);
}

const std::vector<TProfil>& Wbudowane() {
  static const std::vector<TProfil> v = CzytajWbudowane();
  return v;
}

TProfil ZnajdzProfil(const std::string& nazwaLubPlik) {
  for (const TProfil& p : Wbudowane())
    if (p.nazwa == nazwaLubPlik) return p;
  return WczytajProfil(nazwaLubPlik);
}

}  // namespace profile
