#pragma once
// Cuts a stream of bytes into the lines of the source text format and hands
// each line to a sink as soon as its bytes are known:
// - a line ends at LF, or at CR LF;
// - a CR not followed by LF is dropped and the line goes on;
// - the text ends at the end of the input or at the first byte 1A;
// - bytes after the last line end form a last line; a line end at the very
//   end opens no further line.
// The window program and the command-line checker both cut their lines
// here, so they always agree on what a line is. The checker names its own
// sink's class, so that the calls for each line need no look-up.
//
// A sink that keeps nothing of a clean line says so by taking whole runs of
// them (CountsCleanLines): those are only counted, and the splitter stops
// line by line only where a line needs more.
#include <concepts>
#include <cstddef>
#include <cstdint>

#include "kodowanie/ZnakiDozwolone.h"
#include "linie/LineSink.h"
#include "scan/LineScanner.h"

namespace linie {

// CleanLines(data, n, lines): the n bytes at data are `lines` whole lines,
// as scan::CleanLines finds them under RunStops(); each one ends in LF or
// CR LF, and in CR LF alone under scan::kStopAtBareLf.
template <class Sink>
concept CountsCleanLines = requires(Sink& s, const char* data, std::size_t n, std::uint64_t lines) {
  s.CleanLines(data, n, lines);
  { s.RunStops() } -> std::convertible_to<unsigned>;
};

// EmptyLines(data, n, lines, bareLf): the n bytes at data are `lines` empty
// lines, each ended by CR LF, or by LF as well when `bareLf`.
template <class Sink>
concept CountsEmptyLines = requires(Sink& s, const char* data, std::size_t n, std::uint64_t lines,
                                    bool bareLf) {
  s.EmptyLines(data, n, lines, bareLf);
};

template <class Sink>
class BasicLineSplitter {
 public:
  explicit BasicLineSplitter(Sink& sink) : sink_(sink), crlf_(kodowanie::Regula().crlf) {}

  // Takes the next piece of input. False once the end-of-text mark was met:
  // nothing more is taken.
  bool Feed(const char* data, std::size_t n);
  // The input ended: the last line, if any, is completed.
  void Finish() {
    pendingCr_ = false;
    if (lineOpen_) EndLine();
    ended_ = true;
  }
  // Reading failed: the unfinished line is dropped.
  void Abandon() {
    sink_.Drop();
    lineOpen_ = false;
    pendingCr_ = false;
  }

 private:
  void EndLine() {
    lineOpen_ = false;
    sink_.End();
  }

  Sink& sink_;
  // Lines must end with CR LF (a profile's rule): one ended by LF alone is
  // told to the sink, so no run of lines holds one unseen.
  const bool crlf_;
  bool lineOpen_ = false;
  bool pendingCr_ = false;
  bool ended_ = false;
  unsigned runsBackoff_ = 0;  // lines to let pass before the next try
  unsigned runsSkipped_ = 0;  // of them, still to pass
};

using LineSplitter = BasicLineSplitter<LineSink>;

template <class Sink>
bool BasicLineSplitter<Sink>::Feed(const char* data, std::size_t n) {
  if (ended_) return false;
  auto* p = reinterpret_cast<const unsigned char*>(data);
  auto* const end = p + n;
  if (pendingCr_ && p < end) {
    // The previous piece ended in CR: only now is it known whether it was
    // half of a line end or a stray CR, which is dropped.
    pendingCr_ = false;
    if (*p == '\n') {
      ++p;
      EndLine();
    }
  }
  while (p < end) {
    if constexpr (CountsCleanLines<Sink>) {
      // At the start of a line that does not begin with a line end or a
      // faulty byte (which would end the run at once): count what can be.
      // Where line after line leaves the run at once (every line holds a
      // digit the sink wants to see), trying again at each costs more than
      // the line: the tries are spaced out, one in up to 16 lines, until a
      // run is found again.
      if (!lineOpen_ && kodowanie::Regula().klasa[*p] == kodowanie::kAllowed && runsSkipped_ > 0) {
        --runsSkipped_;
      } else if (!lineOpen_ && kodowanie::Regula().klasa[*p] == kodowanie::kAllowed) {
        const scan::CleanRun run = scan::CleanLines(p, end, sink_.RunStops());
        if (run.lines > 0) {
          runsBackoff_ = 0;
          sink_.CleanLines(reinterpret_cast<const char*>(p), static_cast<std::size_t>(run.end - p),
                           run.lines);
          p = run.end;
          if (p == end) break;
        } else {
          runsBackoff_ = runsBackoff_ * 2 + 1 > 15 ? 15 : runsBackoff_ * 2 + 1;
          runsSkipped_ = runsBackoff_;
        }
      }
    }
    if constexpr (CountsEmptyLines<Sink>) {
      // Empty lines one after another, handed on together; a CR that is
      // not half of a line end, or is the piece's last byte, goes the
      // line-by-line way.
      if (!lineOpen_ && (*p == '\n' || *p == '\r')) {
        const unsigned char* q = p;
        std::uint64_t lines = 0;
        bool bareLf = false;
        for (;; ++lines) {
          if (q < end && *q == '\n' && !crlf_) {
            bareLf = true;
            ++q;
          } else if (end - q >= 2 && q[0] == '\r' && q[1] == '\n') {
            q += 2;
          } else {
            break;
          }
        }
        if (lines > 0) {
          sink_.EmptyLines(reinterpret_cast<const char*>(p), static_cast<std::size_t>(q - p), lines,
                           bareLf);
          p = q;
          continue;
        }
      }
    }
    bool faulty = false;
    // A line end right here (an empty line, a CR LF) needs no scan.
    const unsigned char* q = kodowanie::Regula().klasa[*p] >= kodowanie::kLineFeed
                                 ? p
                                 : scan::ToLineBreak(p, end, faulty);
    if (q > p) {
      sink_.Part(reinterpret_cast<const char*>(p), static_cast<std::size_t>(q - p), faulty);
      lineOpen_ = true;
    }
    if (q == end) break;
    switch (*q) {
      case '\n':
        if constexpr (requires(Sink & s) { s.BareLf(); })
          if (crlf_) sink_.BareLf();
        EndLine();
        p = q + 1;
        break;
      case '\r':
        lineOpen_ = true;
        if (q + 1 == end) {
          pendingCr_ = true;
          return true;
        }
        if (q[1] == '\n') {
          EndLine();
          p = q + 2;
        } else {
          p = q + 1;  // a stray CR is dropped and the line goes on
        }
        break;
      default:  // 1A: the text ends here
        ended_ = true;
        Finish();
        return false;
    }
  }
  return true;
}

extern template class BasicLineSplitter<LineSink>;

}  // namespace linie
