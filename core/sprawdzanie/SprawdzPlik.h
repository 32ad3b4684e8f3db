#pragma once
// The check of one file, the one both programs run: the file opened and
// read through the one read loop (linie::CzytajKawalkami), cut by the one
// line splitter, every line checked against the character rule in use,
// the account numbers and transfer records checked, and the encoding
// diagnosed. What the check finds goes to a sink, and the sink is all a
// program supplies:
// - the checker's (TZnaleziska) is handed each finding as the file is
//   read, and nothing of the file is kept;
// - the window's (TStanOkna) is the verification state, which keeps every
//   line, and is given at the end what the window shows of the check: the
//   account findings and sums, the report, the correction to offer.
// A new step of the check of a file goes in here, once, for both.
//
// This is the top of the core: it may use every other folder, and none of
// them uses it.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "diagnoza/PropozycjaPoprawki.h"
#include "diagnoza/RozpoznajKodowanie.h"
#include "linie/SprawdzanieStrumienia.h"
#include "profile/Profil.h"
#include "rachunki/Podsumowanie.h"
#include "rachunki/PodsumowanieStanu.h"
#include "rachunki/Uwagi.h"
#include "rachunki/WykazBankow.h"
#include "typy/Typy.h"

namespace sprawdzanie {

// What a file is checked against: the one way a program hands a check its
// bank profile and list of banks. Both are one per process underneath (the
// scans' tables are built for the rule in use, the account check looks
// codes up in the list in use); the check puts them in use, and what reads
// them after it (the checker's --convert, the window's corrections) reads
// what the last check was given.
struct TZasady {
  // The bank profile: its character rule, the encoding its bank reads, its
  // record limits. A profile other than the one in use
  // (profile::AktywnyProfil) is put in use first, for this check and those
  // after it. None: the one in use.
  const profile::TProfil* profil = nullptr;
  // The list of banks sort codes are looked up in, one per process as well:
  // another than the one in use (rachunki::WykazBankow) is put in use
  // first. None: the one in use.
  std::shared_ptr<const rachunki::TWykazBankow> wykaz = nullptr;
  // Whether account numbers and transfer records are checked.
  bool rachunki = true;
  // Whether the transfers are summed by date and by payee bank too (the
  // checker's summary, the window's); their count and total always are.
  bool sumy = true;
};

// The checker's sink: every finding in file order as the file is read
// (StreamFindings: the characters and empty lines, the report's lines, the
// corrected copy), and the account findings and warnings after the
// character findings of their line. Called only between Otwarty and the
// end of SprawdzPlik.
class TZnaleziska : public linie::StreamFindings {
 public:
  // The file is open and nothing of it read: the outputs that take every
  // line (the corrected copy) are begun here.
  virtual void Otwarty() {}
  // Asked once, after Otwarty: whether whole faulty lines are wanted (for a
  // report) and whether the corrected copy is made.
  virtual linie::SprawdzanieStrumienia::Options Opcje() const = 0;
  // A wrong account number or field of line `linia` (1-based), whose bytes
  // are `bajty`.
  virtual void Uwaga(std::uint64_t linia, const rachunki::TUwaga& uwaga,
                     std::string_view bajty) = 0;
  // A warning about a transfer record.
  virtual void Ostrzezenie(std::uint64_t linia, const rachunki::TOstrzezenie& ostrzezenie,
                           std::string_view bajty) = 0;

 private:
  friend class TStrumien;
  // The text of faulty lines goes to the encoding diagnosis.
  void FaultyText(std::uint64_t line, std::string_view part) final;
  diagnoza::TRozpoznawanie* rozpoznawanie_ = nullptr;
};

// The window's sink: the state the file is read into, every line kept,
// and what the window shows of the check besides.
struct TStanOkna {
  explicit TStanOkna(Typy::TStan& s, bool zRaportem = false) : stan(s), raport(zRaportem) {}
  Typy::TStan& stan;
  // Whether the report's text is wanted (the window shows it).
  bool raport = false;

  // Filled by the check. The account findings, warnings and sums, one pass
  // over the lines (rachunki::SprawdzIPodsumujStan); the report of a file
  // with a faulty line; the automatic correction the diagnosis offers.
  rachunki::TRachunkiStanu rachunki;
  std::string tekstRaportu;
  std::optional<diagnoza::TPropozycja> propozycja;
};

using TOdbiorca = std::variant<TZnaleziska*, TStanOkna*>;

// What the check came to, whatever the sink.
struct TWynik {
  std::uint64_t blednychLinii = 0;  // faulty or empty lines
  std::uint64_t uwag = 0;           // wrong account numbers and fields
  std::uint64_t ostrzezen = 0;
  rachunki::TSumy sumy;
  // The encoding the file looks to be in, faulty or clean.
  std::optional<diagnoza::TDiagnoza> diagnoza;
  // The checker read the file in two parts side by side, and what the
  // second found stood (DrugaCzesc.h); the findings are the same either way.
  bool dwieCzesci = false;
};

// Checks the file at `sciezka` into `odbiorca`. A file that cannot be
// opened or read, or that changed while it was read, raises EInOutError
// (code 2 for a missing one, 5 for a folder or anything but a regular
// file); the sink then drops what it took. The diagnosis reads the file
// again where it needs to, and a failure of that read only leaves it with
// less to go on.
TWynik SprawdzPlik(const std::string& sciezka, TOdbiorca odbiorca, const TZasady& zasady = {});

// The account findings, warnings and sums of the lines the state holds,
// checked again under `zasady` (put in use as by SprawdzPlik) without
// reading the file: what a new list of banks changes.
rachunki::TRachunkiStanu SprawdzRachunki(const Typy::TStan& stan, const TZasady& zasady);

}  // namespace sprawdzanie
