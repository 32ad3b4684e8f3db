#pragma once
// Hand-made placement of a container's children the way the window's layout
// describes it: elements stuck to the top, bottom or left edge of whatever
// space the elements before them left, one element filling the rest, and
// the others at fixed places. Hidden elements take no space.
#include <QMargins>
#include <QObject>
#include <QWidget>
#include <vector>

class QEvent;

namespace ui {

enum class Wyrownanie { Gora, Dol, Lewo, Wypelnij };

class TLayout : public QObject {
 public:
  // `wnetrze` is the band along the container's edges that aligned
  // children leave free (edge and inner border).
  TLayout(QWidget* kontener, QMargins wnetrze);

  // Children are stacked in the order they are added: the first bottom
  // element lies lowest. Only the size across the edge is kept.
  void Dodaj(QWidget* element, Wyrownanie wyrownanie, int rozmiar = 0);
  void UstawRozmiar(QWidget* element, int rozmiar);
  int Rozmiar(QWidget* element) const;
  // The height the visible top elements take.
  int WysokoscGornych() const;
  void Uloz();

 protected:
  bool eventFilter(QObject* obj, QEvent* ev) override;

 private:
  struct Pozycja {
    QWidget* element;
    Wyrownanie wyrownanie;
    int rozmiar;
  };
  QWidget* kontener_;
  QMargins wnetrze_;
  std::vector<Pozycja> pozycje_;
};

}  // namespace ui
