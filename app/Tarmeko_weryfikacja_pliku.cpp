// Start-up: fixes the application title, creates the two windows, shows the
// main one centred, checks a file named on the command line and runs the
// event loop until the main window is closed.
#include <QApplication>

#include "Aplikacja.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // Lets a Wayland desktop find the menu entry, and with it the icon, of the
  // running window.
  QGuiApplication::setDesktopFileName(QStringLiteral(ID_PULPITU));
  TAplikacja aplikacja;
  aplikacja.PokazOknoGlowne();
  aplikacja.WczytajUstawienia();
  aplikacja.SprawdzZWierszaPolecen(argc, argv);
  // The report window never keeps the program alive: closing the main
  // window ends it at once.
  return QApplication::exec();
}
