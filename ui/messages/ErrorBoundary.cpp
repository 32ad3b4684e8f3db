#include "messages/ErrorBoundary.h"

#include "TekstyOkien.h"

namespace ui {

void PokazBlad(TUserMessages& m, const std::string& komunikat) noexcept {
  try {
    m.Zajety(false);
    m.BladKrytyczny(komunikat);
  } catch (...) {
    // Nothing is left to tell the user with; the event loop goes on.
  }
}

void PokazNieznanyBlad(TUserMessages& m) noexcept {
  try {
    PokazBlad(m, teksty::komunikaty::kNieznanyBlad.str());
  } catch (...) {
    // As above: no memory left even for the words.
  }
}

}  // namespace ui
