#pragma once
// The window of wrong account numbers and transfer fields: one row per
// finding (line, column, field, what is wrong, the value as written), the
// whole line of the selected row below with the value marked, the list
// copyable with Ctrl+C. Opened from the main window's list strip, modally;
// Esc or "Zamknij" closes it.
#include <QAbstractTableModel>
#include <QFont>
#include <QWidget>
#include <vector>

#include "BudowaOkna.h"
#include "ErrorBoundary.h"
#include "Panel.h"
#include "PetlaModalna.h"
#include "Uklad.h"
#include "UserMessages.h"
#include "WidokLinii.h"
#include "rachunki/UwagiStanu.h"

class QHideEvent;
class QKeyEvent;
class QLabel;
class QPushButton;
class QTableView;

namespace Typy {
struct TStan;
}

namespace ui {

// The findings as a table model; cells are made from the state's lines when
// asked for.
class TModelUwag : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;
  static constexpr int kKolumn = 5;

  void Ustaw(const Typy::TStan* stan, std::vector<rachunki::TUwagaLinii> uwagi);
  const std::vector<rachunki::TUwagaLinii>& Uwagi() const { return uwagi_; }
  // The value of a finding as written in its line, in Windows-1250.
  std::string_view Wartosc(int wiersz) const;
  std::string_view Linia(int wiersz) const;

  int rowCount(const QModelIndex& rodzic = {}) const override;
  int columnCount(const QModelIndex& rodzic = {}) const override;
  QVariant data(const QModelIndex& indeks, int rola = Qt::DisplayRole) const override;
  QVariant headerData(int sekcja, Qt::Orientation kierunek,
                      int rola = Qt::DisplayRole) const override;

 private:
  const Typy::TStan* stan_ = nullptr;
  std::vector<rachunki::TUwagaLinii> uwagi_;
};

}  // namespace ui

class TFormRachunki : public QWidget {
 public:
  explicit TFormRachunki(ui::TUserMessages& komunikaty, const QFont& czcionka = ui::CzcionkaOkna(),
                         QWidget* rodzic = nullptr);
  int Skaluj(int piksele) const { return skala_(piksele); }

  // The findings to show, of the lines of `stan`, which must outlive their
  // showing. The first row is selected.
  void Ustaw(const Typy::TStan& stan, std::vector<rachunki::TUwagaLinii> uwagi);
  // Shows the window modally; returns when the user has closed it.
  void PokazModalnie();
  // What Ctrl+C puts on the clipboard: a header line, then the selected
  // rows (every row when none is), tab-separated.
  QString TekstDoSchowka() const;

  ui::TPanel* Panel1 = nullptr;
  QTableView* ListaUwag = nullptr;
  ui::TPanel* Panel2 = nullptr;
  QLabel* LabelLinia = nullptr;
  ui::TWidokLinii* MemoLinia = nullptr;
  QPushButton* ButtonZamknij = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  bool eventFilter(QObject* obj, QEvent* ev) override;
  void hideEvent(QHideEvent* e) override;

 private:
  void Zbuduj(const QFont& czcionka);
  void PokazWybrany();
  void DopasujKolumny();
  template <class F>
  void Obsluz(F&& f) {
    ui::Chron(komunikaty_, std::forward<F>(f));
  }

  ui::TUserMessages& komunikaty_;
  ui::TSkala skala_;
  ui::TModelUwag* model_ = nullptr;
  ui::TPetlaModalna petla_;
  bool pokazane_ = false;
};
