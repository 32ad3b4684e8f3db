// Start-up: fixes the application title, creates the two windows, shows the
// main one centred and runs the event loop until it is closed.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include "Ikony.h"
#include "LOG.h"
#include "UserMessages.h"
#include "glow.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // The whole path, however long: a cut path would give a wrong title.
  ui::UstawTytulAplikacji(
      ui::TytulZeSciezki(ui::DoCp1250(QCoreApplication::applicationFilePath())));
  QApplication::setWindowIcon(ui::IkonaProgramu());

  ui::TQtUserMessages komunikaty;
  TFormGlow FormGlow(komunikaty);
  TFormLOG FormLOG(komunikaty);
  FormGlow.FormLOG = &FormLOG;

  if (const QScreen* ekran = QGuiApplication::primaryScreen()) {
    const QRect obszar = ekran->availableGeometry();
    FormGlow.move(obszar.center() - QPoint(FormGlow.width() / 2, FormGlow.height() / 2));
  }
  FormGlow.show();
  // The report window never keeps the program alive: closing the main
  // window ends it at once.
  return QApplication::exec();
}
