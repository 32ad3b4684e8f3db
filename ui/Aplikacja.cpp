#include "Aplikacja.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include "AppTitle.h"
#include "Cp1250Text.h"
#include "Ikony.h"
#include "NaEkranie.h"
#include "stan/Typy.h"

TAplikacja::TTytul::TTytul() {
  // The whole path, however long: a cut path would give a wrong title.
  ui::UstawTytulAplikacji(
      ui::TytulZeSciezki(ui::DoCp1250(QCoreApplication::applicationFilePath())));
  QApplication::setWindowIcon(ui::IkonaProgramu());
}

// The program's one verification state lives as long as the process; the
// main window is handed it.
TAplikacja::TAplikacja() : FormGlow(Typy::Stan(), komunikaty_), FormLOG(komunikaty_) {
  FormGlow.FormLOG = &FormLOG;
}

void TAplikacja::PokazOknoGlowne() {
  if (const QScreen* ekran = QGuiApplication::primaryScreen()) {
    const QRect obszar = ekran->availableGeometry();
    FormGlow.move(obszar.center() - QPoint(FormGlow.width() / 2, FormGlow.height() / 2));
  }
  // Before showing and again once the frame is known.
  ui::UmiescNaEkranie(FormGlow);
  FormGlow.show();
  ui::UmiescNaEkranie(FormGlow);
}
