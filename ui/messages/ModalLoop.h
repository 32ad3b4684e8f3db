#pragma once
// A window of its own shown modally, as the report window and the list of
// account findings are: the message facility knows a modal window is open
// (the busy cursor yields to it), the window is kept inside the screen the
// first time, and the call returns once the window is hidden.
class QHideEvent;
class QEventLoop;
class QWidget;

namespace ui {

class TUserMessages;

class TModalLoop {
 public:
  // Shows `okno` application-modal until it is hidden. With `umiesc` it is
  // kept inside the screen's work area (PokazNaEkranie).
  void Pokaz(QWidget& okno, TUserMessages& komunikaty, bool umiesc);
  // From the window's hideEvent: the program or the user hid it, which
  // ends the loop; the system minimising it does not.
  void Ukryte(const QHideEvent& e);

 private:
  QEventLoop* petla_ = nullptr;
};

}  // namespace ui
