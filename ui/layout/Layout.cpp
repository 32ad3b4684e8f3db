#include "layout/Layout.h"

#include <QEvent>
#include <algorithm>

namespace ui {

TLayout::TLayout(QWidget* kontener, QMargins wnetrze)
    : QObject(kontener), kontener_(kontener), wnetrze_(wnetrze) {
  kontener_->installEventFilter(this);
}

void TLayout::Dodaj(QWidget* element, Wyrownanie wyrownanie, int rozmiar) {
  pozycje_.push_back({element, wyrownanie, rozmiar});
  element->installEventFilter(this);
  Uloz();
}

void TLayout::UstawRozmiar(QWidget* element, int rozmiar) {
  for (auto& p : pozycje_)
    if (p.element == element) p.rozmiar = rozmiar;
  Uloz();
}

int TLayout::Rozmiar(QWidget* element) const {
  for (const auto& p : pozycje_)
    if (p.element == element) return p.rozmiar;
  return 0;
}

int TLayout::WysokoscGornych() const {
  int h = 0;
  for (const auto& p : pozycje_)
    if (p.wyrownanie == Wyrownanie::Gora && !p.element->isHidden()) h += p.rozmiar;
  return h;
}

void TLayout::Uloz() {
  QRect wolne = kontener_->rect().marginsRemoved(wnetrze_);
  for (Wyrownanie w : {Wyrownanie::Gora, Wyrownanie::Dol, Wyrownanie::Lewo, Wyrownanie::Wypelnij}) {
    for (const auto& p : pozycje_) {
      if (p.wyrownanie != w || p.element->isHidden()) continue;
      QRect r;
      switch (w) {
        case Wyrownanie::Gora:
          r = QRect(wolne.left(), wolne.top(), wolne.width(), p.rozmiar);
          wolne.setTop(wolne.top() + p.rozmiar);
          break;
        case Wyrownanie::Dol:
          r = QRect(wolne.left(), wolne.bottom() + 1 - p.rozmiar, wolne.width(), p.rozmiar);
          wolne.setBottom(wolne.bottom() - p.rozmiar);
          break;
        case Wyrownanie::Lewo:
          r = QRect(wolne.left(), wolne.top(), p.rozmiar, wolne.height());
          wolne.setLeft(wolne.left() + p.rozmiar);
          break;
        case Wyrownanie::Wypelnij:
          r = wolne;
          break;
      }
      // A space that ran out leaves an element without size, never a
      // negative one.
      r.setWidth(std::max(0, r.width()));
      r.setHeight(std::max(0, r.height()));
      p.element->setGeometry(r);
    }
  }
}

bool TLayout::eventFilter(QObject* obj, QEvent* ev) {
  if (obj == kontener_) {
    if (ev->type() == QEvent::Resize) Uloz();
  } else if (ev->type() == QEvent::ShowToParent || ev->type() == QEvent::HideToParent) {
    Uloz();
  }
  return false;
}

}  // namespace ui
