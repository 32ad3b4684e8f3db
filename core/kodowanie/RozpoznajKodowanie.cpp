#include "kodowanie/RozpoznajKodowanie.h"

#include <algorithm>

#include "linie/ZwykleAscii.h"
#include "platform/PlatformFile.h"

namespace kodowanie {

namespace {

// After each this many bytes of faulty lines read, only every second line of
// the ones read so far is read: a file of any size costs a few megabytes,
// sampled from start to end, and the evidence is overwhelming long before.
// (A few Windows-1250 lines among many UTF-8 ones may be skipped; the clean
// lines, read after a UTF-8 verdict, find them when they hold a Polish letter.)
constexpr std::uint64_t kProbka = std::uint64_t{1} << 20;
constexpr std::size_t kNajdluzszyFragment = std::size_t{1} << 20;

// A candidate other than the expected one must win by a Polish letter's
// worth, and a verdict holds only if most of what it reads is plausible.
constexpr std::int64_t kPrzewaga = kPunktyPolskiejLitery;

bool Wiarygodna(const TOcena& o) {
  return o.nieprawdopodobne * 4 <= o.znaki;
}

bool MaWysokiBajt(std::string_view linia) {
  const auto* p = reinterpret_cast<const unsigned char*>(linia.data());
  const std::size_t n = linia.size();
  for (std::size_t i = DlugoscZwyklych(p, n); i < n; i += 1 + DlugoscZwyklych(p + i + 1, n - i - 1))
    if (p[i] >= 0x80) return true;
  return false;
}

}  // namespace

bool TRozpoznawanie::Potrzebna(std::int64_t indeks) {
  return indeks == 0 || liczbaLinii_++ % krok_ == 0;
}

void TRozpoznawanie::LiniaBledna(std::int64_t indeks, std::string_view linia) {
  linia = linia.substr(0, kNajdluzszyFragment);
  przeczytane_ += linia.size();
  if (przeczytane_ >= progPrzerzedzenia_) {
    krok_ *= 2;
    progPrzerzedzenia_ += kProbka;
  }
  const TOcenaLinii o = OcenLinie(linia);
  for (std::size_t k = 0; k < kKandydatow; ++k) suma_[k] += o.kandydaci[k];
  bajty_ += o.bajty;
  zera_ += o.zera;
  if (indeks == 0) bomUtf8_ = o.bomUtf8;
  PoliczWiersz(o);

  // UTF-16 is looked at only where a line has a NUL or at the file's start:
  // text in it holds a zero byte for every ASCII character.
  if (indeks == 0) {
    const auto* p = reinterpret_cast<const unsigned char*>(linia.data());
    std::size_t od = 0;
    if (linia.size() >= 2 && p[0] == 0xFF && p[1] == 0xFE) bom16_ = 1;
    if (linia.size() >= 2 && p[0] == 0xFE && p[1] == 0xFF) bom16_ = 2;
    if (bom16_) od = 2;
    pierwszaLE_ = OcenUtf16(linia, true, od).punkty;
    pierwszaBE_ = OcenUtf16(linia, false, od).punkty;
  }
  if (o.zera > 0 || bom16_ || indeks == 0) {
    // Every line but the first starts wherever the line end before it left
    // off, so each is read at the alignment and order that read best.
    TOcena najlepsza = OcenUtf16(linia, true, 0);
    for (const TOcena& inna :
         {OcenUtf16(linia, true, 1), OcenUtf16(linia, false, 0), OcenUtf16(linia, false, 1)})
      if (inna.punkty > najlepsza.punkty) najlepsza = inna;
    utf16_ += najlepsza;
  }
}

// Whether the line reads as UTF-8 or as Windows-1250 is what tells a joined
// file, so faulty and clean lines count alike.
void TRozpoznawanie::PoliczWiersz(const TOcenaLinii& o) {
  if (LiniaWUtf8(o)) {
    ++linieUtf8_;
    utf8WLiniachUtf8_ += o.kandydaci[kUtf8].punkty;
    winWLiniachUtf8_ += o.kandydaci[kWin1250].punkty;
  } else if (o.kandydaci[kWin1250].znaki > 0) {
    ++linieWin_;
    linieWinJakoWin_ += o.kandydaci[kWin1250];
  }
}

bool TRozpoznawanie::PotrzebneLiniePoprawne() const {
  const auto w = Wynik();
  return w && w->kodowanie == TKodowanie::Utf8;
}

void TRozpoznawanie::LiniaPoprawna(std::string_view linia) {
  if (!MaWysokiBajt(linia)) return;
  const TOcenaLinii o = OcenLinie(linia);
  PoliczWiersz(o);
}

std::optional<TDiagnoza> TRozpoznawanie::WynikUtf16() const {
  bool le;
  if (bom16_) {
    le = bom16_ == 1;
  } else if (pierwszaLE_ - pierwszaBE_ >= 4) {
    le = true;
  } else if (pierwszaBE_ - pierwszaLE_ >= 4) {
    le = false;
  } else {
    return std::nullopt;
  }
  if (utf16_.punkty <= 0 || !Wiarygodna(utf16_)) return std::nullopt;
  return TDiagnoza{le ? TKodowanie::Utf16LE : TKodowanie::Utf16BE, bom16_ != 0};
}

std::optional<TDiagnoza> TRozpoznawanie::Wynik() const {
  if (bom16_ || (zera_ > 0 && zera_ * 10 >= bajty_)) return WynikUtf16();
  // Zero bytes beyond a stray one: not a text at all. (Other control bytes
  // are what make the lines of many a text file faulty: they say nothing.)
  if (zera_ * 100 > bajty_) return std::nullopt;

  if (linieUtf8_ > 0 && linieWin_ > 0 && utf8WLiniachUtf8_ - winWLiniachUtf8_ >= kPrzewaga &&
      Wiarygodna(linieWinJakoWin_))
    return TDiagnoza{TKodowanie::Windows1250Utf8, bomUtf8_};

  std::size_t best = kWin1250;
  for (std::size_t k = 1; k < kKandydatow; ++k)
    if (suma_[k].punkty > suma_[best].punkty) best = k;
  if (best != kWin1250) {
    std::int64_t drugi = suma_[kWin1250].punkty;
    for (std::size_t k = 1; k < kKandydatow; ++k)
      if (k != best) drugi = std::max(drugi, suma_[k].punkty);
    if (suma_[best].punkty - drugi < kPrzewaga) {
      // Not clearly another encoding: it is Windows-1250 if that reads well.
      if (suma_[best].punkty - suma_[kWin1250].punkty >= kPrzewaga) return std::nullopt;
      best = kWin1250;
    } else if (!Wiarygodna(suma_[best])) {
      return std::nullopt;
    }
  }
  if (best == kWin1250) {
    if (!Wiarygodna(suma_[kWin1250])) return std::nullopt;
    return TDiagnoza{TKodowanie::Windows1250, false};
  }
  constexpr TKodowanie kKodowania[] = {TKodowanie::Windows1250, TKodowanie::Iso8859_2,
                                       TKodowanie::Cp852, TKodowanie::Utf8};
  return TDiagnoza{kKodowania[best], best == kUtf8 && bomUtf8_};
}

std::optional<TDiagnoza> RozpoznajKodowanie(const Typy::TStan& stan) {
  const Typy::TBledy& bledy = stan.Bledy;
  TRozpoznawanie r;
  for (std::size_t i = 0; i < bledy.size(); ++i) {
    const auto idx = static_cast<std::size_t>(bledy.LineIndex(i));
    if (r.Potrzebna(static_cast<std::int64_t>(idx)))
      r.LiniaBledna(static_cast<std::int64_t>(idx), stan.LinieOrg[idx]);
  }
  if (r.PotrzebneLiniePoprawne()) {
    std::size_t nastepnyBledny = 0;
    for (std::size_t idx = 0; idx < stan.LinieOrg.size(); ++idx) {
      if (nastepnyBledny < bledy.size() &&
          static_cast<std::size_t>(bledy.LineIndex(nastepnyBledny)) == idx) {
        ++nastepnyBledny;
        continue;
      }
      r.LiniaPoprawna(stan.LinieOrg[idx].substr(0, kNajdluzszyFragment));
      if (!r.PotrzebneLiniePoprawne()) break;
    }
  }
  return r.Wynik();
}

void DoczytajLiniePoprawne(TRozpoznawanie& r, const std::string& sciezka) {
  platform::InputFile plik(sciezka);
  std::string kawalek(std::size_t{1} << 20, '\0');
  std::string linia;  // the line cut by the end of a piece
  const auto obejrzyj = [&r](std::string_view l) {
    if (!MaWysokiBajt(l)) return;
    for (char c : l)
      if (Typy::CzyZnakBledny(static_cast<unsigned char>(c))) return;
    r.LiniaPoprawna(l.substr(0, kNajdluzszyFragment));
  };
  while (r.PotrzebneLiniePoprawne()) {
    const std::size_t n = plik.Read(kawalek.data(), kawalek.size());
    if (n == 0) {
      obejrzyj(linia);
      break;
    }
    std::string_view reszta(kawalek.data(), n);
    for (std::size_t lf;
         (lf = reszta.find('\n')) != std::string_view::npos && r.PotrzebneLiniePoprawne();) {
      if (linia.empty()) {
        obejrzyj(reszta.substr(0, lf));
      } else {
        linia.append(reszta.substr(0, lf));
        obejrzyj(linia);
        linia.clear();
      }
      reszta.remove_prefix(lf + 1);
    }
    if (linia.size() < kNajdluzszyFragment) linia.append(reszta);
  }
  plik.Close();
}

}  // namespace kodowanie
