#pragma once
// The program's own dialogs that tell the user something: the message
// dialog (warning, information, plain), the error box and the yes/no
// question. Each is modal and copies its content with Ctrl+C.
#include <QStyle>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// What Ctrl+C in a message dialog puts on the clipboard.
std::string TekstDoSchowka(std::string_view tytul, std::string_view tekst,
                           const std::vector<std::string>& przyciski);

// Shows the message dialog until the user closes it; titles and texts are
// Windows-1250 bytes.
void PokazOknoKomunikatu(const std::string& tytul, const std::string& tekst,
                         QStyle::StandardPixmap ikona, bool zIkona);
// The error box, with the text as given.
void PokazOknoBledu(const std::string& tytul, const std::string& tekst);
// True for Yes; No is the default unless `takDomyslnie`, and closing the
// dialog answers No.
bool PokazPytanie(const std::string& tytul, const std::string& tekst, bool takDomyslnie = false);

}  // namespace ui
