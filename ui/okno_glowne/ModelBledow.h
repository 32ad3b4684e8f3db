#pragma once
// The two lists of the main window as table models over the verification
// state: nothing is copied per cell, so a file with any number of faulty
// lines fills its list at once. The grid's fixed column ("Lp") is the
// vertical header and its fixed row the horizontal header (see widgets/Siatka.h).
#include <QAbstractTableModel>
#include <QString>
#include <string>
#include <vector>

#include "typy/Typy.h"

namespace ui {

// The list of faulty lines: one row per record of Bledy.
class TModelBledow : public QAbstractTableModel {
 public:
  explicit TModelBledow(const Typy::TBledy& bledy, QObject* rodzic = nullptr);

  // The grid without a fixed row: a single row that holds the headers.
  void UstawSamNaglowek();
  // The grid with a fixed header row and one row per record.
  void UstawRekordy(int liczba);
  bool StalyWiersz() const { return staly_; }

  int rowCount(const QModelIndex& rodzic = {}) const override;
  int columnCount(const QModelIndex& rodzic = {}) const override;
  QVariant data(const QModelIndex& indeks, int rola = Qt::DisplayRole) const override;
  QVariant headerData(int sekcja, Qt::Orientation kierunek,
                      int rola = Qt::DisplayRole) const override;

 private:
  const Typy::TBledy& bledy_;
  bool staly_ = false;
  int liczba_ = 0;
  // A record is built from its line on demand; the cells of one row ask
  // for it in turn.
  mutable int wierszWPamieci_ = -1;
  mutable Typy::TRecError rekord_;
};

// A faulty byte of a line and its 1-based position.
struct TBlednyZnak {
  char Znak;
  std::size_t Pozycja;
};

// The faulty characters of the selected line with their positions.
class TModelZnakow : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;

  // One row per faulty byte, in the line's order.
  void Ustaw(std::vector<TBlednyZnak> znaki);

  int rowCount(const QModelIndex& rodzic = {}) const override;
  int columnCount(const QModelIndex& rodzic = {}) const override;
  QVariant data(const QModelIndex& indeks, int rola = Qt::DisplayRole) const override;
  QVariant headerData(int sekcja, Qt::Orientation kierunek,
                      int rola = Qt::DisplayRole) const override;

 private:
  std::vector<TBlednyZnak> znaki_;
};

// Headers of the two lists, the fixed column's title first.
QString NaglowekBledow(int kolumnaSiatki);  // 0 "Lp" to 3 "Błędne znaki"
QString NaglowekZnakow(int kolumnaSiatki);  // 0 "Lp" to 2 "Pozycja w linii"

}  // namespace ui
