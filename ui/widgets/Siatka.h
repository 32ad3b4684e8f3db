#pragma once
// A grid of strings on a table view. Its fixed cells are the view's
// headers: the horizontal header is the fixed first row, the vertical header
// the fixed first column (its default texts are the row numbers 1, 2, ...),
// and the corner between them carries the first column's title. So row r of
// the grid as the user counts it (the header being row 0) is row r - 1 of
// the model.
#include <QString>
#include <QTableView>

namespace ui {

class TSiatka : public QTableView {
 public:
  TSiatka(const QString& nazwa, QWidget* rodzic);

  void UstawStalyWiersz(bool jest);
  bool StalyWiersz() const;
  void UstawStalaKolumne(bool jest);
  bool StalaKolumna() const;
  void UstawSzerokoscStalejKolumny(int piksele);
  // Height of every row, the fixed one included.
  void UstawWysokoscWiersza(int piksele);
  // Width of every non-fixed column, present and future.
  void UstawSzerokoscKolumn(int piksele);
  void UstawNapisNaroznika(const QString& napis);
  QString NapisNaroznika() const { return naroznik_; }

 protected:
  bool eventFilter(QObject* obj, QEvent* ev) override;

 private:
  QString naroznik_;
};

}  // namespace ui
