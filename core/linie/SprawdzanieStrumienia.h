#pragma once
// The command-line checker's side of the line splitter: every line is
// validated as it passes, by the same character rule as the window
// program's, and what is found is handed on at once. Nothing is kept but
// the line being cut, and that only when whole faulty lines are wanted (for
// the report), so memory stays the same whatever the file's size.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "kodowanie/ZnakiDozwolone.h"
#include "linie/LineSink.h"
#include "scan/LineScanner.h"
#include "typy/ByteBuffer.h"

namespace linie {

// What a streamed check finds, in file order. Lines and columns are 1-based.
class StreamFindings {
 public:
  virtual ~StreamFindings() = default;
  // A faulty byte of the line being cut.
  virtual void FaultyByte(std::uint64_t line, std::uint64_t column, unsigned char b) = 0;
  // A part of a faulty line holding a faulty byte, after its faulty bytes:
  // the text the encoding diagnosis reads. A line may come in several.
  virtual void FaultyText(std::uint64_t /*line*/, std::string_view /*part*/) {}
  virtual void EmptyLine(std::uint64_t line) = 0;
  // `count` empty lines from line `first` on, each as EmptyLine and
  // FaultyLine would tell it; a file of empty lines has millions.
  virtual void EmptyLines(std::uint64_t first, std::uint64_t count) {
    for (std::uint64_t k = 0; k < count; ++k) {
      EmptyLine(first + k);
      FaultyLine(first + k, {});
    }
  }
  // A faulty or empty line is complete. `bytes` is the whole line when the
  // check keeps faulty lines, empty otherwise.
  virtual void FaultyLine(std::uint64_t line, std::string_view bytes) = 0;
  // The next bytes of the corrected copy, when the check makes one: every
  // line with "?" at each faulty byte, followed by CR LF.
  virtual void Corrected(const char* data, std::size_t n) = 0;
};

class SprawdzanieStrumienia final : public LineSink {
 public:
  struct Options {
    bool keepFaultyLines = false;
    bool corrected = false;
  };

  SprawdzanieStrumienia(StreamFindings& findings, Options options)
      : findings_(findings), options_(options), zalezny_(kodowanie::Regula().zalezny) {}

  // Inline: the checker calls them for every line.
  void Part(const char* data, std::size_t n, bool faulty) override {
    if (zalezny_) return HoldPart(data, n, faulty);
    if (options_.keepFaultyLines) held_.append(data, n);
    if (faulty)
      FaultyPart(data, n);
    else if (options_.corrected)
      findings_.Corrected(data, n);
    column_ += n;
  }
  void End() override {
    if (zalezny_) DecideHeldLine();
    ++lines_;
    if (column_ == 0 || faulty_) FaultyEnd();
    if (options_.corrected) findings_.Corrected("\r\n", 2);
    Drop();
  }
  void Drop() override {
    column_ = 0;
    faulty_ = false;
    candidate_ = false;
    held_.resize_down(0);
  }

  // A run of clean lines: counted, and copied as they are into the corrected
  // copy, which is why a line ended by LF alone is not taken in a run then
  // (its copy ends in CR LF). A check that looks into clean lines too
  // (one holding digits, say) asks for them here.
  unsigned RunStops() const {
    return options_.corrected || kodowanie::Regula().crlf ? scan::kStopAtBareLf : 0u;
  }
  void CleanLines(const char* data, std::size_t n, std::uint64_t lines) {
    lines_ += lines;
    if (options_.corrected) findings_.Corrected(data, n);
  }
  // A run of empty lines, each ended by CR LF, or by LF when `bareLf`.
  void EmptyLines(const char* data, std::size_t n, std::uint64_t lines, bool bareLf) {
    findings_.EmptyLines(lines_ + 1, lines);
    lines_ += lines;
    faultyLines_ += lines;
    if (!options_.corrected) return;
    if (!bareLf) return findings_.Corrected(data, n);
    for (std::uint64_t k = 0; k < lines; ++k) findings_.Corrected("\r\n", 2);
  }

  // Complete lines so far, and how many of them were faulty or empty.
  std::uint64_t Lines() const { return lines_; }
  std::uint64_t FaultyLines() const { return faultyLines_; }

 private:
  void FaultyPart(const char* data, std::size_t n);
  void FaultyEnd();
  // Under a rule whose faulty bytes depend on their line (a profile's), a
  // line with a candidate byte is held whole and decided at its end.
  void HoldPart(const char* data, std::size_t n, bool candidate) {
    held_.append(data, n);
    candidate_ = candidate_ || candidate;
    column_ += n;
  }
  void DecideHeldLine();

  StreamFindings& findings_;
  const Options options_;
  const bool zalezny_;
  bool candidate_ = false;
  std::uint64_t lines_ = 0;
  std::uint64_t faultyLines_ = 0;
  // The open line: its length so far, whether it is faulty, and its bytes
  // when they are kept.
  std::uint64_t column_ = 0;
  bool faulty_ = false;
  Typy::ByteBuffer held_;
};

}  // namespace linie
