#include "messages/ModalLoop.h"

#include <QEventLoop>
#include <QHideEvent>
#include <QWidget>

#include "layout/OnScreen.h"
#include "messages/UserMessages.h"

namespace ui {

void TModalLoop::Pokaz(QWidget& okno, TUserMessages& komunikaty, bool umiesc) {
  if (okno.isVisible()) return;
  TOknoModalne modalne(komunikaty);
  okno.setWindowModality(Qt::ApplicationModal);
  QEventLoop petla;
  petla_ = &petla;
  if (umiesc)
    PokazNaEkranie(okno);
  else
    okno.show();
  okno.raise();
  okno.activateWindow();
  if (okno.isVisible()) petla.exec(QEventLoop::DialogExec);
  petla_ = nullptr;
}

void TModalLoop::Ukryte(const QHideEvent& e) {
  if (petla_ && !e.spontaneous()) petla_->quit();
}

}  // namespace ui
