#pragma once
// Where everything of a message dialog goes, measured with the dialog's
// font: the one place the dialog's size is worked out.
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

namespace ui {

// In pixels of the dialog's inner area.
struct TMessageLayout {
  int SredniaSzerokosc = 0;  // average character width
  int WysokoscLinii = 0;
  QRect Ikona;  // empty without an icon
  QRect Tekst;
  QRect Przycisk;
  QSize Wnetrze;  // inner (client) size
};
TMessageLayout ObliczUkladKomunikatu(const QFont& czcionka, const QString& tekst, bool zIkona,
                                     int szerokoscEkranu, const QString& napisPrzycisku);

}  // namespace ui
