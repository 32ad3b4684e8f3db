#include "messages/BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace ui {

void TBusyCursor::Ustaw(bool wlaczony) {
  ++zmiany_;
  wlaczony_ = wlaczony;
  Odswiez();
}

void TBusyCursor::ModalneOtwarte() {
  modalne_.push_back({wlaczony_, zmiany_});
  Odswiez();
}

void TBusyCursor::ModalneZamkniete() {
  if (modalne_.empty()) return;
  const Zapis z = modalne_.back();
  modalne_.pop_back();
  // Touched while the window was open: whoever touched it decided, and the
  // normal cursor stays.
  if (z.zmiany != zmiany_) wlaczony_ = false;
  Odswiez();
}

void TBusyCursor::Odswiez() {
  const bool pokaz = wlaczony_ && modalne_.empty();
  if (pokaz == pokazany_) return;
  pokazany_ = pokaz;
  Pokaz(pokaz);
}

TQtBusyCursor::~TQtBusyCursor() {
  if (Pokazany()) QGuiApplication::restoreOverrideCursor();
}

void TQtBusyCursor::Pokaz(bool pokaz) {
  if (pokaz)
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QGuiApplication::restoreOverrideCursor();
}

}  // namespace ui
