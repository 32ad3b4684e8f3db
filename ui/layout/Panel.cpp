#include "layout/Panel.h"

#include <QPainter>

namespace ui {

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

}  // namespace ui
