#include "widgets/Siatka.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QStyleOptionHeader>

namespace ui {

TSiatka::TSiatka(const QString& nazwa, QWidget* rodzic) : QTableView(rodzic) {
  setObjectName(nazwa);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setShowGrid(true);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  // Tab leaves the grid; arrow keys move within it.
  setTabKeyNavigation(false);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  for (QHeaderView* h : {horizontalHeader(), verticalHeader()}) {
    h->setSectionResizeMode(QHeaderView::Fixed);
    h->setSectionsClickable(false);
    h->setHighlightSections(false);
    h->setSectionsMovable(false);
    h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    h->setMinimumSectionSize(1);
  }
  horizontalHeader()->setStretchLastSection(false);
  if (auto* rog = findChild<QAbstractButton*>()) rog->installEventFilter(this);
}

void TSiatka::UstawStalyWiersz(bool jest) {
  horizontalHeader()->setVisible(jest);
}
bool TSiatka::StalyWiersz() const {
  return !horizontalHeader()->isHidden();
}
void TSiatka::UstawStalaKolumne(bool jest) {
  verticalHeader()->setVisible(jest);
}
bool TSiatka::StalaKolumna() const {
  return !verticalHeader()->isHidden();
}

void TSiatka::UstawSzerokoscStalejKolumny(int piksele) {
  verticalHeader()->setFixedWidth(piksele);
}

void TSiatka::UstawWysokoscWiersza(int piksele) {
  verticalHeader()->setDefaultSectionSize(piksele);
  horizontalHeader()->setFixedHeight(piksele);
}

void TSiatka::UstawSzerokoscKolumn(int piksele) {
  horizontalHeader()->setDefaultSectionSize(piksele);
  if (model())
    for (int c = 0; c < model()->columnCount(); ++c) setColumnWidth(c, piksele);
}

void TSiatka::UstawNapisNaroznika(const QString& napis) {
  naroznik_ = napis;
  viewport()->update();
  if (auto* rog = findChild<QAbstractButton*>()) rog->update();
}

bool TSiatka::eventFilter(QObject* obj, QEvent* ev) {
  // The corner is drawn as a header section with the first column's title.
  auto* rog = qobject_cast<QAbstractButton*>(obj);
  if (rog && ev->type() == QEvent::Paint) {
    QStyleOptionHeader opt;
    // The button is disabled so a click does nothing, but the title must
    // read like the other headers, not greyed out: it takes the state and
    // colours of the fixed column it heads.
    opt.initFrom(verticalHeader());
    opt.rect = rog->rect();
    opt.position = QStyleOptionHeader::OnlyOneSection;
    opt.text = naroznik_;
    opt.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    QPainter p(rog);
    rog->style()->drawControl(QStyle::CE_Header, &opt, &p, rog);
    return true;
  }
  return QTableView::eventFilter(obj, ev);
}

}  // namespace ui
