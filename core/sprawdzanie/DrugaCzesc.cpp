#include "sprawdzanie/DrugaCzesc.h"

#include <cstdlib>
#include <cstring>
#include <exception>
#include <string_view>

#include "linie/CzytajKawalkami.h"

namespace sprawdzanie {

namespace {

// WERYFIKACJA_WATKI=1 holds the check to one thread, for measuring one
// way against the other (bench/run) and for the tests that hold them
// against each other; read at each check, which a file costs once.
bool JedenWatek() {
  const char* e = std::getenv("WERYFIKACJA_WATKI");
  return e != nullptr && std::string_view(e) == "1";
}

}  // namespace

std::unique_ptr<TDrugaCzesc> TDrugaCzesc::Zacznij(const platform::InputFile& plik,
                                                  const std::string& sciezka,
                                                  linie::SprawdzanieStrumienia::Options opcje,
                                                  bool rachunkiTez, bool sumy) {
  const std::uint64_t rozmiar = plik.SizeHint();
  if (rozmiar < kDwieCzesciOd || !linie::CzytaZMapy(rozmiar) || !rachunkiTez ||
      opcje.keepFaultyLines || opcje.corrected || JedenWatek())
    return nullptr;
  try {
    auto drugi = std::make_unique<platform::InputFile>(sciezka);
    if (!drugi->SameVersionAs(plik)) return nullptr;
    const std::uint64_t poczatek = rozmiar / 2 / linie::kKawalekMapy * linie::kKawalekMapy;
    std::unique_ptr<TDrugaCzesc> d(
        new TDrugaCzesc(std::move(drugi), poczatek, opcje, rachunkiTez, sumy));
    d->watek_ = std::thread([p = d.get()] { p->Sprawdz(); });
    return d;
  } catch (const std::exception&) {
    return nullptr;  // no second open or no thread: one part
  }
}

TDrugaCzesc::TDrugaCzesc(std::unique_ptr<platform::InputFile> plik, std::uint64_t poczatek,
                         linie::SprawdzanieStrumienia::Options opcje, bool rachunkiTez, bool sumy)
    : plik_(std::move(plik)),
      poczatek_(poczatek),
      zapis_(plik_->SizeHint() - poczatek),
      przebieg_(zapis_, opcje, rachunkiTez, TZglos<TZapisZnalezisk>{&zapis_}, sumy) {}

TDrugaCzesc::~TDrugaCzesc() {
  stop_ = true;
  if (watek_.joinable()) watek_.join();
}

void TDrugaCzesc::Oglos(std::uint64_t ciecie) {
  std::lock_guard<std::mutex> lock(m_);
  if (ciecieZnane_) return;
  ciecie_ = ciecie;
  ciecieZnane_ = true;
  cv_.notify_all();
}

std::uint64_t TDrugaCzesc::Ciecie() {
  std::unique_lock<std::mutex> lock(m_);
  cv_.wait(lock, [this] { return ciecieZnane_; });
  return ciecie_;
}

bool TDrugaCzesc::Czekaj() {
  std::unique_lock<std::mutex> lock(m_);
  cv_.wait(lock, [this] { return koniec_; });
  return dobrze_;
}

void TDrugaCzesc::Sprawdz() {
  bool dobrze = false;
  try {
    const std::uint64_t rozmiar = plik_->SizeHint();
    bool pierwszy = true;
    std::uint64_t ciecie = 0;
    const linie::TZakres zakres = linie::CzytajZakresZMapy(
        *plik_, poczatek_, rozmiar,
        [&](const char* d, std::size_t n) {
          if (pierwszy) {
            pierwszy = false;
            // The part starts after the piece's first line end; a line
            // that runs through the whole piece, or a line end that is the
            // file's last byte, leaves the first part the whole file.
            const void* lf = std::memchr(d, '\n', n);
            const std::size_t pominiete =
                lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - d) + 1 : n;
            if (lf == nullptr || poczatek_ + pominiete >= rozmiar) return false;
            ciecie = poczatek_ + pominiete;
            Oglos(ciecie);
            d += pominiete;
            n -= pominiete;
          }
          if (stop_.load(std::memory_order_relaxed) || zapis_.Pelny()) return false;
          return przebieg_.Kawalek(d, n, rozmiar - ciecie) && !zapis_.Pelny();
        },
        false);
    if (ciecie != 0 && !zapis_.Pelny() && !stop_) {
      if (zakres == linie::TZakres::Przeczytany) {
        // As the check in one go: a change is told before the last line
        // is ended; the caller asks again at its own end.
        linie::SprawdzNiezmieniony(*plik_);
        przebieg_.Finish();
        dobrze = true;
      } else if (zakres == linie::TZakres::Przerwany && przebieg_.KoniecTekstu()) {
        dobrze = true;
      }
    }
  } catch (const std::exception&) {
    // The caller checks this part again and meets what failed here itself.
  }
  // The pieces it mapped are let go now, not when the caller is done.
  try {
    plik_->Close();
  } catch (const std::exception&) {
  }
  Oglos(0);
  std::lock_guard<std::mutex> lock(m_);
  dobrze_ = dobrze;
  koniec_ = true;
  cv_.notify_all();
}

bool Zgodne(const rachunki::TPodsumowanie& pierwsza, const rachunki::TPodsumowanie& druga,
            rachunki::TSumy& sumy, std::uint64_t& liniaZleceniodawcy) {
  liniaZleceniodawcy = 0;
  std::string_view a, b;
  std::uint64_t la = 0, lb = 0;
  if (pierwsza.PierwszyZleceniodawca(a, la) && druga.PierwszyZleceniodawca(b, lb)) {
    if (a != b) return false;
    liniaZleceniodawcy = la;
  }
  if (pierwsza.WspolnyRekord(druga)) return false;
  sumy = pierwsza.Sumy();
  return rachunki::DolaczSumy(sumy, druga.Sumy());
}

}  // namespace sprawdzanie
