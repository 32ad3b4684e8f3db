#pragma once
// One pass of the checker's check over the lines of a file, or of a part of
// it: the splitter, the character check and the account checks, into one
// sink.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "linie/LineSplitter.h"
#include "linie/SprawdzanieStrumienia.h"
#include "rachunki/ZnakiIRachunki.h"

namespace sprawdzanie {

// The account checks' findings and warnings handed to a sink that takes
// them as TZnaleziska does (Uwaga, Ostrzezenie): the checker's, or the log
// of a part read on another thread. A finding at a time: the sink's call
// is not in the per-line loops.
template <class Sink>
struct TZglos {
  Sink* sink;
  void operator()(std::uint64_t nr, const rachunki::TUwaga& u, std::string_view linia) const {
    sink->Uwaga(nr, u, linia);
  }
  void operator()(std::uint64_t nr, const rachunki::TOstrzezenie& o, std::string_view linia) const {
    sink->Ostrzezenie(nr, o, linia);
  }
};

template <class Zglos>
class TPrzebieg {
 public:
  // `sumy`: the records summed by date and by payee bank too (TZasady).
  TPrzebieg(linie::StreamFindings& sink, linie::SprawdzanieStrumienia::Options opcje,
            bool rachunkiTez, Zglos zglos, bool sumy = true)
      : znaki_(sink, opcje), konta_(znaki_, rachunkiTez, zglos, sumy), splitter_(konta_) {}
  TPrzebieg(const TPrzebieg&) = delete;
  TPrzebieg& operator=(const TPrzebieg&) = delete;

  // The next piece of a part of `rozmiar` bytes; false once the text
  // ended (the end-of-text byte 1A): nothing more is taken.
  bool Kawalek(const char* dane, std::size_t n, std::uint64_t rozmiar) {
    const bool dalej = splitter_.Feed(dane, n);
    konta_.KoniecKawalka();
    konta_.Przeczytano(przeczytane_ += n, rozmiar);
    koniecTekstu_ = !dalej;
    return dalej;
  }
  bool KoniecTekstu() const { return koniecTekstu_; }
  void Finish() { splitter_.Finish(); }
  void Abandon() { splitter_.Abandon(); }

  const linie::SprawdzanieStrumienia& Znaki() const { return znaki_; }
  const rachunki::TZnakiIRachunki<Zglos>& Konta() const { return konta_; }

 private:
  linie::SprawdzanieStrumienia znaki_;
  rachunki::TZnakiIRachunki<Zglos> konta_;
  linie::BasicLineSplitter<rachunki::TZnakiIRachunki<Zglos>> splitter_;
  std::uint64_t przeczytane_ = 0;
  bool koniecTekstu_ = false;
};

}  // namespace sprawdzanie
