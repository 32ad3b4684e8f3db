#include "rachunki/WykazBankow.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <utility>

#include "kodowanie/Cp1250.h"
#include "platform/InOutError.h"
#include "platform/PlatformFile.h"
#include "rachunki/Nrb.h"
#include "rachunki/WykazBankowDane.h"

namespace rachunki {

namespace {

// "RRRR-MM-DD" as it is said in Polish: "DD.MM.RRRR".
std::string DataPolska(std::string_view iso) {
  if (iso.size() != 10 || iso[4] != '-' || iso[7] != '-') return std::string(iso);
  std::string d;
  d.append(iso.substr(8, 2)).append(".").append(iso.substr(5, 2)).append(".");
  d.append(iso.substr(0, 4));
  return d;
}

bool KodPoprawny(std::string_view k) {
  return k.size() == 8 && scan::SameCyfry(k) && NumerBankuPoprawny(k);
}

// The same for a code held as a number.
bool CyfraKontrolnaKodu(std::uint32_t kod) {
  char cyfry[8];
  for (int i = 7; i >= 0; --i, kod /= 10) cyfry[i] = static_cast<char>('0' + kod % 10);
  return kod == 0 && KodPoprawny(std::string_view(cyfry, 8));
}

// Just enough JSON for the list: values of any kind are read, the list's
// own keys are kept. Nesting is bounded, so no file can exhaust the stack.
struct TJson {
  enum Rodzaj { Inny, Tekst, Tablica, Obiekt } rodzaj = Inny;
  std::string tekst;
  std::vector<TJson> elementy;
  // An object's keys and their values, side by side: a pair holding the
  // type being defined is not a complete type yet.
  std::vector<std::string> klucze;
  std::vector<TJson> wartosci;
  const TJson* Pole(std::string_view klucz) const;
};

const TJson* TJson::Pole(std::string_view klucz) const {
  for (std::size_t i = 0; i < klucze.size(); ++i)
    if (klucze[i] == klucz) return &wartosci[i];
  return nullptr;
}

class TCzytnikJson {
 public:
  explicit TCzytnikJson(std::string_view t) : t_(t) {}
  bool Czytaj(TJson& wynik) {
    if (!Wartosc(wynik, 0)) return false;
    Odstepy();
    return p_ == t_.size();
  }

 private:
  void Odstepy() {
    while (p_ < t_.size() && (t_[p_] == ' ' || t_[p_] == '\t' || t_[p_] == '\n' || t_[p_] == '\r'))
      ++p_;
  }
  bool Znak(char c) {
    Odstepy();
    if (p_ < t_.size() && t_[p_] == c) {
      ++p_;
      return true;
    }
    return false;
  }
  static void DopiszUtf8(std::string& s, std::uint32_t u) {
    if (u < 0x80) {
      s += static_cast<char>(u);
    } else if (u < 0x800) {
      s += static_cast<char>(0xC0 | u >> 6);
      s += static_cast<char>(0x80 | (u & 0x3F));
    } else if (u < 0x10000) {
      s += static_cast<char>(0xE0 | u >> 12);
      s += static_cast<char>(0x80 | (u >> 6 & 0x3F));
      s += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      s += static_cast<char>(0xF0 | u >> 18);
      s += static_cast<char>(0x80 | (u >> 12 & 0x3F));
      s += static_cast<char>(0x80 | (u >> 6 & 0x3F));
      s += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  bool Hex4(std::uint32_t& u) {
    if (p_ + 4 > t_.size()) return false;
    u = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = t_[p_++];
      u <<= 4;
      if (c >= '0' && c <= '9')
        u |= static_cast<std::uint32_t>(c - '0');
      else if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f')
        u |= static_cast<std::uint32_t>((c | 0x20) - 'a' + 10);
      else
        return false;
    }
    return true;
  }
  bool Napis(std::string& s) {
    if (!Znak('"')) return false;
    while (p_ < t_.size()) {
      const char c = t_[p_++];
      if (c == '"') return true;
      if (c != '\\') {
        s += c;
        continue;
      }
      if (p_ >= t_.size()) return false;
      const char e = t_[p_++];
      switch (e) {
        case 'n':
          s += '\n';
          break;
        case 't':
          s += '\t';
          break;
        case 'r':
          s += '\r';
          break;
        case 'b':
          s += '\b';
          break;
        case 'f':
          s += '\f';
          break;
        case 'u': {
          std::uint32_t u;
          if (!Hex4(u)) return false;
          if (u >= 0xD800 && u < 0xDC00 && p_ + 1 < t_.size() && t_[p_] == '\\' &&
              t_[p_ + 1] == 'u') {
            p_ += 2;
            std::uint32_t d;
            if (!Hex4(d) || d < 0xDC00 || d >= 0xE000) return false;
            u = 0x10000 + ((u - 0xD800) << 10) + (d - 0xDC00);
          }
          DopiszUtf8(s, u);
          break;
        }
        default:
          s += e;
      }
    }
    return false;
  }
  bool Wartosc(TJson& w, int glebokosc) {
    if (glebokosc > 32) return false;
    Odstepy();
    if (p_ >= t_.size()) return false;
    const char c = t_[p_];
    if (c == '"') {
      w.rodzaj = TJson::Tekst;
      return Napis(w.tekst);
    }
    if (c == '[') {
      ++p_;
      w.rodzaj = TJson::Tablica;
      if (Znak(']')) return true;
      do {
        w.elementy.emplace_back();
        if (!Wartosc(w.elementy.back(), glebokosc + 1)) return false;
      } while (Znak(','));
      return Znak(']');
    }
    if (c == '{') {
      ++p_;
      w.rodzaj = TJson::Obiekt;
      if (Znak('}')) return true;
      do {
        w.klucze.emplace_back();
        w.wartosci.emplace_back();
        if (!Napis(w.klucze.back()) || !Znak(':') || !Wartosc(w.wartosci.back(), glebokosc + 1))
          return false;
      } while (Znak(','));
      return Znak('}');
    }
    // A number, true, false or null: not used by the list.
    const std::size_t od = p_;
    while (p_ < t_.size() &&
           std::string_view("+-.0123456789Eaeflnrstu").find(t_[p_]) != std::string_view::npos)
      ++p_;
    return p_ > od;
  }

  std::string_view t_;
  std::size_t p_ = 0;
};

// The day of the file's last change, "RRRR-MM-DD".
std::string DataPliku(const std::string& sciezka) {
  std::error_code blad;
  const std::u8string u8(sciezka.begin(), sciezka.end());
  const auto czas = std::filesystem::last_write_time(std::filesystem::path(u8), blad);
  if (blad) return {};
  const std::time_t t = std::chrono::system_clock::to_time_t(
      std::chrono::time_point_cast<std::chrono::system_clock::duration>(
          std::chrono::file_clock::to_sys(czas)));
  std::tm tm{};
#if defined(_WIN32)
  if (localtime_s(&tm, &t) != 0) return {};
#else
  if (!localtime_r(&t, &tm)) return {};
#endif
  char bufor[16];
  std::strftime(bufor, sizeof bufor, "%Y-%m-%d", &tm);
  return bufor;
}

std::shared_ptr<const TWykazBankow>& WUzyciu() {
  static std::shared_ptr<const TWykazBankow> wykaz;
  return wykaz;
}

}  // namespace

TWykazBankow::TWykazBankow(std::vector<std::pair<std::uint32_t, std::string>> kody,
                           std::string data)
    : data_(DataPolska(data)) {
  std::sort(kody.begin(), kody.end());
  kody.erase(std::unique(kody.begin(), kody.end(),
                         [](const auto& a, const auto& b) { return a.first == b.first; }),
             kody.end());
  std::vector<std::pair<std::string_view, std::uint32_t>> numery;  // sorted by name
  for (const auto& [kod, nazwa] : kody) {
    auto it = std::lower_bound(numery.begin(), numery.end(), nazwa,
                               [](const auto& a, std::string_view n) { return a.first < n; });
    std::uint32_t nr;
    if (it != numery.end() && it->first == nazwa) {
      nr = it->second;
    } else {
      nr = static_cast<std::uint32_t>(poczatki_.size());
      poczatki_.push_back(static_cast<std::uint32_t>(nazwy_.size()));
      nazwy_ += nazwa;
      nazwy_ += '\0';
      numery.insert(it, {nazwa, nr});
    }
    kody_.push_back(kod);
    banki_.push_back(nr);
    kodyPoprawne_ = kodyPoprawne_ && CyfraKontrolnaKodu(kod);
  }
  poczatki_.push_back(static_cast<std::uint32_t>(nazwy_.size()));
  // Names are numbered in 16 bits (NBP's list has 585).
  static constexpr kodowanie::cp1250::Literal kZaDuzo{u8"zbyt wiele nazw banków w wykazie"};
  if (poczatki_.size() > 65536) throw platform::EInOutError(106, kZaDuzo.str());
  std::uint32_t rozmiar = 16;
  przesuniecie_ = 28;
  while (rozmiar < 2 * kody_.size()) {
    rozmiar *= 2;
    --przesuniecie_;
  }
  maska_ = rozmiar - 1;
  miejsca_.assign(rozmiar, kBrak);
  nazwyMiejsc_.assign(rozmiar, 0);
  for (std::size_t i = 0; i < kody_.size(); ++i) {
    std::uint32_t m = (kody_[i] * 0x9E3779B1u) >> przesuniecie_;
    while (miejsca_[m] != kBrak) m = (m + 1) & maska_;
    miejsca_[m] = kody_[i];
    nazwyMiejsc_[m] = static_cast<std::uint16_t>(banki_[i]);
  }
}

const TWykazBankow& TWykazBankow::Wbudowany() {
  static const TWykazBankow wykaz = [] {
    std::vector<std::pair<std::uint32_t, std::string>> kody;
    std::vector<std::string_view> nazwy;
    for (const char* n = wykaz_dane::kNazwy; nazwy.size() < wykaz_dane::kIleNazw;
         n += nazwy.back().size() + 1)
      nazwy.emplace_back(n);
    for (std::size_t i = 0; i < wykaz_dane::kIleKodow; ++i)
      kody.emplace_back(wykaz_dane::kKody[i], std::string(nazwy[wykaz_dane::kBanki[i]]));
    return TWykazBankow(std::move(kody), wykaz_dane::kData);
  }();
  return wykaz;
}

std::shared_ptr<const TWykazBankow> WczytajWykazBankow(const std::string& sciezka) {
  // A list is a few hundred kilobytes; a file far larger is not one.
  constexpr std::size_t kNajwiecej = std::size_t{64} << 20;
  std::string tresc;
  {
    platform::InputFile plik(sciezka);
    char bufor[1 << 16];
    while (const std::size_t n = plik.Read(bufor, sizeof bufor)) {
      tresc.append(bufor, n);
      if (tresc.size() > kNajwiecej) break;
    }
  }
  static constexpr kodowanie::cp1250::Literal kNieWykaz{
      u8"nie jest wykazem numerów rozliczeniowych banków w układzie JSON "
      u8"({\"entries\": [{\"name\": ..., \"bank_codes\": [...]}, ...]})"};
  const auto nieWykaz = [&] { return platform::EInOutError(106, kNieWykaz.str()); };
  TJson json;
  if (tresc.size() > kNajwiecej || !TCzytnikJson(tresc).Czytaj(json) ||
      json.rodzaj != TJson::Obiekt)
    throw nieWykaz();
  const TJson* wpisy = json.Pole("entries");
  if (!wpisy || wpisy->rodzaj != TJson::Tablica) throw nieWykaz();
  std::vector<std::pair<std::uint32_t, std::string>> kody;
  for (const TJson& w : wpisy->elementy) {
    const TJson* nazwa = w.Pole("name");
    const TJson* numery = w.Pole("bank_codes");
    if (!nazwa || nazwa->rodzaj != TJson::Tekst || !numery || numery->rodzaj != TJson::Tablica)
      throw nieWykaz();
    const std::string nazwa1250 = kodowanie::cp1250::FromUtf8Lossy(nazwa->tekst);
    for (const TJson& k : numery->elementy) {
      // A code with a wrong check digit is no bank's: the list is not
      // trusted over the rule every code follows.
      if (k.rodzaj != TJson::Tekst || !KodPoprawny(k.tekst)) throw nieWykaz();
      kody.emplace_back(TWykazBankow::Kod(k.tekst.data()), nazwa1250);
    }
  }
  if (kody.empty()) throw nieWykaz();
  const TJson* data = json.Pole("date");
  return std::make_shared<const TWykazBankow>(
      std::move(kody), data && data->rodzaj == TJson::Tekst ? data->tekst : DataPliku(sciezka));
}

namespace detail {
const TWykazBankow* wykazWUzyciu = nullptr;
}

void UzyjWykazuBankow(std::shared_ptr<const TWykazBankow> wykaz) {
  // Held here while in use; the pointer read on every line follows it.
  WUzyciu() = std::move(wykaz);
  detail::wykazWUzyciu = WUzyciu().get();
}

}  // namespace rachunki
