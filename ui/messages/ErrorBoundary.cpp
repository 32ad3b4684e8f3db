#include "messages/ErrorBoundary.h"

namespace ui {

void PokazBlad(TUserMessages& m, const std::string& komunikat) noexcept {
  try {
    m.Zajety(false);
    m.BladKrytyczny(komunikat);
  } catch (...) {
    // Nothing is left to tell the user with; the event loop goes on.
  }
}

}  // namespace ui
