#include "layout/Splitter.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace ui {

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

TSplitter::TSplitter(const QString& nazwa, TLayout& uklad, QWidget* panel, QWidget* rodzic)
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
