#pragma once
// The check command's sequence, apart from how a window shows each step:
// the busy cursor, the core's check of the file into the verification state
// (sprawdzanie::SprawdzPlik, the one the checker runs too), the outcome
// dialog. The main window supplies the steps it shows; none of them checks.
#include <cstddef>
#include <functional>
#include <string>

#include "messages/UserMessages.h"

namespace Typy {
struct TStan;
}
namespace sprawdzanie {
struct TStanOkna;
struct TZasady;
}  // namespace sprawdzanie

namespace ui {

// What a window shows of a check, step by step.
class TWidokSprawdzania {
 public:
  virtual ~TWidokSprawdzania() = default;
  // Before the read: nothing of the previous check is shown, and nothing
  // can be saved or reported until this check ends.
  virtual void Wyczysc() = 0;
  // Whether the window shows the check's report: it is built only then.
  virtual bool PokazujeRaport() const { return false; }
  // After the check: the faulty lines, their report, the count and whatever
  // else the outcome offers, as the check found them (the state holds the
  // lines); shown only.
  virtual void PokazWynik(sprawdzanie::TStanOkna& wynik) = 0;
  // Just before the outcome dialog.
  virtual void PokazOcene(std::size_t ileBledow) = 0;
  // After the outcome dialog: what the check found beside the characters.
  virtual void PoOcenie() {}
};

// Checks the file at `sciezka` into `stan` against `zasady` (the window's
// profile and list of banks). `zamiastOceny`, if given, runs
// with the count of faulty lines in place of the outcome dialog, once the
// window shows the outcome (a caller whose own message already tells it:
// one dialog, never two in a row). A failure to read raises, with the busy
// cursor still on: the error boundary turns it off as it shows the error.
void SprawdzPlik(Typy::TStan& stan, TUserMessages& komunikaty, TWidokSprawdzania& widok,
                 const std::string& sciezka, const sprawdzanie::TZasady& zasady,
                 const std::function<void(std::size_t)>& zamiastOceny);

}  // namespace ui
