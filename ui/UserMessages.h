#pragma once
// The one way the program speaks to the user outside its windows' own
// controls: the warning and information dialogs, the plain message, the
// error box, the busy cursor and the file and printer dialogs. Windows take
// it as a constructor argument so tests can put a recorder in its place and
// never block on a modal dialog.
//
// Every text handed in is a Windows-1250 byte string, as all of the
// program's texts are; the facility decodes it for display.
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <deque>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "stan/TekstBledu.h"

class QPrinter;
class QWidget;

namespace ui {

// --- Application title ------------------------------------------------------

// The title made from the program file's path (Windows-1250 bytes): the name
// after the last "/", cut at its first ".", every character after the first
// in lower case.
std::string TytulZeSciezki(std::string_view sciezka);

// The title of the running program: the caption of the plain message and of
// the error box. Set once at start-up.
void UstawTytulAplikacji(std::string tytul);
const std::string& TytulAplikacji();

// Windows-1250 bytes to text for display; control bytes stay as they are.
QString ZCp1250(std::string_view bytes);
// Text to Windows-1250 bytes; a character the code page lacks becomes "?".
std::string DoCp1250(const QString& text);

// --- Pure rules the dialogs follow ----------------------------------------

// The error box's text: the rule the command-line checker follows too.
using bledy::TekstBledu;

// What Ctrl+C in a message dialog puts on the clipboard.
std::string TekstDoSchowka(std::string_view tytul, std::string_view tekst,
                           const std::vector<std::string>& przyciski);

// Where everything of a message dialog goes, in pixels of its inner area.
struct UkladKomunikatu {
  int SredniaSzerokosc = 0;  // average character width
  int WysokoscLinii = 0;
  QRect Ikona;  // empty without an icon
  QRect Tekst;
  QRect Przycisk;
  QSize Wnetrze;  // inner (client) size
};
UkladKomunikatu ObliczUkladKomunikatu(const QFont& czcionka, const QString& tekst, bool zIkona,
                                      int szerokoscEkranu, const QString& napisPrzycisku);

// --- The facility -----------------------------------------------------------

class TUserMessages {
 public:
  virtual ~TUserMessages() = default;

  virtual void Ostrzezenie(const std::string& tekst) = 0;  // warning dialog
  virtual void Informacja(const std::string& tekst) = 0;   // information dialog
  virtual void Komunikat(const std::string& tekst) = 0;    // plain message
  // The error box; the "." rule is applied here.
  virtual void BladKrytyczny(const std::string& komunikat) = 0;
  // A question with the buttons Yes and No; true for Yes. No is the default,
  // and closing the dialog answers No.
  virtual bool Pytanie(const std::string& tekst) = 0;

  // The busy cursor: one setting for the whole program, not a count.
  virtual void Zajety(bool wlaczony) = 0;
  virtual bool CzyZajety() const = 0;

  // The file-open dialog of the check command. Returns the chosen file as
  // the file system's own bytes, or nothing when the user cancelled.
  virtual std::optional<std::string> OtworzPlik(QWidget* rodzic) = 0;
  // The report's file-save dialog, same conventions.
  virtual std::optional<std::string> ZapiszPlik(QWidget* rodzic) = 0;
  // The printer-setup dialog; true when the user confirmed.
  virtual bool UstawieniaDrukarki(QPrinter& drukarka, QWidget* rodzic) = 0;

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

// The busy cursor's rule, apart from how the cursor is drawn.
class TKursorZajetosci {
 public:
  virtual ~TKursorZajetosci() = default;
  void Ustaw(bool wlaczony);
  bool Wlaczony() const { return wlaczony_; }
  bool Pokazany() const { return pokazany_; }
  void ModalneOtwarte();
  void ModalneZamkniete();

 protected:
  // Draws or removes the wait cursor over every window.
  virtual void Pokaz(bool) {}

 private:
  void Odswiez();

  struct Zapis {
    bool wlaczony;
    unsigned long zmiany;
  };
  bool wlaczony_ = false;
  bool pokazany_ = false;
  unsigned long zmiany_ = 0;
  std::vector<Zapis> modalne_;
};

// The real dialogs.
class TQtUserMessages : public TUserMessages {
 public:
  TQtUserMessages();
  ~TQtUserMessages() override;

  void Ostrzezenie(const std::string& tekst) override;
  void Informacja(const std::string& tekst) override;
  void Komunikat(const std::string& tekst) override;
  void BladKrytyczny(const std::string& komunikat) override;
  bool Pytanie(const std::string& tekst) override;
  void Zajety(bool wlaczony) override { kursor_.Ustaw(wlaczony); }
  bool CzyZajety() const override { return kursor_.Wlaczony(); }
  std::optional<std::string> OtworzPlik(QWidget* rodzic) override;
  std::optional<std::string> ZapiszPlik(QWidget* rodzic) override;
  bool UstawieniaDrukarki(QPrinter& drukarka, QWidget* rodzic) override;
  void OknoModalneOtwarte() override { kursor_.ModalneOtwarte(); }
  void OknoModalneZamkniete() override { kursor_.ModalneZamkniete(); }

 private:
  class TKursorQt : public TKursorZajetosci {
   protected:
    void Pokaz(bool) override;
  };
  enum class Rodzaj { Ostrzezenie, Informacja, Zwykly };
  void PokazKomunikat(Rodzaj rodzaj, const std::string& tekst);

  TKursorQt kursor_;
  QString ostatniOtwarty_;
  int ostatniFiltr_ = 0;
  QString ostatniZapisany_;
};

// Records every call and answers the dialogs from scripted replies; for
// tests, so nothing modal ever opens.
class TRecordingUserMessages : public TUserMessages {
 public:
  enum class Rodzaj {
    Ostrzezenie,
    Informacja,
    Komunikat,
    Blad,
    Zajety,
    Otworz,
    Zapisz,
    Drukarka,
    Pytanie
  };
  struct Wywolanie {
    Rodzaj rodzaj;
    std::string tekst;  // the text; "1"/"0" for the busy cursor
    bool operator==(const Wywolanie&) const = default;
  };

  void Ostrzezenie(const std::string& tekst) override { Zapisz({Rodzaj::Ostrzezenie, tekst}); }
  void Informacja(const std::string& tekst) override { Zapisz({Rodzaj::Informacja, tekst}); }
  void Komunikat(const std::string& tekst) override { Zapisz({Rodzaj::Komunikat, tekst}); }
  void BladKrytyczny(const std::string& komunikat) override {
    Zapisz({Rodzaj::Blad, TekstBledu(komunikat)});
  }
  bool Pytanie(const std::string& tekst) override;
  void Zajety(bool wlaczony) override;
  bool CzyZajety() const override { return kursor_.Wlaczony(); }
  std::optional<std::string> OtworzPlik(QWidget*) override;
  std::optional<std::string> ZapiszPlik(QWidget*) override;
  bool UstawieniaDrukarki(QPrinter&, QWidget*) override;
  void OknoModalneOtwarte() override { kursor_.ModalneOtwarte(); }
  void OknoModalneZamkniete() override { kursor_.ModalneZamkniete(); }

  // Replies for the next dialogs, taken in order; an empty queue cancels.
  std::deque<std::optional<std::string>> OdpowiedziOtworz;
  std::deque<std::optional<std::string>> OdpowiedziZapisz;
  std::deque<bool> OdpowiedziDrukarka;
  std::deque<bool> OdpowiedziPytanie;  // an empty queue answers No

  std::vector<Wywolanie> Wywolania;
  // The calls of one kind, in order.
  std::vector<std::string> Teksty(Rodzaj rodzaj) const;

 private:
  void Zapisz(Wywolanie w) { Wywolania.push_back(std::move(w)); }
  TKursorZajetosci kursor_;
};

// --- The error boundary -----------------------------------------------------

// Shows an error that escaped a handler: busy cursor off, then the error
// box. Never throws.
void PokazBlad(TUserMessages& m, const std::string& komunikat) noexcept;

// Runs one event handler so that no exception leaves it: an input/output
// error or any other std::exception ends the handler and is shown in the
// error box, a lack of memory as "Out of memory".
template <class F>
void Chron(TUserMessages& m, F&& handler) noexcept {
  try {
    handler();
  } catch (const std::exception& e) {
    PokazBlad(m, bledy::Opis(e));
  } catch (...) {
    PokazBlad(m, "Unknown error");
  }
}

}  // namespace ui
