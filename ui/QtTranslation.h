#pragma once
// Qt's own texts (the question's Yes and No, and on Linux the file and
// print dialogs) in Polish, from Qt's translation of itself. The program's
// own texts, the English captions "Warning" and "Information" among them,
// are not Qt's and stay as they are.

namespace ui {

// Installs the translation in the running application, from the
// "translations" folder beside the program (as the Windows build ships it)
// or from Qt's own translations folder. False when neither holds it: Qt's
// texts then stay English.
bool ZaladujTlumaczenieQt();

}  // namespace ui
