#pragma once
// Hand-made placement of a container's children the way the window's layout
// describes it: elements stuck to the top, bottom or left edge of whatever
// space the elements before them left, one element filling the rest, and
// the others at fixed places. Hidden elements take no space.
#include <QFrame>
#include <QMargins>
#include <QObject>
#include <QString>
#include <QWidget>
#include <vector>

class QEvent;

namespace ui {

enum class Wyrownanie { Gora, Dol, Lewo, Wypelnij };

class TUklad : public QObject {
 public:
  // `wnetrze` is the band along the container's edges that aligned
  // children leave free (edge and inner border).
  TUklad(QWidget* kontener, QMargins wnetrze);

  // Children are stacked in the order they are added: the first bottom
  // element lies lowest. Only the size across the edge is kept.
  void Dodaj(QWidget* element, Wyrownanie wyrownanie, int rozmiar = 0);
  void UstawRozmiar(QWidget* element, int rozmiar);
  int Rozmiar(QWidget* element) const;
  // The height the visible top elements take.
  int WysokoscGornych() const;
  void UstawWnetrze(QMargins wnetrze);
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

// A panel: optionally a raised edge, and a caption drawn at its left,
// vertically centred.
class TPanel : public QFrame {
 public:
  TPanel(const QString& nazwa, bool wypukly, QWidget* rodzic);
  void UstawNapis(const QString& napis);
  QString Napis() const { return napis_; }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  QString napis_;
};

// The splitter above a bottom-aligned panel. A drag moves a band, not the
// panel; on release the panel takes the band's place. The panel's height
// stays between its minimum height and what leaves `wolneMinimum` pixels to
// the filling element; Esc cancels the drag; with the panel hidden a drag
// does nothing.
class TSplitter : public QWidget {
 public:
  TSplitter(const QString& nazwa, TUklad& uklad, QWidget* panel, QWidget* rodzic);
  void UstawWolneMinimum(int piksele) { wolneMinimum_ = piksele; }
  bool Przeciaganie() const { return przeciaganie_; }
  // The panel height a drag may reach, given the container's height now.
  int NajwiekszaWysokosc() const;
  int NajmniejszaWysokosc() const;

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  int Ogranicz(int wysokosc) const;
  void Zakoncz();

  TUklad& uklad_;
  QWidget* panel_;
  QWidget* pasek_;
  int wolneMinimum_ = 30;
  bool przeciaganie_ = false;
  int startY_ = 0;
  int startWysokosc_ = 0;
  int nowaWysokosc_ = 0;
};

}  // namespace ui
