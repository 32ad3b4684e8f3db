#include "messages/UserMessages.h"

namespace ui {

bool TDialogPliku::Execute() {
  auto wybor = (komunikaty_.*pytanie_)(wlasciciel_);
  if (!wybor) return false;
  FileName = std::move(*wybor);
  return true;
}

}  // namespace ui
