#include "widgets/Ikony.h"

#include <QPainter>
#include <QPainterPath>

namespace ui {

namespace {

void RysujZnak(QPainter& p, const QRectF& r, const QColor& kolor, qreal grubosc) {
  QPainterPath znak;
  znak.moveTo(r.left() + r.width() * 0.12, r.top() + r.height() * 0.55);
  znak.lineTo(r.left() + r.width() * 0.40, r.top() + r.height() * 0.82);
  znak.lineTo(r.left() + r.width() * 0.88, r.top() + r.height() * 0.18);
  p.setPen(QPen(kolor, grubosc, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(znak);
}

}  // namespace

QPixmap ZnakZatwierdzenia(bool aktywny) {
  QPixmap obraz(18, 18);
  obraz.fill(Qt::transparent);
  QPainter p(&obraz);
  p.setRenderHint(QPainter::Antialiasing);
  if (aktywny) {
    RysujZnak(p, QRectF(1, 1, 17, 17), QColor(0, 64, 0), 3.6);
    RysujZnak(p, QRectF(1, 1, 17, 17), QColor(0, 160, 0), 2.4);
  } else {
    // Embossed grey, as a disabled picture looks.
    RysujZnak(p, QRectF(2, 2, 17, 17), QColor(255, 255, 255), 2.4);
    RysujZnak(p, QRectF(1, 1, 17, 17), QColor(128, 128, 128), 2.4);
  }
  return obraz;
}

QIcon IkonaZatwierdzenia() {
  QIcon ikona;
  ikona.addPixmap(ZnakZatwierdzenia(true), QIcon::Normal);
  ikona.addPixmap(ZnakZatwierdzenia(false), QIcon::Disabled);
  return ikona;
}

QImage ObrazIkonyProgramu(int rozmiar) {
  QImage obraz(rozmiar, rozmiar, QImage::Format_ARGB32_Premultiplied);
  obraz.fill(Qt::transparent);
  QPainter p(&obraz);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal s = rozmiar / 32.0;
  // The sheet.
  p.setPen(QPen(QColor(60, 60, 60), 1.0 * s));
  p.setBrush(QColor(255, 255, 255));
  p.drawRect(QRectF(5 * s, 2 * s, 20 * s, 27 * s));
  // Its lines, one marked red as a faulty line.
  for (int i = 0; i < 5; ++i) {
    const qreal y = (7 + 4 * i) * s;
    p.setPen(QPen(i == 2 ? QColor(220, 0, 0) : QColor(70, 90, 160), 1.6 * s));
    p.drawLine(QPointF(8 * s, y), QPointF(22 * s, y));
  }
  RysujZnak(p, QRectF(13 * s, 13 * s, 18 * s, 18 * s), QColor(0, 64, 0), 4.5 * s);
  RysujZnak(p, QRectF(13 * s, 13 * s, 18 * s, 18 * s), QColor(0, 170, 0), 3.0 * s);
  return obraz;
}

QIcon IkonaProgramu() {
  QIcon ikona;
  for (int rozmiar : {16, 32, 48, 64})
    ikona.addPixmap(QPixmap::fromImage(ObrazIkonyProgramu(rozmiar)));
  return ikona;
}

}  // namespace ui
