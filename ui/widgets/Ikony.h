#pragma once
// Pictures of our own drawing: the check mark of the confirm button and the
// program icon.
#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace ui {

// A green check mark on 18 x 18 pixels, with a grey form for a disabled
// button.
QIcon IkonaZatwierdzenia();
QPixmap ZnakZatwierdzenia(bool aktywny);

// The program icon: a sheet of lines with a check mark. The window takes it
// at the sizes of a title bar; the installed theme icons are rendered from
// the same drawing at any size.
QIcon IkonaProgramu();
QImage ObrazIkonyProgramu(int rozmiar);

}  // namespace ui
