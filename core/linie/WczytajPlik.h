#pragma once
#include <memory>
#include <string>

#include "platform/PlatformFile.h"
#include "typy/Typy.h"

namespace linie {

// Opens a source file for reading as the reader does: a missing file
// raises code 2, a folder or anything but a regular file code 5, and every
// failure to open raises EInOutError.
std::unique_ptr<platform::InputFile> OtworzPlikZrodlowy(const std::string& path);

// Reads the file named by stan.NazwaPliku into the line lists, validating
// each line as it is stored. A missing file (code 2), a folder or anything
// but a regular file (code 5), every failure to open, read or close, and a
// file that changed while it was read raise EInOutError; a failure before
// the open leaves the lists as they were, one after it keeps the whole lines
// read before it.
void WczytajPlik(Typy::TStan& stan);

}  // namespace linie
