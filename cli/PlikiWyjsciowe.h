#pragma once
// The files the checker writes of one file besides its output: the report
// (--report) and the corrected copy (--fix), each written as the file is
// read and put in place only after a whole, unchanged read. A failure of
// either ends only that file; it is told after the findings, never in the
// middle of them.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "Komunikaty.h"
#include "Opcje.h"
#include "Wyjscie.h"
#include "platform/PlatformFile.h"
#include "raport/UtworzLOG.h"

namespace cli {

class TPlikiWyjsciowe {
 public:
  // `plik` as the user named it, `sciezka` its absolute path.
  TPlikiWyjsciowe(const std::string& plik, const std::string& sciezka, const TOpcje& o,
                  TWyjscie& out, char separatorCzasu)
      : plik_(plik), sciezka_(sciezka), o_(o), out_(out), separatorCzasu_(separatorCzasu) {}

  // The corrected copy is begun before the first line, since every line
  // goes into it; a failure to begin it is told only if the file turns out
  // to need a copy.
  void ZacznijPoprawiony();
  bool RobiPoprawiony() const { return poprawiony_ != nullptr; }

  // A faulty or empty line for the report; the report is opened with the
  // first one, so a clean file has none.
  void LiniaRaportu(std::uint64_t linia, std::string_view bajty);
  // The next bytes of the corrected copy.
  void Poprawione(const char* dane, std::size_t n);

  // After a clean read: the report and the copy are put in place, or what
  // kept them from it is told.
  Wynik Zakoncz(bool bledy);

 private:
  const std::string& plik_;
  const std::string& sciezka_;
  const TOpcje& o_;
  TWyjscie& out_;
  const char separatorCzasu_;
  std::optional<raport::TPlikRaportu> raport_;
  std::optional<std::string> bladRaportu_;
  std::unique_ptr<platform::AtomicOutputFile> poprawiony_;
  std::optional<std::string> bladPoprawionego_;
};

}  // namespace cli
