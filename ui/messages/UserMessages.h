#pragma once
// The one way the program speaks to the user outside its windows' own
// controls: the warning and information dialogs, the plain message, the
// error box, the busy cursor and the file and printer dialogs. Windows take
// it as a constructor argument so tests can put a recorder in its place and
// never block on a modal dialog. The real dialogs are TQtUserMessages
// (QtUserMessages.h).
//
// Every text handed in is a Windows-1250 byte string, as all of the
// program's texts are; the facility decodes it for display.
#include <optional>
#include <string>

class QPrinter;
class QWidget;

namespace ui {

class TUserMessages {
 public:
  virtual ~TUserMessages() = default;

  virtual void Ostrzezenie(const std::string& tekst) = 0;  // warning dialog
  virtual void Informacja(const std::string& tekst) = 0;   // information dialog
  virtual void Komunikat(const std::string& tekst) = 0;    // plain message
  // The error box; the "." rule (Typy::bledy::TekstBledu) is applied here.
  virtual void BladKrytyczny(const std::string& komunikat) = 0;
  // A question with the buttons Yes and No; true for Yes. No is the default,
  // and closing the dialog answers No.
  virtual bool Pytanie(const std::string& tekst) = 0;
  // The same with Yes the default: for a question whose No loses something
  // the user should see, so that pressing Enter out of habit does not.
  virtual bool PytanieTakDomyslnie(const std::string& tekst) { return Pytanie(tekst); }

  // The busy cursor: one setting for the whole program, not a count.
  virtual void Zajety(bool wlaczony) = 0;
  virtual bool CzyZajety() const = 0;

  // The file-open dialog of the check command. Returns the chosen file as
  // the file system's own bytes, or nothing when the user cancelled.
  virtual std::optional<std::string> OtworzPlik(QWidget* rodzic) = 0;
  // The dialog choosing a newer list of banks' sort codes; the check
  // command's where a facility has no dialog of its own for it.
  virtual std::optional<std::string> OtworzWykazBankow(QWidget* rodzic) {
    return OtworzPlik(rodzic);
  }
  // The report's file-save dialog, same conventions.
  virtual std::optional<std::string> ZapiszPlik(QWidget* rodzic) = 0;
  // The printer-setup dialog; true when the user confirmed.
  virtual bool UstawieniaDrukarki(QPrinter& drukarka, QWidget* rodzic) = 0;
  // A file has been read for a check, however it was named: the open
  // dialog starts at it from now on (and at its folder in later runs).
  virtual void PlikSprawdzony(const std::string& sciezka) = 0;

  // A modal window of the program is opening or has closed: the normal
  // cursor shows over it, and the busy cursor comes back afterwards only if
  // it was on and nothing touched it meanwhile. Nested windows nest.
  virtual void OknoModalneOtwarte() = 0;
  virtual void OknoModalneZamkniete() = 0;
};

// A file dialog as a window sees it: the dialog itself, with the name (and
// filter) it remembers, lives in the facility; this only asks it.
class TDialogPliku {
 public:
  using Pytanie = std::optional<std::string> (TUserMessages::*)(QWidget*);
  TDialogPliku(TUserMessages& komunikaty, QWidget* wlasciciel, Pytanie pytanie)
      : komunikaty_(komunikaty), wlasciciel_(wlasciciel), pytanie_(pytanie) {}
  // True when the user chose a file; FileName then holds it.
  bool Execute();
  std::string FileName;

 private:
  TUserMessages& komunikaty_;
  QWidget* wlasciciel_;
  Pytanie pytanie_;
};

// Brackets a modal window's lifetime.
class TOknoModalne {
 public:
  explicit TOknoModalne(TUserMessages& m) : m_(m) { m_.OknoModalneOtwarte(); }
  ~TOknoModalne() { m_.OknoModalneZamkniete(); }
  TOknoModalne(const TOknoModalne&) = delete;
  TOknoModalne& operator=(const TOknoModalne&) = delete;

 private:
  TUserMessages& m_;
};

}  // namespace ui
