#pragma once
// The corrected file: every corrected line followed by CR LF, saved beside
// the source file under its name with "_nowy.txt" for its last extension.
#include <string>

#include "typy/Typy.h"

namespace raport {

// The corrected file's path for a source path: the last extension of the
// last part of the path goes (a dot in a folder name never counts) and
// "_nowy.txt" is appended.
std::string NazwaPlikuPoprawionego(const std::string& path);

// Writes stan.LinieNew to the corrected file of stan.NazwaPliku and returns
// the absolute path written; with no lines it writes nothing and returns "".
// The file is replaced whole or not at all, and the source file is never
// written. Every failure raises EInOutError.
std::string ZapiszPoprawionyPlik(const Typy::TStan& stan);

// The success message, in Windows-1250, for the path ZapiszPoprawionyPlik
// returned (a file system path, which is UTF-8 here; characters that
// Windows-1250 lacks become "?").
std::string KomunikatZapisano(const std::string& path);

}  // namespace raport
