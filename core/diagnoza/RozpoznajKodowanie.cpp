#include "diagnoza/RozpoznajKodowanie.h"

#include <algorithm>

#include "linie/CzytajKawalkami.h"
#include "linie/GatheredLine.h"
#include "linie/LineSplitter.h"
#include "platform/PlatformFile.h"
#include "profile/RegulaZnakow.h"
#include "scan/ZwykleAscii.h"

namespace diagnoza {

using kodowanie::DekodujUtf8;
using kodowanie::TKodowanie;
using kodowanie::TSekwencja;
using kodowanie::ZUtf8;
using scan::DlugoscZwyklych;

namespace {

// After each this many bytes of faulty lines read, only every second line of
// the ones read so far is read: a file of any size costs little,
// sampled from start to end (under 1 MB for the 200 MB sample), and the
// evidence is overwhelming long before.
// (A few Windows-1250 lines among many UTF-8 ones may be skipped; the clean
// lines, read after a UTF-8 verdict, find them when they hold a Polish letter.)
constexpr std::uint64_t kProbka = std::uint64_t{128} << 10;
constexpr std::size_t kNajdluzszyFragment = std::size_t{1} << 20;
// Clean lines are read from the start of the file up to this many bytes:
// a payroll list whole, a large file by its first part.
constexpr std::uint64_t kProbkaPoprawnych = std::uint64_t{4} << 20;

// A candidate other than the expected one must win by a Polish letter's
// worth to be a verdict; within that, two readings are both named. A
// verdict holds only if most of what it reads is plausible. A lead of
// thirty-two letters' worth ends the reading of clean lines.
constexpr std::int64_t kPrzewaga = kPunktyPolskiejLitery;
constexpr std::int64_t kRozstrzygajaca = 32 * kPunktyPolskiejLitery;
// What one line can put a reading behind the line's best: a few letters'
// worth, and one letter's for a line that reads implausibly under every
// candidate.
constexpr std::int64_t kGranicaLinii = 4 * kPunktyPolskiejLitery;
constexpr std::int64_t kGranicaDziwnej = kPunktyPolskiejLitery;

constexpr TKodowanie kKodowania[] = {TKodowanie::Windows1250, TKodowanie::Iso8859_2,
                                     TKodowanie::Cp852, TKodowanie::Utf8};

bool Wiarygodna(const TOcena& o) {
  return o.nieprawdopodobne * 4 <= o.znaki;
}

// Whether a line could read as UTF-8 (well-formed, with a sequence of more
// than one byte), and its zero bytes.
struct TCzyUtf8 {
  bool moze = false;
  bool zla = false;  // a byte of no well-formed sequence
  std::uint64_t zera = 0;
};

TCzyUtf8 CzyUtf8(std::string_view linia) {
  TCzyUtf8 w;
  bool zlaSekwencja = false;
  const auto* p = reinterpret_cast<const unsigned char*>(linia.data());
  const auto* const end = p + linia.size();
  while (p < end) {
    p += DlugoscZwyklych(p, static_cast<std::size_t>(end - p));
    if (p == end) break;
    if (*p < 0x80) {
      if (*p++ == 0) ++w.zera;
      continue;
    }
    const TSekwencja s = DekodujUtf8(p, end);
    if (s.dlugosc == 0) {
      zlaSekwencja = true;
      ++p;
    } else {
      w.moze = true;
      p += s.dlugosc;
    }
  }
  w.moze = w.moze && !zlaSekwencja;
  w.zla = zlaSekwencja;
  return w;
}

bool MaWysokiBajt(std::string_view linia) {
  const auto* p = reinterpret_cast<const unsigned char*>(linia.data());
  const std::size_t n = linia.size();
  for (std::size_t i = DlugoscZwyklych(p, n); i < n; i += 1 + DlugoscZwyklych(p + i + 1, n - i - 1))
    if (p[i] >= 0x80) return true;
  return false;
}

// The best reading among candidates [0, n) of `sumy`, 0 being Windows-1250,
// which wins every tie, and the reading that comes closest to it.
struct TRanking {
  std::size_t pierwszy = 0;
  std::size_t drugi = 0;
  std::int64_t przewaga = 0;  // of the first over the second
};

TRanking Ranking(const TOcena* sumy, std::size_t n) {
  TRanking r;
  for (std::size_t k = 1; k < n; ++k)
    if (sumy[k].punkty > sumy[r.pierwszy].punkty) r.pierwszy = k;
  r.drugi = r.pierwszy == 0 ? 1 : 0;
  for (std::size_t k = 1; k < n; ++k)
    if (k != r.pierwszy && sumy[k].punkty > sumy[r.drugi].punkty) r.drugi = k;
  r.przewaga = n > 1 ? sumy[r.pierwszy].punkty - sumy[r.drugi].punkty : kRozstrzygajaca;
  return r;
}

// The verdict among the candidates: Windows-1250 unless another reads
// better; another by a clear lead, or two named when the lead is small and
// both read plausibly.
struct TWybor {
  std::size_t kto;
  std::optional<std::size_t> albo;
};

std::optional<TWybor> Wybierz(const TOcena* sumy, std::size_t n, const TRozne* rozne = nullptr) {
  const TRanking r = Ranking(sumy, n);
  if (r.pierwszy == 0) {
    if (!Wiarygodna(sumy[0])) return std::nullopt;
    // Windows-1250 by less than a letter, where the bytes the two read
    // differently are letters under both ("MAŹKOWIAK" and CP852
    // "MAĆKOWIAK", "Dučan Nov k" and CP852 "Dušan Novák"): both are named.
    // Where Windows-1250 reads punctuation ("„premia”"), it holds.
    for (std::size_t k = kIso8859_2; rozne && k <= kCp852; ++k)
      if (sumy[0].punkty - sumy[k].punkty < kPrzewaga && Wiarygodna(sumy[k]) &&
          rozne[k].windows.litery > 0 && rozne[k].inne.litery > 0 && Wiarygodna(rozne[k].inne))
        return TWybor{0, k};
    return TWybor{0, std::nullopt};
  }
  if (!Wiarygodna(sumy[r.pierwszy])) return std::nullopt;
  if (r.przewaga >= kPrzewaga || !Wiarygodna(sumy[r.drugi]))
    return TWybor{r.pierwszy, std::nullopt};
  return TWybor{r.pierwszy, r.drugi};
}

// The start of a file as UTF-16 of one byte order, line by line (cut after
// each LF unit), each line weighing as the lines of any file do: one that
// reads implausibly at most a letter's worth against the order, and not in
// how plausible the whole reads, unless such lines are most of it.
TOcena OcenUtf16Liniami(std::string_view t, bool le, std::size_t od) {
  TOcena suma;
  TOcena surowa;
  std::uint64_t czytelne = 0;
  std::uint64_t dziwne = 0;
  const auto* p = reinterpret_cast<const unsigned char*>(t.data());
  std::size_t start = od;
  for (std::size_t i = od; i + 1 < t.size(); i += 2) {
    const bool lf = le ? p[i] == 0x0A && p[i + 1] == 0 : p[i] == 0 && p[i + 1] == 0x0A;
    if (!lf && i + 3 < t.size()) continue;
    const TOcena o = OcenUtf16(t.substr(start, i + 2 - start), le, 0);
    start = i + 2;
    surowa += o;
    if (o.znaki == 0 || Wiarygodna(o)) {
      suma += o;
      czytelne += o.znaki > 0;
    } else {
      suma.punkty += std::max<std::int64_t>(o.punkty, -kGranicaDziwnej);
      ++dziwne;
    }
  }
  return czytelne >= dziwne ? suma : surowa;
}

}  // namespace

template <std::size_t N>
void TDowody<N>::Dodaj(const TOcenaLinii& o) {
  // The words no candidate reads plausibly count together at most a
  // letter's worth against a reading; the others as they are.
  const bool czytelna = o.czytelne[0].znaki > 0;
  std::int64_t dziwneNajlepsze = o.kandydaci[0].punkty - o.czytelne[0].punkty;
  for (std::size_t k = 1; k < N; ++k)
    dziwneNajlepsze = std::max(dziwneNajlepsze, o.kandydaci[k].punkty - o.czytelne[k].punkty);
  std::array<std::int64_t, N> punkty{};
  for (std::size_t k = 0; k < N; ++k)
    punkty[k] =
        o.czytelne[k].punkty +
        std::max(o.kandydaci[k].punkty - o.czytelne[k].punkty - dziwneNajlepsze, -kGranicaDziwnej);
  const std::int64_t najlepsza = *std::max_element(punkty.begin(), punkty.end());
  for (std::size_t k = 0; k < N; ++k) {
    surowa[k] += o.kandydaci[k];
    rozneSurowe[k] += o.rozne[k];
    TOcena ograniczona = o.czytelne[k];
    ograniczona.punkty =
        std::max(punkty[k] - najlepsza, czytelna ? -kGranicaLinii : -kGranicaDziwnej);
    suma[k] += ograniczona;
    rozne[k] += o.rozneCzytelne[k];
  }
  (czytelna ? czytelne : dziwne) += 1;
}

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
  // Past the first sample, once the verdict is beyond doubt, a line that
  // cannot read as UTF-8 only adds to what decided it: its bytes are
  // counted (a file that turns out not to be text is still told) but not
  // scored, which was most of the diagnosis's time on a large file. A line
  // that may be UTF-8 is scored: it may make the file a joined one.
  ++bledne_;
  if (rozstrzygnieta_ && indeks != 0 && przeczytane_ > kProbka) {
    const TCzyUtf8 c = CzyUtf8(linia);
    if (!c.moze) {
      bajty_ += linia.size();
      zera_ += c.zera;
      liniiNieUtf8_ += c.zla;
      Rozstrzygnij();
      return;
    }
  }
  const TOcenaLinii o = OcenLinie(linia);
  bajty_ += o.bajty;
  zera_ += o.zera;
  Dodaj(o);

  if (indeks == 0) {
    bomUtf8_ = o.bomUtf8;
    const auto* p = reinterpret_cast<const unsigned char*>(linia.data());
    if (linia.size() >= 2 && p[0] == 0xFF && p[1] == 0xFE) bom16_ = 1;
    if (linia.size() >= 2 && p[0] == 0xFE && p[1] == 0xFF) bom16_ = 2;
  }
  Rozstrzygnij();
}

void TRozpoznawanie::CzescBlednej(std::uint64_t linia, std::string_view czesc) {
  if (linia != biezaca_) {
    KoniecBlednych();
    biezaca_ = linia;
    biezacaPotrzebna_ = Potrzebna(static_cast<std::int64_t>(linia - 1));
  }
  if (biezacaPotrzebna_ && czesci_.size() < kNajdluzszyFragment)
    czesci_.append(czesc.substr(0, kNajdluzszyFragment - czesci_.size()));
}

void TRozpoznawanie::KoniecBlednych() {
  if (biezacaPotrzebna_) LiniaBledna(static_cast<std::int64_t>(biezaca_ - 1), czesci_);
  biezacaPotrzebna_ = false;
  czesci_.clear();
}

// A line's evidence. Whether it reads as UTF-8 or as single-byte text is
// what tells a joined file, so faulty and clean lines count alike.
void TRozpoznawanie::Dodaj(const TOcenaLinii& o) {
  if (o.kandydaci[kWin1250].znaki == 0) return;  // ASCII reads alike under every candidate
  dowody_.Dodaj(o);
  liniiNieUtf8_ += !o.utf8Poprawny;
  literUtf8_ += o.utf8Litery;
  if (LiniaWUtf8(o)) {
    ++linieUtf8_;
    przewagaUtf8_ += o.kandydaci[kUtf8].punkty - NajlepszaJednobajtowa(o).punkty;
  } else {
    ++linieJednobajtowe_;
    jednobajtowe_.Dodaj(o);
  }
}

void TRozpoznawanie::LiniaPoprawna(std::string_view linia) {
  if (rozstrzygnieta_ || !MaWysokiBajt(linia)) return;
  Dodaj(OcenLinie(linia.substr(0, kNajdluzszyFragment)));
  Rozstrzygnij();
}

bool TRozpoznawanie::PotrzebneLiniePoprawne(std::uint64_t przeczytaneBajty) const {
  return !rozstrzygnieta_ && (czekaNaMieszane_ || przeczytaneBajty < kProbkaPoprawnych);
}

// Every byte above 7F part of a well-formed UTF-8 sequence, several of them
// Latin letters, and no line reading better as single-byte text: UTF-8,
// whatever the letters' neighbours ("Test ąćęłńóśźż", a foreign name).
bool TRozpoznawanie::StrukturaUtf8() const {
  return liniiNieUtf8_ == 0 && literUtf8_ >= kLiterUtf8 && linieJednobajtowe_ == 0;
}

bool TRozpoznawanie::Utf16() const {
  return bom16_ || (zera_ > 0 && zera_ * 10 >= bajty_);
}

void TRozpoznawanie::Rozstrzygnij() {
  // Clean lines say nothing about UTF-16 or a binary file.
  if (Utf16() || zera_ * 100 > bajty_) {
    rozstrzygnieta_ = true;
    return;
  }
  const TRanking wszystkie = Ranking(dowody_.Sumy(), kKandydatow);
  czekaNaMieszane_ = (wszystkie.pierwszy == kUtf8 || StrukturaUtf8()) && linieJednobajtowe_ == 0;
  if (linieUtf8_ > 0 && linieJednobajtowe_ > 0)
    rozstrzygnieta_ = Ranking(jednobajtowe_.Sumy(), kUtf8).przewaga >= kRozstrzygajaca;
  else
    rozstrzygnieta_ = !czekaNaMieszane_ && wszystkie.przewaga >= kRozstrzygajaca;
}

void TRozpoznawanie::Utf16ZPoczatku(std::string_view poczatek) {
  const std::size_t od = bom16_ ? 2 : 0;
  if (poczatek.size() % 2 != od % 2) poczatek.remove_suffix(1);
  utf16LE_ = OcenUtf16Liniami(poczatek, true, od);
  utf16BE_ = OcenUtf16Liniami(poczatek, false, od);
  poczatekUtf16_ = true;
}

std::optional<TDiagnoza> TRozpoznawanie::WynikUtf16() const {
  if (!poczatekUtf16_) return std::nullopt;
  bool le;
  if (bom16_) {
    le = bom16_ == 1;
  } else if (utf16LE_.punkty - utf16BE_.punkty >= 4) {
    le = true;
  } else if (utf16BE_.punkty - utf16LE_.punkty >= 4) {
    le = false;
  } else {
    return std::nullopt;
  }
  const TOcena& o = le ? utf16LE_ : utf16BE_;
  if (o.punkty < 0 || !Wiarygodna(o)) return std::nullopt;
  return TDiagnoza{le ? TKodowanie::Utf16LE : TKodowanie::Utf16BE, bom16_ != 0, std::nullopt};
}

std::optional<TDiagnoza> TRozpoznawanie::Wynik() const {
  if (Utf16()) return WynikUtf16();
  // Zero bytes beyond a stray one: not a text at all. (Other control bytes
  // are what make the lines of many a text file faulty: they say nothing.)
  if (zera_ * 100 > bajty_) return std::nullopt;
  // Nothing outside ASCII was read: every encoding reads the file alike, so
  // it is in the one the bank reads. Only a bank profile's other encoding
  // needs saying so; for Windows-1250 the verdict stays as it always was.
  const TKodowanie banku = profile::AktywnyProfil().kodowanie;
  if (banku != TKodowanie::Windows1250 && std::all_of(dowody_.surowa.begin(), dowody_.surowa.end(),
                                                      [](const TOcena& o) { return o.znaki == 0; }))
    return TDiagnoza{banku, false, std::nullopt};

  if (StrukturaUtf8()) return TDiagnoza{TKodowanie::Utf8, bomUtf8_, std::nullopt};
  // Lines that read as UTF-8 and others that read as single-byte text: two
  // files joined, each line decoded from its own encoding.
  if (linieUtf8_ > 0 && linieJednobajtowe_ > 0 && przewagaUtf8_ >= kPrzewaga) {
    if (const auto w = Wybierz(jednobajtowe_.Sumy(), kUtf8)) {
      TDiagnoza d{ZUtf8(kKodowania[w->kto]), bomUtf8_, std::nullopt};
      if (w->albo) d.albo = ZUtf8(kKodowania[*w->albo]);
      return d;
    }
  }
  const TRozne* rozne = dowody_.Rozne();
  auto w = Wybierz(dowody_.Sumy(), kKandydatow, rozne);
  if (!w) return std::nullopt;
  if (bledne_ == 0) {
    // A clean file is right as it is unless its letters say otherwise:
    // another reading is named (alone or beside a close one) only for
    // letters it reads plausibly where Windows-1250 reads them
    // implausibly, two of them or one among Polish words. Readings close
    // only because Windows-1250 reads a few bytes badly, or because both
    // read Polish letters ("ORZEŹWIONEJ", CP852 "ORZEĆWIONEJ"), say nothing.
    const auto dowod = [rozne](std::size_t k) {
      return k == kWin1250 || (k != kUtf8 && (rozne[k].dowody >= 2 || rozne[k].mocne >= 1));
    };
    if (!dowod(w->kto)) w = TWybor{kWin1250, std::nullopt};
    if (w->albo && !dowod(*w->albo)) w->albo.reset();
  }
  TDiagnoza d{kKodowania[w->kto], w->kto == kUtf8 && bomUtf8_, std::nullopt};
  if (w->albo) d.albo = kKodowania[*w->albo];
  return d;
}

void DoczytajPoczatek(TRozpoznawanie& r, const std::string& sciezka) {
  if (!r.MozeUtf16()) return;
  platform::InputFile plik(sciezka);
  std::string poczatek;
  linie::CzytajKawalkami(plik,
                         [&poczatek](const char* dane, std::size_t n) {
                           poczatek.append(dane,
                                           std::min(n, kNajdluzszyFragment - poczatek.size()));
                           return n > 0 && poczatek.size() < kNajdluzszyFragment;
                         },
                         {.pierwszy = kNajdluzszyFragment, .najwiekszy = kNajdluzszyFragment});
  r.Utf16ZPoczatku(poczatek);
}

std::optional<TDiagnoza> RozpoznajKodowanie(const Typy::TStan& stan) {
  const Typy::TBledy& bledy = stan.Bledy;
  TRozpoznawanie r;
  for (std::size_t i = 0; i < bledy.size(); ++i) {
    const auto idx = static_cast<std::size_t>(bledy.LineIndex(i));
    if (r.Potrzebna(static_cast<std::int64_t>(idx)))
      r.LiniaBledna(static_cast<std::int64_t>(idx), stan.LinieOrg[idx]);
  }
  std::size_t nastepnyBledny = 0;
  std::uint64_t przeczytane = 0;
  for (std::size_t idx = 0; idx < stan.LinieOrg.size() && r.PotrzebneLiniePoprawne(przeczytane);
       ++idx) {
    if (nastepnyBledny < bledy.size() &&
        static_cast<std::size_t>(bledy.LineIndex(nastepnyBledny)) == idx) {
      ++nastepnyBledny;
      continue;
    }
    const std::string_view linia = stan.LinieOrg[idx];
    przeczytane += linia.size() + 2;
    r.LiniaPoprawna(linia);
  }
  if (r.MozeUtf16()) {
    try {
      DoczytajPoczatek(r, stan.NazwaPliku);
    } catch (const std::exception&) {
      // The file is gone or changed: no verdict on UTF-16.
    }
  }
  return r.Wynik();
}

namespace {

// The clean lines the diagnosis still wants, as the one line splitter cuts
// them: a line lying whole in one piece is looked at where it lies, and
// only a line cut by a piece's end is gathered (as much of it as is read).
class TLiniePoprawne {
 public:
  TLiniePoprawne(TRozpoznawanie& r, const std::uint64_t& przeczytane)
      : r_(r), przeczytane_(przeczytane), zalezny_(kodowanie::Regula().zalezny) {}

  // `faulty`: a faulty byte, or under a profile's rule a candidate its line
  // decides.
  void Part(const char* data, std::size_t n, bool faulty) {
    bledna_ = bledna_ || faulty;
    if (bledna_ && !zalezny_) return;  // faulty: nothing more of it is wanted
    linia_.Add(data, n);
  }
  void End() {
    const std::string_view linia = linia_.View();
    // Clean by the rule in use (a bank profile's may take UTF-8 letters).
    if (r_.PotrzebneLiniePoprawne(przeczytane_) && MaWysokiBajt(linia) &&
        (!bledna_ || (zalezny_ && Typy::BledneWLinii(linia).empty())))
      r_.LiniaPoprawna(linia);
    Drop();
  }
  void Drop() {
    linia_.Clear();
    bledna_ = false;
  }
  // The piece the open line lies in is about to be read over.
  void KoniecKawalka() { linia_.PieceEnds(); }

 private:
  TRozpoznawanie& r_;
  const std::uint64_t& przeczytane_;
  const bool zalezny_;
  bool bledna_ = false;
  linie::GatheredLine linia_{kNajdluzszyFragment};
};

}  // namespace

void DoczytajLiniePoprawne(TRozpoznawanie& r, const std::string& sciezka) {
  platform::InputFile plik(sciezka);
  std::uint64_t przeczytane = 0;
  TLiniePoprawne poprawne(r, przeczytane);
  linie::BasicLineSplitter<TLiniePoprawne> splitter(poprawne);
  const auto kawalek = [&](const char* dane, std::size_t n) {
    przeczytane += n;
    if (n == 0) {
      splitter.Finish();
      return false;
    }
    const bool dalej = splitter.Feed(dane, n);
    poprawne.KoniecKawalka();
    return dalej && r.PotrzebneLiniePoprawne(przeczytane);
  };
  // The first pieces are small: most files are decided by their first lines.
  linie::CzytajKawalkami(plik, kawalek,
                         {.pierwszy = 64 * 1024, .najwiekszy = std::size_t{1} << 20});
}

}  // namespace diagnoza
