#pragma once
// Where the command-line checker meets the system: its arguments and its
// two output streams. One source file per system; the checker itself sees
// UTF-8 text and nothing else.
#include <cstddef>
#include <string>
#include <vector>

namespace cli::konsola {

inline constexpr int kWyjscie = 1;  // standard output
inline constexpr int kBledy = 2;    // standard error

// The arguments after the program's name, as UTF-8, whatever the system
// passed them as.
std::vector<std::string> Argumenty(int argc, char** argv);

// Writes all n bytes of UTF-8 to the stream: unchanged to a file or a pipe,
// as text a console can show to a console. Returns 0, or the errno of the
// first failure (EPIPE when the reader has gone).
int Pisz(int strumien, const char* p, std::size_t n);

}  // namespace cli::konsola
