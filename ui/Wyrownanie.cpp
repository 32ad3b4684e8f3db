#include "Wyrownanie.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace ui {

TUklad::TUklad(QWidget* kontener, QMargins wnetrze)
    : QObject(kontener), kontener_(kontener), wnetrze_(wnetrze) {
  kontener_->installEventFilter(this);
}

void TUklad::Dodaj(QWidget* element, Wyrownanie wyrownanie, int rozmiar) {
  pozycje_.push_back({element, wyrownanie, rozmiar});
  element->installEventFilter(this);
  Uloz();
}

void TUklad::UstawRozmiar(QWidget* element, int rozmiar) {
  for (auto& p : pozycje_)
    if (p.element == element) p.rozmiar = rozmiar;
  Uloz();
}

int TUklad::Rozmiar(QWidget* element) const {
  for (const auto& p : pozycje_)
    if (p.element == element) return p.rozmiar;
  return 0;
}

int TUklad::WysokoscGornych() const {
  int h = 0;
  for (const auto& p : pozycje_)
    if (p.wyrownanie == Wyrownanie::Gora && !p.element->isHidden()) h += p.rozmiar;
  return h;
}

void TUklad::UstawWnetrze(QMargins wnetrze) {
  wnetrze_ = wnetrze;
  Uloz();
}

void TUklad::Uloz() {
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

bool TUklad::eventFilter(QObject* obj, QEvent* ev) {
  if (obj == kontener_) {
    if (ev->type() == QEvent::Resize) Uloz();
  } else if (ev->type() == QEvent::ShowToParent || ev->type() == QEvent::HideToParent) {
    Uloz();
  }
  return false;
}

TPanel::TPanel(const QString& nazwa, bool wypukly, QWidget* rodzic) : QFrame(rodzic) {
  setObjectName(nazwa);
  if (wypukly) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
  } else {
    setFrameStyle(QFrame::NoFrame);
  }
}

void TPanel::UstawNapis(const QString& napis) {
  napis_ = napis;
  update();
}

void TPanel::paintEvent(QPaintEvent* e) {
  QFrame::paintEvent(e);
  if (napis_.isEmpty()) return;
  QPainter p(this);
  p.setPen(palette().color(QPalette::WindowText));
  p.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, napis_);
}

namespace {

// The band that follows the pointer during a drag.
class TPasek : public QWidget {
 public:
  explicit TPasek(QWidget* rodzic) : QWidget(rodzic) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), QBrush(palette().color(QPalette::WindowText), Qt::Dense4Pattern));
  }
};

}  // namespace

TSplitter::TSplitter(const QString& nazwa, TUklad& uklad, QWidget* panel, QWidget* rodzic)
    : QWidget(rodzic), uklad_(uklad), panel_(panel), pasek_(new TPasek(rodzic)) {
  setObjectName(nazwa);
  setCursor(Qt::SplitVCursor);
  setFocusPolicy(Qt::NoFocus);
}

int TSplitter::NajmniejszaWysokosc() const {
  return panel_->minimumHeight();
}

int TSplitter::NajwiekszaWysokosc() const {
  const QWidget* kontener = parentWidget();
  return kontener->height() - uklad_.WysokoscGornych() - height() - wolneMinimum_;
}

int TSplitter::Ogranicz(int wysokosc) const {
  // The minimum wins in a window too low for both bounds.
  return std::max(NajmniejszaWysokosc(), std::min(wysokosc, NajwiekszaWysokosc()));
}

void TSplitter::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || panel_->isHidden() || przeciaganie_) return;
  przeciaganie_ = true;
  startY_ = e->globalPosition().toPoint().y();
  startWysokosc_ = uklad_.Rozmiar(panel_);
  nowaWysokosc_ = startWysokosc_;
  pasek_->setGeometry(geometry());
  pasek_->show();
  pasek_->raise();
  grabKeyboard();
}

void TSplitter::mouseMoveEvent(QMouseEvent* e) {
  if (!przeciaganie_) return;
  const int dy = startY_ - e->globalPosition().toPoint().y();
  nowaWysokosc_ = Ogranicz(startWysokosc_ + dy);
  pasek_->move(x(), y() - (nowaWysokosc_ - startWysokosc_));
}

void TSplitter::mouseReleaseEvent(QMouseEvent* e) {
  if (!przeciaganie_ || e->button() != Qt::LeftButton) return;
  Zakoncz();
  uklad_.UstawRozmiar(panel_, nowaWysokosc_);
}

void TSplitter::keyPressEvent(QKeyEvent* e) {
  if (przeciaganie_ && e->key() == Qt::Key_Escape) {
    Zakoncz();
    return;
  }
  QWidget::keyPressEvent(e);
}

void TSplitter::Zakoncz() {
  przeciaganie_ = false;
  pasek_->hide();
  releaseKeyboard();
}

}  // namespace ui
