#pragma once
// Where a window opens: at its design position, but never sticking out of
// the screen's work area, where its title bar or its close button could not
// be reached (a large text size or display scaling makes windows larger
// than the design assumed). The frame that counts is the one the system
// draws, known only once the window is shown; Qt's estimate before that
// can be a few pixels off, and at 150 % that put the report window past
// the screen's edge and over the taskbar.
#include <QPoint>
#include <QRect>

class QWidget;

namespace ui {

// The top left corner for a window whose frame is `okno` so that it lies
// wholly inside `obszar`, moved as little as possible. A window larger than
// the area keeps its top left corner, with the title bar, inside it.
QPoint PolozenieWObszarze(const QRect& okno, const QRect& obszar);

// The work area less a taskbar docked on one of its edges that the system
// left inside it (wine's desktop does; Windows leaves it out already).
QRect ObszarBezPaska(const QRect& obszar, const QRect& pasek);

// A window's frame as the system draws it and the work area of its screen,
// in one coordinate system (the system's pixels on Windows).
struct TRamkaNaEkranie {
  QRect ramka;
  QRect obszar;
};
TRamkaNaEkranie RamkaNaEkranie(QWidget& okno);

// Moves a top-level window, frame included, into the work area of the
// screen it is on.
void UmiescNaEkranie(QWidget& okno);

// Shows a top-level window inside the work area: placed before showing
// from the frame Qt expects, then at once from the frame the system drew,
// and once more when the system has handled the showing.
void PokazNaEkranie(QWidget& okno);

}  // namespace ui
