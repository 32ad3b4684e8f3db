#include "rekord/PolaRekordu.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "scan/Cyfry.h"
#include "scan/MaskiBajtow.h"

namespace rekord {

using scan::Cyfra;
using scan::SameCyfry;
using namespace pole;

namespace {

// Longer lines are searched field by field.
constexpr std::size_t kNajdluzszaMaskami = 4096;

// Where each comma stands, and each quote that closes a quoted field (one
// followed by a comma or by the line's end): one bit a byte, so that a
// record is split in one pass over it instead of one search a field. For
// lines of at most kSlow words of 64 bytes. A line of four words or fewer,
// as most records are, is taken as four, the words past its end empty: the
// loops then have a fixed length, which the compiler lays out straight.
template <std::size_t kSlow>
class TMaskiRekordu {
 public:
  explicit TMaskiRekordu(std::string_view l) : n_(l.size()), slow_((l.size() + 63) / 64) {
    const char* d = l.data();
    for (std::size_t w = slow_; w < Slow(); ++w) przecinki_[w] = cudzyslowy_[w] = 0;
    for (std::size_t w = 0; w < slow_; ++w) {
      const std::size_t od = w * 64;
      if (od + 64 <= n_) {
        Slowo(d + od, przecinki_[w], cudzyslowy_[w]);
      } else if (n_ >= 64) {
        // The line's last 64 bytes, shifted so that its end lines up.
        Slowo(d + n_ - 64, przecinki_[w], cudzyslowy_[w]);
        przecinki_[w] >>= 64 - (n_ - od);
        cudzyslowy_[w] >>= 64 - (n_ - od);
      } else {
        // The line's end, in a block of zeros: no comma, no quote.
        char reszta[64] = {};
        std::memcpy(reszta, d + od, n_ - od);
        Slowo(reszta, przecinki_[w], cudzyslowy_[w]);
      }
    }
    for (std::size_t w = 0; w < Slow(); ++w) {
      const std::uint64_t dalej = w + 1 < Slow() ? przecinki_[w + 1] << 63 : 0;
      zamykajace_[w] = cudzyslowy_[w] & ((przecinki_[w] >> 1) | dalej);
    }
    if (n_ > 0)
      zamykajace_[(n_ - 1) / 64] |= cudzyslowy_[(n_ - 1) / 64] & (1ull << ((n_ - 1) % 64));
  }

  std::size_t Przecinkow() const {
    std::size_t ile = 0;
    for (std::size_t w = 0; w < Slow(); ++w) ile += scan::Jedynek(przecinki_[w]);
    return ile;
  }
  bool ZCudzyslowem() const {
    for (std::size_t w = 0; w < Slow(); ++w)
      if (cudzyslowy_[w]) return true;
    return false;
  }
  // The first comma, or closing quote, at or after `p`; the line's length
  // when there is none.
  std::size_t Przecinek(std::size_t p) const { return Nastepny(przecinki_, p); }
  std::size_t Zamykajacy(std::size_t p) const { return Nastepny(zamykajace_, p); }

  // The fields at once, from where the quotes leave the commas, when every
  // quote opens a field (at the line's start or after a comma outside
  // quotes) or closes the one it opened (before a comma or the line's
  // end): then a comma is a field's end exactly when an even number of
  // quotes comes before it, which is what the search field by field finds.
  // False, with nothing added, for a line with any other quote.
  bool PolaWprost(const char* d, std::vector<TPoleRekordu>& pola) const {
    std::uint64_t wnetrze[kSlow], granice[kSlow];
    std::uint64_t przeniesienie = 0;
    for (std::size_t w = 0; w < Slow(); ++w) {
      // Bit i: an odd number of quotes at or before byte i.
      std::uint64_t x = cudzyslowy_[w];
      for (unsigned k = 1; k < 64; k *= 2) x ^= x << k;
      x ^= przeniesienie;
      wnetrze[w] = x;
      przeniesienie = std::uint64_t{0} - (x >> 63);
      granice[w] = przecinki_[w] & ~x;
    }
    if (przeniesienie != 0) return false;  // a quote left open
    for (std::size_t w = 0; w < Slow(); ++w) {
      const std::uint64_t otwierajace = cudzyslowy_[w] & wnetrze[w];
      const std::uint64_t poGranicy = (granice[w] << 1) | (w > 0 ? granice[w - 1] >> 63 : 1);
      if ((otwierajace & ~poGranicy) != 0) return false;
      if ((cudzyslowy_[w] & ~wnetrze[w] & ~zamykajace_[w]) != 0) return false;
    }
    std::size_t od = 0;
    auto pole = [&](std::size_t doo) {
      const bool w = od < n_ && d[od] == '"';
      pola.push_back({od + w, doo - od - 2 * w, w});
      od = doo + 1;
    };
    for (std::size_t w = 0; w < Slow(); ++w)
      for (std::uint64_t x = granice[w]; x != 0; x &= x - 1)
        pole(w * 64 + static_cast<std::size_t>(std::countr_zero(x)));
    pole(n_);
    return true;
  }

 private:
  static void Slowo(const char* d, std::uint64_t& przecinki, std::uint64_t& cudzyslowy) {
    scan::MaskiBajtow64(d, ',', '"', przecinki, cudzyslowy);
  }
  std::size_t Nastepny(const std::uint64_t* m, std::size_t p) const {
    std::size_t w = p / 64;
    if (w >= Slow()) return n_;
    std::uint64_t x = m[w] & (~std::uint64_t{0} << (p % 64));
    while (x == 0) {
      if (++w == Slow()) return n_;
      x = m[w];
    }
    return w * 64 + static_cast<std::size_t>(std::countr_zero(x));
  }

  // The words looked at: all kSlow of a short line's, a long line's own.
  std::size_t Slow() const { return kSlow <= 4 ? kSlow : slow_; }

  std::size_t n_, slow_;
  std::uint64_t przecinki_[kSlow], cudzyslowy_[kSlow], zamykajace_[kSlow];
};

}  // namespace

namespace detail {

Rekord PolaRekordu(std::string_view l, std::vector<TPoleRekordu>& pola) {
  if (static_cast<std::size_t>(std::count(l.begin(), l.end(), ',')) < kPolRekordu - 1 ||
      l.find('"') == std::string_view::npos)
    return Rekord::Nie;

  std::size_t p = 0;
  for (;;) {
    if (p < l.size() && l[p] == '"') {
      // The closing quote is one followed by a comma or by the line's end;
      // a quote inside the text is part of it.
      std::size_t q = p + 1;
      while ((q = l.find('"', q)) != std::string_view::npos && q + 1 < l.size() && l[q + 1] != ',')
        ++q;
      if (q == std::string_view::npos) {
        pola.push_back({p + 1, l.size() - p - 1, true});
        return Rekord::NiezamknietyCudzyslow;
      }
      pola.push_back({p + 1, q - p - 1, true});
      p = q + 1;
    } else {
      const std::size_t q = std::min(l.find(',', p), l.size());
      pola.push_back({p, q - p, false});
      p = q;
    }
    if (p >= l.size()) break;
    ++p;  // the comma
  }
  return Rekord::Tak;
}

namespace {

template <std::size_t kSlow>
Rekord PolaZMasek(std::string_view l, std::vector<TPoleRekordu>& pola) {
  const TMaskiRekordu<kSlow> m(l);
  if (!m.ZCudzyslowem()) return Rekord::Nie;
  // A line of fewer commas than a record's is none. A record's fields
  // tell it has them; the commas are counted only for a line of fewer
  // fields, or one split otherwise.
  if (m.PolaWprost(l.data(), pola)) {
    if (pola.size() >= kPolRekordu || m.Przecinkow() >= kPolRekordu - 1) return Rekord::Tak;
    pola.clear();
    return Rekord::Nie;
  }
  if (m.Przecinkow() < kPolRekordu - 1) return Rekord::Nie;
  const std::size_t n = l.size();
  std::size_t p = 0;
  for (;;) {
    if (p < n && l[p] == '"') {
      const std::size_t q = m.Zamykajacy(p + 1);
      if (q == n) {
        pola.push_back({p + 1, n - p - 1, true});
        return Rekord::NiezamknietyCudzyslow;
      }
      pola.push_back({p + 1, q - p - 1, true});
      p = q + 1;
    } else {
      const std::size_t q = m.Przecinek(p);
      pola.push_back({p, q - p, false});
      p = q;
    }
    if (p >= n) break;
    ++p;  // the comma
  }
  return Rekord::Tak;
}

}  // namespace

Rekord PolaRekorduMaskami(std::string_view l, std::vector<TPoleRekordu>& pola) {
  return l.size() <= 4 * 64 ? PolaZMasek<4>(l, pola) : PolaZMasek<kNajdluzszaMaskami / 64>(l, pola);
}

}  // namespace detail

Rekord PodzielRekord(std::string_view l, std::vector<TPoleRekordu>& pola) {
  pola.clear();
  if (l.size() < 4 || !Cyfra(l[0]) || !Cyfra(l[1]) || !Cyfra(l[2]) || l[3] != ',')
    return Rekord::Nie;
  const Rekord r = l.size() <= kNajdluzszaMaskami ? detail::PolaRekorduMaskami(l, pola)
                                                  : detail::PolaRekordu(l, pola);
  if (r != Rekord::Tak) return r;

  // "4321,50" written without quotes splits the amount in two and moves
  // every field after it: the first quoted field, the payer's account,
  // stands one place late. Joined again, the amount is told as written and
  // the fields after it are checked where they belong.
  // Most records quote the payer's account where it belongs, which is
  // told before any search for the first quoted field.
  const auto cytowane = [](const TPoleRekordu& f) { return f.wCudzyslowie; };
  if (pola.size() > kRachunekZleceniodawcy && !pola[kRachunekZleceniodawcy].wCudzyslowie &&
      std::find_if(pola.begin(), pola.end(), cytowane) - pola.begin() ==
          kRachunekZleceniodawcy + 1 &&
      !pola[kKwota].wCudzyslowie && !pola[kKwota + 1].wCudzyslowie &&
      pola[kKwota + 1].dlugosc <= 2 &&
      SameCyfry(l.substr(pola[kKwota].poczatek, pola[kKwota].dlugosc)) &&
      SameCyfry(l.substr(pola[kKwota + 1].poczatek, pola[kKwota + 1].dlugosc))) {
    pola[kKwota].dlugosc =
        pola[kKwota + 1].poczatek + pola[kKwota + 1].dlugosc - pola[kKwota].poczatek;
    pola.erase(pola.begin() + kKwota + 1);
  }
  return pola.size() >= kPolRekordu ? Rekord::Tak : Rekord::Nie;
}

bool WTekscie(std::string_view linia, const std::vector<TPoleRekordu>& pola, std::size_t i) {
  if (linia[i] == '|') return false;
  return std::any_of(pola.begin(), pola.end(), [i](const TPoleRekordu& p) {
    return p.wCudzyslowie && i >= p.poczatek && i < p.poczatek + p.dlugosc;
  });
}

}  // namespace rekord
