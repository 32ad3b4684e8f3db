#pragma once
// A large file checked by the checker in two parts side by side: the part
// from the first line that starts in the piece past the file's middle is
// checked on a thread of its own, into a log (TZapisZnalezisk), while the
// caller checks the first part into the real sink. What the second part
// found then stands for the file checked in one go only when nothing in
// the first could change it: no record of the second repeats one of the
// first, both pay from one account, and their sums can be added. Else the
// caller checks the second part again itself, as it would have.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "linie/SprawdzanieStrumienia.h"
#include "platform/PlatformFile.h"
#include "rachunki/Podsumowanie.h"
#include "sprawdzanie/Przebieg.h"
#include "sprawdzanie/ZapisZnalezisk.h"

namespace sprawdzanie {

// A file this big or bigger is checked in two parts.
inline constexpr std::uint64_t kDwieCzesciOd = std::uint64_t{8} << 20;

class TDrugaCzesc {
 public:
  // Begun, or null where the file is not checked in two parts: it is
  // smaller than kDwieCzesciOd or not read mapped (Windows, read()), the
  // account checks are off (the character check alone keeps up with
  // reading the file), the check keeps more than its findings (a report's
  // lines, a corrected copy), WERYFIKACJA_WATKI=1 holds the check to one
  // thread, or the file cannot be opened again as the same file. `sumy`
  // as in TPrzebieg.
  static std::unique_ptr<TDrugaCzesc> Zacznij(const platform::InputFile& plik,
                                              const std::string& sciezka,
                                              linie::SprawdzanieStrumienia::Options opcje,
                                              bool rachunkiTez, bool sumy);
  // Stops it where it is, and waits for it.
  ~TDrugaCzesc();
  TDrugaCzesc(const TDrugaCzesc&) = delete;
  TDrugaCzesc& operator=(const TDrugaCzesc&) = delete;

  // The start of the piece the second part starts in: the first part is
  // read to here, then on to Ciecie().
  std::uint64_t Poczatek() const { return poczatek_; }
  // Where the second part's first line starts, once its piece is read; 0
  // when no line starts there (the first part then goes on to the end).
  std::uint64_t Ciecie();
  // Waits for the end. True when the part was checked to its end, or to
  // the end-of-text byte, with everything it found in the log.
  bool Czekaj();

  // After Czekaj.
  const TZapisZnalezisk& Zapis() const { return zapis_; }
  const TPrzebieg<TZglos<TZapisZnalezisk>>& Przebieg() const { return przebieg_; }

 private:
  TDrugaCzesc(std::unique_ptr<platform::InputFile> plik, std::uint64_t poczatek,
              linie::SprawdzanieStrumienia::Options opcje, bool rachunkiTez, bool sumy);
  void Sprawdz();
  void Oglos(std::uint64_t ciecie);

  std::unique_ptr<platform::InputFile> plik_;
  const std::uint64_t poczatek_;
  TZapisZnalezisk zapis_;
  TPrzebieg<TZglos<TZapisZnalezisk>> przebieg_;
  std::atomic<bool> stop_{false};
  std::mutex m_;
  std::condition_variable cv_;
  bool ciecieZnane_ = false, koniec_ = false, dobrze_ = false;
  std::uint64_t ciecie_ = 0;
  std::thread watek_;
};

// The second part's summary added to the first's. False when it cannot
// stand for the file checked in one go: a record of the second repeats one
// of the first, the parts' first payers differ, or the sums cannot be
// added. Else `sumy` are the whole file's, and `liniaZleceniodawcy` is the
// line the second part's warnings of another payer's account name (0:
// their own).
bool Zgodne(const rachunki::TPodsumowanie& pierwsza, const rachunki::TPodsumowanie& druga,
            rachunki::TSumy& sumy, std::uint64_t& liniaZleceniodawcy);

}  // namespace sprawdzanie
