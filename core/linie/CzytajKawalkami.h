#pragma once
// The one read loop of the program: a source file read from its start in
// pieces, each handed on as it comes, and a file that changes while it is
// read noticed. The window's reader, the checker, the automatic correction
// and the encoding diagnosis all read through it, so none of them can take
// a mix of two versions of a file for one.
#include <cstddef>
#include <cstdint>
#include <functional>

#include "platform/PlatformFile.h"

namespace linie {

// Pieces this size stay in the processor's cache between the read that
// fills them and the scan that follows.
inline constexpr std::size_t kKawalek = std::size_t{64} << 10;

// A file this big or bigger is mapped into memory piece by piece where the
// system allows it, rather than read: nothing is copied, and a file the
// system holds in large pages (2 MiB, the size of a piece) is handed over a
// page at a time. Going over a cached 200 MB file mapped takes 9 ms against
// 24 ms of reading it when the system holds it in large pages, and 27
// against 35 ms in small ones. Each piece's pages are mapped at once
// (MAP_POPULATE) rather than as they are first read: where a page fault is
// dear (in a virtual machine most of all) faults a few pages apart cost more
// than the copy they spare. Measured by bench/run on a shared two-core
// virtual machine, the character check against `wc -l` on the sample and on
// the Elixir-O payroll: populated 0.92x and 0.93x in one run, 1.07x and
// 1.00x in another; page by page 1.06x and 1.12x, then 0.98x and 0.91x;
// read() 1.36x and 1.41x, then 1.37x and 1.23x. The two mapped ways are
// within the noise of that machine; read() is the slowest in every run.
// WERYFIKACJA_ODCZYT=populate, mmap or read holds a run to one way. While a
// piece is read, the next one is mapped on a thread of its own and the one
// left is unmapped there: the reader's thread then only reads. On the same
// machine that took the check with the account checks of the sample from
// 120 to 102 ms, and of the Elixir-O payroll from 434 to 392 ms (medians of
// seven). Two pieces add their size to the memory the program holds.
inline constexpr std::size_t kKawalekMapy = std::size_t{2} << 20;

// How big the pieces are: `pierwszy` bytes first, then as many as were read
// so far and `pierwszy` more, never more than `najwiekszy`. Growing pieces
// suit a reader that most often stops early; by default every piece is
// kKawalek.
struct TKawalki {
  std::size_t pierwszy = kKawalek;
  std::size_t najwiekszy = kKawalek;
};

// Hands `kawalek` the file's bytes in order, piece by piece, then a piece
// of no bytes at the end of the file; `kawalek` returning false stops the
// read there. Closes the file afterwards. A piece is valid only until
// `kawalek` returns: what is kept of it must be copied.
//
// A file that changed while it was read, whether it grew, shrank or was
// replaced, raises EInOutError with the sentence the user is told; one that
// grows past its size at the open is left at once. A failure to read or
// close raises EInOutError too. After an error the caller drops what it
// took from the file.
void CzytajKawalkami(platform::InputFile& plik,
                     const std::function<bool(const char*, std::size_t)>& kawalek,
                     TKawalki kawalki = {});

// How a read of a part of a file ended.
enum class TZakres : unsigned char {
  NieZmapowany,  // the file is not mapped here (small, read(), or refused): nothing read
  Przeczytany,
  Przerwany,  // `kawalek` returned false
};

// The bytes [od, doo) of the file, mapped piece by piece as CzytajKawalkami
// maps a large file, handed to `kawalek` in order: a part of a file that two
// readers go through side by side. No piece of no bytes follows, and the
// file is neither closed nor asked whether it changed: the caller does
// both once it is done with the file. Bytes the file loses while they are
// read raise as in CzytajKawalkami. With `naprzod` the next piece is
// mapped on a thread of the file's own while one is read; readers that
// already keep both processors busy go without (two parts read side by
// side: a thread more for each only takes turns with them).
TZakres CzytajZakresZMapy(platform::InputFile& plik, std::uint64_t od, std::uint64_t doo,
                          const std::function<bool(const char*, std::size_t)>& kawalek,
                          bool naprzod = true);

// Whether a file of `rozmiar` bytes is read mapped (CzytajZakresZMapy
// reads it), as far as can be told before it is tried.
bool CzytaZMapy(std::uint64_t rozmiar);

// Raises EInOutError with the sentence the user is told when the file is no
// longer as it was opened.
void SprawdzNiezmieniony(const platform::InputFile& plik);

}  // namespace linie
