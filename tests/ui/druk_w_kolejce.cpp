// Prints a long report through the report window's own print command to the
// system's default printer, as a user would; the script around it then looks
// for the job in the print server's queue.
#include <QApplication>
#include <QPrinter>
#include <QPushButton>
#include <cstdio>
#include <string>

#include "RecordingUserMessages.h"
#include "okno_raportu/LOG.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ui::TRecordingUserMessages m;
  TFormLOG log(m);
  std::string raport;
  for (int i = 1; i <= 400; ++i) raport += "Linia " + std::to_string(i) + " zawiera\r\n";
  log.RichEditLOG->UstawRaport(raport);
  m.OdpowiedziDrukarka = {true};  // the printer-setup dialog confirmed as preset
  log.Button3->click();

  for (const auto& b : m.Teksty(ui::TRecordingUserMessages::Rodzaj::Blad))
    std::fprintf(stderr, "error box: %s\n", b.c_str());
  const auto dialogi = m.Teksty(ui::TRecordingUserMessages::Rodzaj::Drukarka).size();
  const QString drukarka = log.PrinterSetupDialog1.Printer().printerName();
  std::printf("printer \"%s\", setup dialogs %zu\n", drukarka.toUtf8().constData(), dialogi);
  return m.Teksty(ui::TRecordingUserMessages::Rodzaj::Blad).empty() && dialogi == 1 ? 0 : 1;
}
