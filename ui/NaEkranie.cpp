#include "NaEkranie.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace ui {

QPoint PolozenieWObszarze(const QRect& okno, const QRect& obszar) {
  // The far edge first, then the near one: when both cannot hold, the top
  // left corner wins.
  const int x =
      std::max(std::min(okno.x(), obszar.x() + obszar.width() - okno.width()), obszar.x());
  const int y =
      std::max(std::min(okno.y(), obszar.y() + obszar.height() - okno.height()), obszar.y());
  return {x, y};
}

void UmiescNaEkranie(QWidget& okno) {
  // A native window knows its frame before it is shown (on Windows); the
  // frame then counts.
  okno.winId();
  const QRect ramka = okno.frameGeometry();
  const QScreen* ekran = QGuiApplication::screenAt(ramka.center());
  if (!ekran) ekran = okno.screen();
  if (!ekran) return;
  const QPoint cel = PolozenieWObszarze(ramka, ekran->availableGeometry());
  if (cel != ramka.topLeft()) okno.move(okno.pos() + (cel - ramka.topLeft()));
}

}  // namespace ui
