#pragma once
// The check command's sequence, apart from how a window shows each step:
// the busy cursor, the file read into the verification state, the outcome
// dialog. The main window supplies the steps it shows.
#include <cstddef>
#include <functional>
#include <string>

#include "messages/UserMessages.h"

namespace Typy {
struct TStan;
}

namespace ui {

// What a window shows of a check, step by step.
class TWidokSprawdzania {
 public:
  virtual ~TWidokSprawdzania() = default;
  // Before the read: nothing of the previous check is shown, and nothing
  // can be saved or reported until this check ends.
  virtual void Wyczysc() = 0;
  // After the read: the faulty lines, their report, the count and whatever
  // else the outcome offers.
  virtual void PokazWynik(std::size_t ileBledow) = 0;
  // Just before the outcome dialog.
  virtual void PokazOcene(std::size_t ileBledow) = 0;
  // After the outcome dialog: what the check found beside the characters.
  virtual void PoOcenie() {}
};

// Checks the file at `sciezka` into `stan`. `zamiastOceny`, if given, runs
// with the count of faulty lines in place of the outcome dialog, once the
// window shows the outcome (a caller whose own message already tells it:
// one dialog, never two in a row). A failure to read raises, with the busy
// cursor still on: the error boundary turns it off as it shows the error.
void SprawdzPlik(Typy::TStan& stan, TUserMessages& komunikaty, TWidokSprawdzania& widok,
                 const std::string& sciezka, const std::function<void(std::size_t)>& zamiastOceny);

}  // namespace ui
