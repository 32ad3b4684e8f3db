#pragma once
// The strip above the error list: right of the error count, what the last
// check has to say (a sentence) and what the user can do about it (a
// button). Each text is measured with the font it is drawn in, so another
// face or a larger text size never clips it: a button keeps its whole text,
// and the sentences share what is left, shortened when they must (the whole
// sentence stays the label's tooltip and accessible name).
#include <QString>
#include <span>

class QLabel;
class QPushButton;

namespace ui {

struct TWpisPaska {
  QLabel* Etykieta = nullptr;
  QString Zdanie;
  // None when there is nothing to do; keeps the layout's width or widens
  // to its text.
  QPushButton* Przycisk = nullptr;
  // Where a shortened sentence loses its text: a count at its end keeps
  // the end.
  Qt::TextElideMode Skrot = Qt::ElideRight;
};

// Places the entries left to right from `x` up to `prawa` (exclusive):
// `przerwa` between a sentence and its button, twice that between entries.
// Labels keep their y, buttons theirs; showing them is the caller's.
void UlozPasek(std::span<const TWpisPaska> wpisy, int x, int prawa, int przerwa);

}  // namespace ui
