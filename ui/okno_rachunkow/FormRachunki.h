#pragma once
// The window of wrong account numbers and transfer fields: what the file's
// transfers add up to above the list (shown when it has any), one row per
// finding or warning (line, column, field, what is wrong, the value as
// written, the bank of an account by the central bank's list), the whole
// line of the selected row below with the value marked, the list copyable
// with Ctrl+C. Below the line, the list of banks in use by its date, and
// "Wykaz banków…" to take a newer one. Opened from the main window's list
// strip, modally;
// Esc or "Zamknij" closes it.
#include <QFont>
#include <QWidget>
#include <functional>
#include <vector>

#include "layout/Layout.h"
#include "layout/Panel.h"
#include "layout/WindowBuilder.h"
#include "messages/ErrorBoundary.h"
#include "messages/ModalLoop.h"
#include "messages/UserMessages.h"
#include "okno_rachunkow/ModelUwag.h"
#include "rachunki/PodsumowanieStanu.h"
#include "widgets/WidokLinii.h"

class QHideEvent;
class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace Typy {
struct TStan;
}

class TFormRachunki : public QWidget {
 public:
  explicit TFormRachunki(ui::TUserMessages& komunikaty, const QFont& czcionka = ui::CzcionkaOkna(),
                         QWidget* rodzic = nullptr);
  int Skaluj(int piksele) const { return skala_(piksele); }

  // The findings, warnings and sums to show, of the lines of `stan`, which
  // must outlive their showing. The first row is selected.
  void Ustaw(const Typy::TStan& stan, const rachunki::TRachunkiStanu& wynik);
  // Shows the window modally; returns when the user has closed it.
  void PokazModalnie();
  // What Ctrl+C puts on the clipboard: a header line, then the selected
  // rows (every row when none is), tab-separated.
  QString TekstDoSchowka() const;

  QPlainTextEdit* MemoPodsumowanie = nullptr;
  ui::TPanel* Panel1 = nullptr;
  QTableView* ListaUwag = nullptr;
  ui::TPanel* Panel2 = nullptr;
  QLabel* LabelLinia = nullptr;
  ui::TWidokLinii* MemoLinia = nullptr;
  QPushButton* ButtonZamknij = nullptr;
  QPushButton* ButtonWykaz = nullptr;
  QLabel* LabelWykaz = nullptr;
  // "Wykaz banków…": the main window takes the list and shows the findings
  // again by it.
  std::function<void()> WybierzWykaz;

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
  ui::TScale skala_;
  ui::TModelUwag* model_ = nullptr;
  ui::TModalLoop petla_;
  bool pokazane_ = false;
};
