#include "diagnoza/PoprawKodowanie.h"

#include <cstring>

#include "diagnoza/OcenaTekstu.h"
#include "linie/CzytajKawalkami.h"
#include "linie/GatheredLine.h"
#include "linie/LineSplitter.h"
#include "platform/PlatformFile.h"
#include "raport/ZapiszPoprawiony.h"
#include "scan/ZwykleAscii.h"

namespace diagnoza {

using kodowanie::DekodujUtf8;
using kodowanie::Jednobajtowe;
using kodowanie::Tablica;
using kodowanie::TKodowanie;
using kodowanie::TSekwencja;
using scan::DlugoscZwyklych;
using scan::NiezwykleZ16;

namespace {

bool Utf16(TKodowanie z) {
  return z == TKodowanie::Utf16LE || z == TKodowanie::Utf16BE;
}

// A byte of a UTF-16 unit that is no character, as the lines carry it to
// LiniaUtf16: F8-FB and 80-BF, two bytes UTF-8 never holds.
char* ZnacznikSurowego(char* o, unsigned char b) {
  o[0] = static_cast<char>(0xF8 | (b >> 6));
  o[1] = static_cast<char>(0x80 | (b & 0x3F));
  return o + 2;
}
}  // namespace

// The splitter's sink: each line of the source decoded whole (a file that
// mixes encodings is decoded line by line), where it lies in the piece
// read; only a line cut by a piece's end is gathered.
class TPrzekodowanie::TLinie {
 public:
  explicit TLinie(TPrzekodowanie& p) : p_(p), splitter_(*this) {}

  void Part(const char* data, std::size_t n, bool) { linia_.Add(data, n); }
  void End() {
    const std::string_view linia = linia_.View();
    p_.Linia(reinterpret_cast<const unsigned char*>(linia.data()), linia.size());
    p_.KoniecLinii();
    Drop();
  }
  void Drop() { linia_.Clear(); }

  // False once the text has ended (1A).
  bool Dodaj(const char* data, std::size_t n) {
    const bool dalej = splitter_.Feed(data, n);
    linia_.PieceEnds();  // the piece is read over next
    return dalej;
  }
  void Zakoncz() { splitter_.Finish(); }

 private:
  TPrzekodowanie& p_;
  linie::BasicLineSplitter<TLinie> splitter_;
  linie::GatheredLine linia_;
};

TPrzekodowanie::TPrzekodowanie(TKodowanie z, TUjscie ujscie, void* kontekst)
    : z_(z), ujscie_(ujscie), kontekst_(kontekst), bufor_(new char[kBufor]) {
  linie_ = std::make_unique<TLinie>(*this);
  // UTF-16's byte-order mark is told by its units, before the lines.
  if (Utf16(z)) poczatek_ = false;
}

TPrzekodowanie::~TPrzekodowanie() = default;

void TPrzekodowanie::Dodaj(const char* p, std::size_t n) {
  if (koniecTekstu_ || n == 0) return;
  if (Utf16(z_))
    DodajUtf16(reinterpret_cast<const unsigned char*>(p), n);
  else
    DodajJednobajtowo(p, n);
}

TWynikPoprawy TPrzekodowanie::Wynik() const {
  TWynikPoprawy w = wynik_;
  w.polskie = liczniki_[static_cast<std::size_t>(TZmiana::Bez)];
  w.zamienione = liczniki_[static_cast<std::size_t>(TZmiana::Zamieniony)];
  w.usuniete = liczniki_[static_cast<std::size_t>(TZmiana::Usuniety)];
  w.zostawione = liczniki_[static_cast<std::size_t>(TZmiana::Zostawiony)];
  w.brakujace = liczniki_[static_cast<std::size_t>(TZmiana::Brak)];
  return w;
}

void TPrzekodowanie::Zakoncz() {
  if (!koniecTekstu_) {
    if (Utf16(z_)) {
      // A high surrogate and a byte the text ended without: kept raw.
      utf8_.clear();
      if (wysokiSurogat_) {
        SurowyUtf16(surogatBajty_[0]);
        SurowyUtf16(surogatBajty_[1]);
        wysokiSurogat_ = 0;
      }
      if (!niedokonczona_.empty()) SurowyUtf16(static_cast<unsigned char>(niedokonczona_[0]));
      niedokonczona_.clear();
      if (!utf8_.empty() && !linie_->Dodaj(utf8_.data(), utf8_.size())) koniecTekstu_ = true;
      utf8_.clear();
    }
    if (!koniecTekstu_) linie_->Zakoncz();  // the last line, if any
    koniecTekstu_ = true;
  }
  Oproznij();
}

// Bytes 0A, 0D and 1A mean the same in every byte-oriented candidate and
// never occur inside a UTF-8 sequence, so the source is cut into lines
// before it is decoded, by the splitter every reader cuts with.
void TPrzekodowanie::DodajJednobajtowo(const char* p, std::size_t n) {
  if (!linie_->Dodaj(p, n)) koniecTekstu_ = true;
}

void TPrzekodowanie::Linia(const unsigned char* p, std::size_t n) {
  switch (z_) {
    case TKodowanie::Utf16LE:
    case TKodowanie::Utf16BE:
      LiniaUtf16(p, n);
      break;
    case TKodowanie::Utf8:
      LiniaUtf8(p, n);
      break;
    case TKodowanie::Windows1250Utf8:
    case TKodowanie::Iso8859_2Utf8:
    case TKodowanie::Cp852Utf8:
      if (LiniaWUtf8(std::string_view(reinterpret_cast<const char*>(p), n)))
        LiniaUtf8(p, n);
      else
        LiniaZTablicy(p, n, Tablica(Jednobajtowe(z_)));
      break;
    default:
      LiniaZTablicy(p, n, Tablica(z_));
      break;
  }
}

const unsigned char* TPrzekodowanie::KopiujZwykle(const unsigned char* p,
                                                  const unsigned char* end) {
  // Sixteen bytes are copied at a time and only the printable run among
  // them is kept: the next write goes over the rest.
  while (end - p >= 16) {
    if (kBufor - pos_ < 16) Oproznij();
    const unsigned niezwykle = NiezwykleZ16(p);
    std::memcpy(bufor_.get() + pos_, p, 16);
    if (niezwykle) {
      const auto k = static_cast<std::size_t>(__builtin_ctz(niezwykle));
      pos_ += k;
      return p + k;
    }
    pos_ += 16;
    p += 16;
  }
  const std::size_t run = DlugoscZwyklych(p, static_cast<std::size_t>(end - p));
  Pisz(reinterpret_cast<const char*>(p), run);
  return p + run;
}

bool TPrzekodowanie::ZwykleDoKonca(const unsigned char*& p, const unsigned char* end) {
  const unsigned char* const zwykle = p;
  p = KopiujZwykle(p, end);
  if (p == zwykle) return false;
  liniaOtwarta_ = true;
  poczatek_ = false;
  return p == end;
}

void TPrzekodowanie::LiniaUtf8(const unsigned char* p, std::size_t n) {
  const auto* const end = p + n;
  while (p < end && !koniecTekstu_) {
    if (ZwykleDoKonca(p, end)) break;
    // The Polish letters are two-byte sequences: decoded here at once.
    if (p[0] >= 0xC2 && p[0] < 0xE0 && p + 1 < end && (p[1] & 0xC0) == 0x80 && !poczatek_) {
      ZwyklyZnak(static_cast<char32_t>(((p[0] & 0x1F) << 6) | (p[1] & 0x3F)));
      p += 2;
      continue;
    }
    const TSekwencja s = DekodujUtf8(p, end);
    if (s.dlugosc == 0) {
      Surowy(*p++);
    } else {
      Znak(s.znak);
      p += s.dlugosc;
    }
  }
}

void TPrzekodowanie::LiniaZTablicy(const unsigned char* p, std::size_t n,
                                   const std::array<char16_t, 256>& t) {
  const auto* const end = p + n;
  while (p < end && !koniecTekstu_) {
    if (ZwykleDoKonca(p, end)) break;
    Znak(t[*p++]);
  }
}

// UTF-16 is cut into lines by the same splitter as every other text: its
// units are first written as UTF-8, which keeps LF, CR and 1A the bytes
// they are and puts no such byte anywhere else. A unit that is no
// character (a surrogate without its pair, a byte the text ends without)
// is written as two bytes F8-FB and 80-BF, which UTF-8 never holds, and
// kept raw when its line is decoded (LiniaUtf16).
void TPrzekodowanie::DodajUtf16(const unsigned char* p, std::size_t n) {
  const bool le = z_ == TKodowanie::Utf16LE;
  // At most four bytes a unit: a surrogate without its pair, raw.
  utf8_.resize(n * 2 + 16);
  char* const poczatek = utf8_.data();
  char* o = poczatek;
  const auto surowy = [&](unsigned char b) { o = ZnacznikSurowego(o, b); };
  const auto jednostka = [&](unsigned char b0, unsigned char b1) {
    const char16_t u =
        le ? static_cast<char16_t>(b0 | (b1 << 8)) : static_cast<char16_t>((b0 << 8) | b1);
    if (wysokiSurogat_) [[unlikely]] {
      const char16_t high = wysokiSurogat_;
      wysokiSurogat_ = 0;
      if (u >= 0xDC00 && u <= 0xDFFF) {
        const char32_t c = 0x10000 + ((static_cast<char32_t>(high) - 0xD800) << 10) + (u - 0xDC00);
        o[0] = static_cast<char>(0xF0 | (c >> 18));
        o[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        o[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        o[3] = static_cast<char>(0x80 | (c & 0x3F));
        o += 4;
        return;
      }
      surowy(surogatBajty_[0]);
      surowy(surogatBajty_[1]);
    }
    if (u < 0x80) {
      *o++ = static_cast<char>(u);
    } else if (u < 0x800) {
      o[0] = static_cast<char>(0xC0 | (u >> 6));
      o[1] = static_cast<char>(0x80 | (u & 0x3F));
      o += 2;
    } else if (u >= 0xD800 && u <= 0xDBFF) {
      wysokiSurogat_ = u;
      surogatBajty_[0] = b0;
      surogatBajty_[1] = b1;
    } else if (u >= 0xDC00 && u <= 0xDFFF) {
      surowy(b0);
      surowy(b1);
    } else {
      o[0] = static_cast<char>(0xE0 | (u >> 12));
      o[1] = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      o[2] = static_cast<char>(0x80 | (u & 0x3F));
      o += 3;
    }
  };
  if (!niedokonczona_.empty()) {
    jednostka(static_cast<unsigned char>(niedokonczona_[0]), p[0]);
    niedokonczona_.clear();
    ++p;
    --n;
  }
  std::size_t i = 0;
  for (; i + 1 < n; i += 2) jednostka(p[i], p[i + 1]);
  if (i < n) niedokonczona_.assign(1, static_cast<char>(p[i]));
  const std::size_t dlugosc = static_cast<std::size_t>(o - poczatek);
  if (pierwszaJednostka_ && dlugosc > 0) {
    // Only the text's very first unit can be its byte-order mark.
    pierwszaJednostka_ = false;
    bomUtf16_ = dlugosc >= 3 && std::memcmp(poczatek, "\xEF\xBB\xBF", 3) == 0;
  }
  if (dlugosc > 0 && !linie_->Dodaj(poczatek, dlugosc)) koniecTekstu_ = true;
}

void TPrzekodowanie::SurowyUtf16(unsigned char b) {
  char bajty[2];
  ZnacznikSurowego(bajty, b);
  if (pierwszaJednostka_) {
    pierwszaJednostka_ = false;
    bomUtf16_ = false;
  }
  utf8_.append(bajty, 2);
}

void TPrzekodowanie::LiniaUtf16(const unsigned char* p, std::size_t n) {
  const auto* const end = p + n;
  if (bomUtf16_) {
    // The first line's first three bytes: the mark, kept out of the text.
    bomUtf16_ = false;
    wynik_.bom = true;
    liniaOtwarta_ = true;
    p += 3;
  }
  while (p < end && !koniecTekstu_) {
    if (ZwykleDoKonca(p, end)) break;
    if (p[0] >= 0xC2 && p[0] < 0xE0) {
      ZwyklyZnak(static_cast<char32_t>(((p[0] & 0x1F) << 6) | (p[1] & 0x3F)));
      p += 2;
    } else if (p[0] >= 0xF8) {
      Surowy(static_cast<unsigned char>(((p[0] & 0x03) << 6) | (p[1] & 0x3F)));
      p += 2;
    } else {
      const TSekwencja s = DekodujUtf8(p, end);
      ZwyklyZnak(s.znak);
      p += s.dlugosc;
    }
  }
}

void TPrzekodowanie::Znak(char32_t c) {
  if (poczatek_) {
    poczatek_ = false;
    if (c == 0xFEFF) {
      wynik_.bom = true;
      liniaOtwarta_ = true;
      return;
    }
  }
  switch (c) {
    case '\n':
      KoniecLinii();
      return;
    case '\r':
      liniaOtwarta_ = true;
      return;
    case 0x1A:
      if (liniaOtwarta_) KoniecLinii();
      koniecTekstu_ = true;
      return;
    default:
      break;
  }
  ZwyklyZnak(c);
}

void TPrzekodowanie::Surowy(unsigned char b) {
  poczatek_ = false;
  liniaOtwarta_ = true;
  ++wynik_.nieodkodowane;
  // A byte kept as it was must not cut or end a line of the corrected file.
  const char c = (b == '\n' || b == '\r' || b == 0x1A) ? '?' : static_cast<char>(b);
  Pisz(&c, 1);
}

void TPrzekodowanie::KoniecLinii() {
  Pisz("\r\n", 2);
  ++wynik_.linie;
  liniaOtwarta_ = false;
  poczatek_ = false;
}

void TPrzekodowanie::Oproznij() {
  if (pos_ == 0) return;
  ujscie_(kontekst_, bufor_.get(), pos_);
  pos_ = 0;
}

namespace {

template <class Ujscie>
TWynikPoprawy Przekoduj(const std::string& sciezka, TKodowanie z, Ujscie& ujscie) {
  platform::InputFile in(sciezka);
  TPrzekodowanie p(
      z, [](void* k, const char* b, std::size_t n) { (*static_cast<Ujscie*>(k))(b, n); }, &ujscie);
  // A file that changes while it is converted raises: the copy, not yet
  // committed, is dropped rather than saved as a mix of two versions.
  linie::CzytajKawalkami(in, [&p](const char* b, std::size_t n) {
    if (n > 0)
      p.Dodaj(b, n);
    else
      p.Zakoncz();
    return true;
  });
  return p.Wynik();
}

}  // namespace

TWynikPoprawy PoliczPoprawke(const std::string& sciezka, TKodowanie z) {
  auto nic = [](const char*, std::size_t) {};
  return Przekoduj(sciezka, z, nic);
}

std::string ZapiszPoprawke(const std::string& sciezka, TKodowanie z, TWynikPoprawy& wynik) {
  const std::string cel = raport::NazwaPlikuPoprawionego(sciezka);
  platform::AtomicOutputFile out(cel, sciezka);
  auto pisz = [&out](const char* b, std::size_t n) { out.Write(b, n); };
  wynik = Przekoduj(sciezka, z, pisz);
  out.Commit();
  return platform::AbsolutePath(cel);
}

}  // namespace diagnoza
