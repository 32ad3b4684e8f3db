#pragma once
// The program's title: the caption of the plain message and of the error
// box, made from the program file's name at start-up.
#include <string>
#include <string_view>

namespace ui {

// The title made from the program file's path (Windows-1250 bytes): the name
// after the last "/", cut at its first ".", every character after the first
// in lower case.
std::string TytulZeSciezki(std::string_view sciezka);

// The title of the running program. Set once at start-up.
void UstawTytulAplikacji(std::string tytul);
const std::string& TytulAplikacji();

}  // namespace ui
