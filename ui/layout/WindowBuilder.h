#pragma once
// What both windows are built from: their fonts, the scale of a layout drawn
// for a 13-pixel text height, and one loop that turns a window's layout
// table into its elements. A row of the table names an element, its kind,
// its parent, its place and size at design, its text, its font and how it
// is placed; a changed position is one changed row.
#include <QFont>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QString>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>

#include "layout/Layout.h"
#include "layout/Panel.h"
#include "layout/Splitter.h"

class QWidget;

namespace ui {

// --- Fonts ------------------------------------------------------------------

// The layout's own faces first; where they are missing, named fallbacks of
// the same kind, so every machine with the installed fonts looks the same.
// "MS Sans Serif" 8 point, or a proportional sans-serif.
QFont CzcionkaOkna();
// "Courier New" in the given size, or a monospaced face.
QFont CzcionkaStalaSzerokosc(int punkty);

// --- Scale ------------------------------------------------------------------

// Lengths of a layout given for a 13-pixel text height, in pixels of a
// window font of another height.
class TScale {
 public:
  static constexpr int kWysokoscWzorcowa = 13;

  explicit TScale(int wysokoscTekstu = kWysokoscWzorcowa) : wysokosc_(wysokoscTekstu) {}
  int WysokoscTekstu() const { return wysokosc_; }

  int operator()(int piksele) const {
    return (piksele * wysokosc_ + (piksele >= 0 ? kWysokoscWzorcowa / 2 : -kWysokoscWzorcowa / 2)) /
           kWysokoscWzorcowa;
  }
  // Edges are scaled, so neighbours that touch at design still touch.
  QRect Prostokat(int l, int t, int w, int h) const {
    const int x = (*this)(l);
    const int y = (*this)(t);
    return QRect(x, y, (*this)(l + w) - x, (*this)(t + h) - y);
  }
  QPoint Punkt(int l, int t) const { return QPoint((*this)(l), (*this)(t)); }
  // An element's own font grows and shrinks with the layout.
  QFont Czcionka(QFont f) const {
    if (wysokosc_ != kWysokoscWzorcowa)
      f.setPointSizeF(f.pointSizeF() * wysokosc_ / kWysokoscWzorcowa);
    return f;
  }

 private:
  int wysokosc_;
};

// A window of its own beside the main one (the report, the account findings):
// its name, title, caption buttons and font. Closing it only hides it; the
// program ends with the main window. Returns the scale of its font.
TScale UstawOknoWlasne(QWidget* okno, const QString& nazwa, const QString& tytul,
                       const QFont& czcionka);

// --- The layout table ---------------------------------------------------------

enum class TRodzaj {
  PanelWypukly,               // panel, raised edge
  PanelWypuklyZObramowaniem,  // panel, raised edge, 5-pixel inner border
  PanelPlaski,                // panel without edge
  PanelPlaskiZObramowaniem,   // panel without edge, 5-pixel inner border
  Ramka,                      // group frame with caption
  Przycisk,                   // push button
  Etykieta,                   // label, sized to its text
  Pole,                       // single-line edit of one character
  Wlasny,                     // made by the window itself
};

enum class TCzcionka {
  Okna,              // the window's font, inherited
  Pogrubiona,        // the window's font, bold
  StalaSzerokosc8,   // "Courier New" 8 point, scaled with the layout
  StalaSzerokosc10,  // "Courier New" 10 point, scaled with the layout
};

enum class TMiejsce {
  Stale,     // at its position within the parent
  Gora,      // takes the top of what the rows before it left
  Dol,       // takes the bottom: the first bottom row lies lowest
  Lewo,      // takes the left side
  Wypelnij,  // takes what is left
};

enum Poczatkowo : unsigned { kWidoczny = 0, kUkryty = 1, kWylaczony = 2 };

struct TElementUkladu {
  const char* Nazwa;
  TRodzaj Rodzaj;
  const char* Rodzic;                   // nullptr: the window
  int Lewo, Gora, Szerokosc, Wysokosc;  // at design; a label's size follows its text
  std::string_view Tekst;               // Windows-1250
  TCzcionka Czcionka;
  TMiejsce Miejsce;
  unsigned Stan = kWidoczny;
};

// The short names a window's layout table is written in.
namespace nazwy_ukladu {
using Czcionka = TCzcionka;
using Miejsce = TMiejsce;
using Rodzaj = TRodzaj;
using ui::kUkryty;
using ui::kWylaczony;
}  // namespace nazwy_ukladu

// Builds a window's elements from its table, row by row, in the table's
// order (which is also their stacking order).
class TWindowBuilder {
 public:
  // Makes the element of a `Wlasny` row; the loop then names, places and
  // sets it up like any other.
  using Tworzenie = std::function<QWidget*(const TElementUkladu& wiersz, QWidget* rodzic)>;

  TWindowBuilder(QWidget* okno, const TScale& skala) : okno_(okno), skala_(skala) {}

  void Zbuduj(std::span<const TElementUkladu> tabela, const Tworzenie& wlasne = {});

  QWidget* Element(std::string_view nazwa) const;
  // Sets a window's member to the element of that name.
  template <class T>
  void Przypisz(T*& cel, std::string_view nazwa) const {
    cel = static_cast<T*>(Element(nazwa));
  }
  // The placement of a container's aligned children.
  TLayout& Uklad(QWidget* kontener);

 private:
  QWidget* Nowy(const TElementUkladu& w, QWidget* rodzic);
  QMargins Wnetrze(const QWidget* kontener) const;

  QWidget* okno_;
  TScale skala_;
  std::map<std::string, QWidget*, std::less<>> elementy_;
  std::map<QWidget*, TRodzaj> rodzaje_;
  std::map<QWidget*, TLayout*> uklady_;
};

}  // namespace ui
