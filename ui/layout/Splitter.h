#pragma once
// The splitter that lets the user share a window's height between its
// filling element and a bottom-aligned panel.
#include <QString>
#include <QWidget>

#include "layout/Layout.h"

namespace ui {

// The splitter above a bottom-aligned panel. A drag moves a band, not the
// panel; on release the panel takes the band's place. The panel's height
// stays between its minimum height and what leaves `wolneMinimum` pixels to
// the filling element; Esc cancels the drag; with the panel hidden a drag
// does nothing.
class TSplitter : public QWidget {
 public:
  TSplitter(const QString& nazwa, TLayout& uklad, QWidget* panel, QWidget* rodzic);
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

  TLayout& uklad_;
  QWidget* panel_;
  QWidget* pasek_;
  int wolneMinimum_ = 30;
  bool przeciaganie_ = false;
  int startY_ = 0;
  int startWysokosc_ = 0;
  int nowaWysokosc_ = 0;
};

}  // namespace ui
