#include "Aplikacja.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#ifdef Q_OS_WIN
#include <QFileInfo>
#else
#include <unistd.h>
#endif

#include "Cp1250Text.h"
#include "QtTranslation.h"
#include "layout/OnScreen.h"
#include "messages/AppTitle.h"
#include "messages/DialogiPlikow.h"
#include "typy/Typy.h"
#include "widgets/Ikony.h"

TAplikacja::TTytul::TTytul() {
  // The whole path, however long: a cut path would give a wrong title.
  ui::UstawTytulAplikacji(
      ui::TytulZeSciezki(ui::DoCp1250(QCoreApplication::applicationFilePath())));
  QApplication::setWindowIcon(ui::IkonaProgramu());
  // Qt's own texts in Polish from the first dialog on.
  ui::ZaladujTlumaczenieQt();
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
  ui::PokazNaEkranie(FormGlow);
}

std::optional<std::string> TAplikacja::PlikZWierszaPolecen(int argc, char** argv) {
#ifdef Q_OS_WIN
  // The command line as Windows holds it, in UTF-16: argv has only the
  // ANSI code page's characters.
  (void)argc;
  (void)argv;
  const QStringList argumenty = QCoreApplication::arguments();
  if (argumenty.size() < 2 || argumenty.at(1).isEmpty()) return std::nullopt;
  return ui::SciezkaDlaRdzenia(QFileInfo(argumenty.at(1)).absoluteFilePath());
#else
  // The name's own bytes, whatever their encoding; made absolute as the
  // open dialog's answer is.
  if (argc < 2 || !*argv[1]) return std::nullopt;
  std::string sciezka = argv[1];
  if (sciezka.front() != '/') {
    std::string katalog(4096, '\0');
    while (!::getcwd(katalog.data(), katalog.size())) {
      if (katalog.size() > (1u << 20)) return sciezka;
      katalog.resize(katalog.size() * 2);
    }
    katalog.resize(katalog.find('\0'));
    sciezka = katalog + (katalog.ends_with('/') ? "" : "/") + sciezka;
  }
  return sciezka;
#endif
}

void TAplikacja::WczytajUstawienia() {
  ustawienia_ = std::make_unique<ui::TSettings>();
  FormGlow.UzyjUstawien(ustawienia_.get());
  komunikaty_.UzyjUstawien(ustawienia_.get());
}

void TAplikacja::SprawdzZWierszaPolecen(int argc, char** argv) {
  const auto sciezka = PlikZWierszaPolecen(argc, argv);
  if (!sciezka) return;
  // Once the event loop runs: the check ends in a modal dialog.
  QTimer::singleShot(0, &FormGlow, [this, s = *sciezka] { FormGlow.SprawdzWskazanyPlik(s); });
}
