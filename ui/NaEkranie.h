#pragma once
// Where a window opens: at its design position, but never sticking out of
// the screen's work area, where its title bar or its close button could not
// be reached (a large text size or display scaling makes windows larger
// than the design assumed).
#include <QPoint>
#include <QRect>

class QWidget;

namespace ui {

// The top left corner for a window whose frame is `okno` so that it lies
// wholly inside `obszar`, moved as little as possible. A window larger than
// the area keeps its top left corner, with the title bar, inside it.
QPoint PolozenieWObszarze(const QRect& okno, const QRect& obszar);

// Moves a top-level window, frame included, into the work area of the
// screen it is on.
void UmiescNaEkranie(QWidget& okno);

}  // namespace ui
