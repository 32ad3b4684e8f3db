#include "messages/MessageLayout.h"

#include <QFontMetrics>
#include <algorithm>

namespace ui {

namespace {

// a * b / c rounded to the nearest whole number, for non-negative values.
int MulDiv(int a, int b, int c) {
  return (a * b + c / 2) / c;
}

constexpr int kIkona = 32;

}  // namespace

TMessageLayout ObliczUkladKomunikatu(const QFont& czcionka, const QString& tekst, bool zIkona,
                                     int szerokoscEkranu, const QString& napisPrzycisku) {
  const QFontMetrics fm(czcionka);
  const QString litery = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  TMessageLayout u;
  u.SredniaSzerokosc = fm.horizontalAdvance(litery) / 52;
  u.WysokoscLinii = fm.boundingRect(QRect(0, 0, 10000, 10000), 0, litery).height();
  const int x = u.SredniaSzerokosc;
  const int y = u.WysokoscLinii;

  const int marginesBoczny = MulDiv(8, x, 4);
  const int marginesPionowy = MulDiv(8, y, 8);
  const int odstepIkony = MulDiv(10, x, 4);
  const int odstepPrzycisku = MulDiv(10, y, 8);
  const int wysokoscPrzycisku = MulDiv(14, y, 8);
  const int szerokoscPrzycisku =
      std::max(MulDiv(50, x, 4), fm.horizontalAdvance(napisPrzycisku) + 8);

  const QRect blok = fm.boundingRect(QRect(0, 0, szerokoscEkranu / 2, 0),
                                     Qt::TextWordWrap | Qt::TextExpandTabs, tekst);
  int szerTekstu = blok.width();
  int wysTekstu = blok.height();
  const int czescIkony = zIkona ? kIkona + odstepIkony : 0;
  if (zIkona) wysTekstu = std::max(wysTekstu, kIkona);

  const int wiersz = szerokoscPrzycisku;  // one button
  const int szerWnetrza = std::max(czescIkony + szerTekstu, wiersz) + 2 * marginesBoczny;
  const int wysWnetrza = wysTekstu + odstepPrzycisku + wysokoscPrzycisku + 2 * marginesPionowy;

  if (zIkona) u.Ikona = QRect(marginesBoczny, marginesPionowy, kIkona, kIkona);
  u.Tekst = QRect(marginesBoczny + czescIkony, marginesPionowy, szerTekstu, wysTekstu);
  u.Przycisk = QRect((szerWnetrza - wiersz) / 2, marginesPionowy + wysTekstu + odstepPrzycisku,
                     szerokoscPrzycisku, wysokoscPrzycisku);
  u.Wnetrze = QSize(szerWnetrza, wysWnetrza);
  return u;
}

}  // namespace ui
