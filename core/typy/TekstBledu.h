#pragma once
// What the user reads for a failure: the same words in the window's error
// box and on the command-line checker's standard error.
#include <exception>
#include <string>

namespace Typy::bledy {

// A lack of memory, in words rather than the library's name for it.
inline constexpr char kBrakPamieci[] = "Out of memory";

// The message of a failure: a lack of memory says so plainly, any other
// failure gives its own message.
std::string Opis(const std::exception& e);

// The text shown for a message: a "." is added to a non-empty message whose
// last byte sorts after "."; one ending in ".", "!" or ")" stays as it is.
std::string TekstBledu(std::string komunikat);

}  // namespace Typy::bledy
