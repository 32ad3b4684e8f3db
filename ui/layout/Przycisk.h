#pragma once
// A push button that takes Enter as the platform's buttons do: only with
// no Shift, Ctrl or Alt held. With one of them, Enter presses nothing and
// goes on to the window like any key the button does not take.
#include <QKeyEvent>
#include <QPushButton>

namespace ui {

class TPrzycisk : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (enter && (e->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
      e->ignore();
      return;
    }
    QPushButton::keyPressEvent(e);
  }
};

}  // namespace ui
