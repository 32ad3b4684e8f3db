#pragma once
// The error boundary: no exception leaves an event handler. Every handler
// of the windows runs inside Chron; what escapes it is shown in the error
// box.
#include <exception>
#include <string>

#include "messages/UserMessages.h"
#include "typy/TekstBledu.h"

namespace ui {

// Shows an error that escaped a handler: busy cursor off, then the error
// box. Never throws.
void PokazBlad(TUserMessages& m, const std::string& komunikat) noexcept;
// The same for what is not a std::exception.
void PokazNieznanyBlad(TUserMessages& m) noexcept;

// Runs one event handler so that no exception leaves it: an input/output
// error or any other std::exception ends the handler and is shown in the
// error box, a lack of memory as "Out of memory".
template <class F>
void Chron(TUserMessages& m, F&& handler) noexcept {
  try {
    handler();
  } catch (const std::exception& e) {
    PokazBlad(m, Typy::bledy::Opis(e));
  } catch (...) {
    PokazNieznanyBlad(m);
  }
}

}  // namespace ui
