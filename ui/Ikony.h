#pragma once
// Pictures of our own drawing: the check mark of the confirm button and the
// program icon.
#include <QIcon>
#include <QPixmap>

namespace ui {

// A green check mark on 18 x 18 pixels, with a grey form for a disabled
// button.
QIcon IkonaZatwierdzenia();
QPixmap ZnakZatwierdzenia(bool aktywny);

// The program icon: a sheet of lines with a check mark.
QIcon IkonaProgramu();

}  // namespace ui
