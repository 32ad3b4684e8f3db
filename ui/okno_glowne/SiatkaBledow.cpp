#include "okno_glowne/SiatkaBledow.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <utility>

namespace ui {
namespace {

// Counts a scope as the grid's own handling of an event.
class TWlasna {
 public:
  explicit TWlasna(int& licznik) : licznik_(licznik) { ++licznik_; }
  ~TWlasna() { --licznik_; }
  TWlasna(const TWlasna&) = delete;
  TWlasna& operator=(const TWlasna&) = delete;

 private:
  int& licznik_;
};

}  // namespace

TSiatkaBledow::TSiatkaBledow(const QString& nazwa, QWidget* rodzic) : TSiatka(nazwa, rodzic) {}

void TSiatkaBledow::setModel(QAbstractItemModel* model) {
  TSiatka::setModel(model);
  if (auto* sm = selectionModel())
    connect(sm, &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& teraz, const QModelIndex& przed) {
              BiezacaZmieniona(teraz, przed);
            });
}

int TSiatkaBledow::PierwszyWierszModelu() const {
  return StalyWiersz() ? 1 : 0;
}

int TSiatkaBledow::BiezacyWiersz() const {
  const QModelIndex i = currentIndex();
  if (!i.isValid()) return 0;
  return i.row() + PierwszyWierszModelu();
}

QModelIndex TSiatkaBledow::IndeksWiersza(int wiersz) const {
  if (!model()) return {};
  const int kolumna = std::max(currentIndex().column(), 0);
  return model()->index(wiersz - PierwszyWierszModelu(), kolumna);
}

void TSiatkaBledow::UstawBiezacyWiersz(int wiersz) {
  const QModelIndex i = IndeksWiersza(wiersz);
  if (!i.isValid() || !selectionModel()) return;
  selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
  scrollTo(i);
}

void TSiatkaBledow::UstawBiezacaKomorkeBezZdarzenia(int wiersz, int kolumna) {
  if (!model() || !selectionModel()) return;
  const QModelIndex i = model()->index(wiersz - PierwszyWierszModelu(), kolumna - 1);
  if (!i.isValid()) return;
  TWlasna w(wlasnaObsluga_);
  selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
  scrollToTop();
}

void TSiatkaBledow::Wybrano() {
  if (PoWyborze) PoWyborze();
}

void TSiatkaBledow::BiezacaZmieniona(const QModelIndex& teraz, const QModelIndex& przed) {
  if (wlasnaObsluga_ > 0 || !teraz.isValid()) return;
  if (przed.isValid() && przed.row() == teraz.row()) return;
  Wybrano();
}

void TSiatkaBledow::keyPressEvent(QKeyEvent* e) {
  const QModelIndex przed = currentIndex();
  {
    TWlasna w(wlasnaObsluga_);
    const bool ctrl = (e->modifiers() & Qt::ControlModifier) != 0;
    if (ctrl && (e->key() == Qt::Key_Up || e->key() == Qt::Key_Down)) {
      // These only scroll the list; the current cell stays.
      verticalScrollBar()->triggerAction(e->key() == Qt::Key_Up
                                             ? QAbstractSlider::SliderSingleStepSub
                                             : QAbstractSlider::SliderSingleStepAdd);
      e->accept();
    } else {
      TSiatka::keyPressEvent(e);
    }
  }
  // A move within the row shows the same error again.
  if (currentIndex() != przed && currentIndex().isValid()) Wybrano();
}

void TSiatkaBledow::wheelEvent(QWheelEvent* e) {
  if (!hasFocus() || !model()) {
    TSiatka::wheelEvent(e);
    return;
  }
  e->accept();
  resztaKolka_ += e->angleDelta().y();
  // Each whole notch moves one row: down for a turn towards the user.
  while (resztaKolka_ >= 120 || resztaKolka_ <= -120) {
    const int krok = resztaKolka_ > 0 ? -1 : 1;
    resztaKolka_ += krok * 120;
    const QModelIndex przed = currentIndex();
    if (!przed.isValid()) continue;
    const QModelIndex cel = model()->index(przed.row() + krok, przed.column());
    if (!cel.isValid()) continue;
    {
      TWlasna w(wlasnaObsluga_);
      selectionModel()->setCurrentIndex(cel, QItemSelectionModel::ClearAndSelect);
      scrollTo(cel);
    }
    Wybrano();
  }
}

void TSiatkaBledow::mousePressEvent(QMouseEvent* e) {
  TWlasna w(wlasnaObsluga_);
  wcisnietyNaKomorce_ = false;
  // Only the left button picks a cell.
  if (e->button() != Qt::LeftButton) {
    e->accept();
    return;
  }
  const QModelIndex cel = indexAt(e->position().toPoint());
  if (!cel.isValid()) {
    e->accept();
    return;
  }
  wcisnietyNaKomorce_ = true;
  const QModelIndex biezaca = currentIndex();
  if ((e->modifiers() & Qt::ShiftModifier) && biezaca.isValid() && selectionModel()) {
    // The marked range runs from the current cell to the pressed one.
    const QModelIndex lewyGorny = model()->index(std::min(biezaca.row(), cel.row()),
                                                 std::min(biezaca.column(), cel.column()));
    const QModelIndex prawyDolny = model()->index(std::max(biezaca.row(), cel.row()),
                                                  std::max(biezaca.column(), cel.column()));
    selectionModel()->select(QItemSelection(lewyGorny, prawyDolny),
                             QItemSelectionModel::ClearAndSelect);
    e->accept();
    return;
  }
  TSiatka::mousePressEvent(e);
}

void TSiatkaBledow::mouseMoveEvent(QMouseEvent* e) {
  TWlasna w(wlasnaObsluga_);
  TSiatka::mouseMoveEvent(e);
}

void TSiatkaBledow::mouseReleaseEvent(QMouseEvent* e) {
  {
    TWlasna w(wlasnaObsluga_);
    TSiatka::mouseReleaseEvent(e);
  }
  if (e->button() != Qt::LeftButton) return;
  const bool klik = std::exchange(wcisnietyNaKomorce_, false);
  if (klik) Wybrano();
}

void TSiatkaBledow::mouseDoubleClickEvent(QMouseEvent* e) {
  // The first click of a double click has shown the details already.
  wcisnietyNaKomorce_ = false;
  e->accept();
}

void TSiatkaBledow::focusInEvent(QFocusEvent* e) {
  TWlasna w(wlasnaObsluga_);
  TSiatka::focusInEvent(e);
}

}  // namespace ui
