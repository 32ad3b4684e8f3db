#pragma once
// The list of faulty lines as the user works it: the details of a line are
// shown after a click on one of its data cells, after a key that moves the
// current cell, after each wheel notch and after code moves the current row.
// Pressing a cell makes it current at once, but the details follow only the
// release; a press with Shift extends the marked range and keeps the current
// cell.
#include <QModelIndex>
#include <functional>

#include "widgets/Siatka.h"

namespace ui {

class TSiatkaBledow : public TSiatka {
 public:
  TSiatkaBledow(const QString& nazwa, QWidget* rodzic);

  // Asked to show the details of the current row.
  std::function<void()> PoWyborze;

  // The current row as the grid counts it: the fixed header row, when the
  // grid has one, is row 0. 0 also when no cell is current.
  int BiezacyWiersz() const;
  // Makes a row current, keeping the column; a change of row asks for the
  // details as any move by code does.
  void UstawBiezacyWiersz(int wiersz);
  // Makes a cell current (grid row and grid column, the fixed column being
  // column 0) without asking for details, as filling the list does.
  void UstawBiezacaKomorkeBezZdarzenia(int wiersz, int kolumna);

  void setModel(QAbstractItemModel* model) override;
  // Typing never jumps to a row.
  void keyboardSearch(const QString&) override {}

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;

 private:
  int PierwszyWierszModelu() const;
  QModelIndex IndeksWiersza(int wiersz) const;
  void Wybrano();
  void BiezacaZmieniona(const QModelIndex& teraz, const QModelIndex& przed);

  // Inside the grid's own handling of an event, moves of the current cell
  // are the user's, answered there; outside it they are code's.
  int wlasnaObsluga_ = 0;
  bool wcisnietyNaKomorce_ = false;
  int resztaKolka_ = 0;
};

}  // namespace ui
