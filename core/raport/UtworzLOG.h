#pragma once
// The error report ("plik LOG"): built from the state of the last check into
// whatever shows it, and saved as its exact bytes. The report is Windows-1250
// text whose every line ends with CR LF.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "platform/PlatformLocale.h"
#include "typy/Typy.h"

namespace platform {
class AtomicOutputFile;
}

namespace raport {

// Where the report is written line by line: a string the report window
// shows (TRaportTekst), or the report file the checker writes
// (TPlikRaportu). How the text is then shown, and where the caret stands,
// is the window's business.
class TWidokRaportu {
 public:
  virtual ~TWidokRaportu() = default;
  // Puts the line and CR LF at the end.
  virtual void DodajLinie(std::string_view linia) = 0;
};

// The report kept as its bytes, every line followed by CR LF. It takes every
// line whole, NUL bytes included.
class TRaportTekst final : public TWidokRaportu {
 public:
  void DodajLinie(std::string_view linia) override {
    tekst_.append(linia);
    tekst_.append("\r\n");
  }

  const std::string& Tekst() const { return tekst_; }
  std::string Zabierz() { return std::exchange(tekst_, {}); }

 private:
  std::string tekst_;
};

// The moment on the report's line 2, from the clock it is given (the
// system's, platform::CzasLokalny, but for tests).
using platform::TChwila;
using TZegar = std::function<TChwila()>;

// "YYYY-MM-DD, HH:NN:SS" with the given separator in place of ":".
std::string FormatujChwile(const TChwila& chwila, char separator);

// Writes the report of the state's faulty lines after what the view holds.
// With no faulty line it returns at once and writes nothing. The clock is
// read once, for line 2. An error of the view (a report file that cannot be
// written) ends the build there; the lines before it stay written.
void UtworzLOG(const Typy::TStan& stan, TWidokRaportu& widok, const TZegar& zegar,
               char separatorCzasu);

// The same with the local clock and the locale's separator.
void UtworzLOG(const Typy::TStan& stan, TWidokRaportu& widok);

// The report in its three parts, for a checker that writes it while it
// reads: the head (the checked file's path and the time), one part per
// faulty line (its 1-based number and its bytes as read), and the end.
// UtworzLOG is these over the state, so both give the same bytes.
void NaglowekRaportu(TWidokRaportu& widok, std::string_view nazwaPliku, const TChwila& chwila,
                     char separatorCzasu);
void CzescLinii(TWidokRaportu& widok, std::uint64_t numerLinii, std::string_view linia);
void KoniecRaportu(TWidokRaportu& widok);

// A failure to save the report; the message is Windows-1250 text.
class EZapisRaportu : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The report file, written as the report is built and put in place whole
// by Zatwierdz; dropped without it, leaving the target as it was. Opening
// fails with "Cannot create file \"<path>\". <reason>", every later
// failure with "Failed to Save Stream". The file `chroniona` names (the
// checked file) is never replaced.
class TPlikRaportu final : public TWidokRaportu {
 public:
  explicit TPlikRaportu(const std::string& sciezka, const std::string& chroniona = {});
  ~TPlikRaportu() override;
  TPlikRaportu(const TPlikRaportu&) = delete;
  TPlikRaportu& operator=(const TPlikRaportu&) = delete;

  void DodajLinie(std::string_view linia) override;

  // Bytes as they are, line ends included.
  void Dopisz(std::string_view bajty);
  void Zatwierdz();

 private:
  std::unique_ptr<platform::AtomicOutputFile> plik_;
};

// Saves the report's bytes to a file, replacing it whole or not at all.
// A file that cannot be created gives "Cannot create file \"<path>\". <reason>";
// a failure while writing gives "Failed to Save Stream", and the file keeps
// what it held before. The file `chroniona` names (the checked file) is
// never replaced.
void ZapiszRaport(const std::string& sciezka, std::string_view bajty,
                  const std::string& chroniona = {});

}  // namespace raport
