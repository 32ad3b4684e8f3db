#pragma once
// What start-up makes before the event loop runs: the application title
// and icon, the main window and the hidden report window, in that order.
#include <memory>
#include <optional>
#include <string>

#include "Settings.h"
#include "messages/QtUserMessages.h"
#include "okno_glowne/glow.h"
#include "okno_raportu/LOG.h"

class TAplikacja {
 public:
  // Needs a running QApplication.
  TAplikacja();
  TAplikacja(const TAplikacja&) = delete;
  TAplikacja& operator=(const TAplikacja&) = delete;

  // Shows the main window at its layout size, centred on the screen and
  // wholly inside its work area.
  void PokazOknoGlowne();

  // The file named first on the command line (Explorer's "Open with", a
  // file dropped on the program or its shortcut, the desktop entry's %f),
  // checked as soon as the event loop runs, as if chosen in the open dialog.
  // QApplication has taken its own options out of argv by then.
  void SprawdzZWierszaPolecen(int argc, char** argv);
  static std::optional<std::string> PlikZWierszaPolecen(int argc, char** argv);
  // What the user chose in earlier runs (the list of banks, the open
  // dialog's folder), from the user's own store; the program, not its
  // tests, calls it.
  void WczytajUstawienia();

 private:
  // Fixed before the windows exist, since the main window's creation
  // already needs them.
  struct TTytul {
    TTytul();
  } tytul_;
  ui::TQtUserMessages komunikaty_;
  std::unique_ptr<ui::TSettings> ustawienia_;

 public:
  TFormGlow FormGlow;
  TFormLOG FormLOG;
};
