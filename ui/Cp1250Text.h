#pragma once
// The ui's one crossing between the program's Windows-1250 byte strings and
// Qt's text: every text shown is decoded here, every text typed is encoded
// here.
#include <QString>
#include <string>
#include <string_view>

namespace ui {

// Windows-1250 bytes to text for display; control bytes stay as they are.
QString ZCp1250(std::string_view bytes);
// Text to Windows-1250 bytes; a character the code page lacks becomes "?".
std::string DoCp1250(const QString& text);

}  // namespace ui
