// Renders the program icon, the very drawing the window shows in its title
// bar, into the PNG files of an icon theme: DIR/NxN/apps/NAME.png for each
// size N given.
#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>

#include "Ikony.h"

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: rysuj-ikone DIR NAME SIZE...\n");
    return 2;
  }
  const QString katalog = QString::fromLocal8Bit(argv[1]);
  const QString nazwa = QString::fromLocal8Bit(argv[2]);
  for (int i = 3; i < argc; ++i) {
    const int rozmiar = std::atoi(argv[i]);
    const QString wymiar = QStringLiteral("%1x%1").arg(rozmiar);
    const QString folder = katalog + QLatin1Char('/') + wymiar + QStringLiteral("/apps");
    const QString plik = folder + QLatin1Char('/') + nazwa + QStringLiteral(".png");
    if (rozmiar < 16 || !QDir().mkpath(folder) ||
        !ui::ObrazIkonyProgramu(rozmiar).save(plik, "PNG")) {
      std::fprintf(stderr, "rysuj-ikone: cannot write the %s icon to %s\n", qPrintable(wymiar),
                   qPrintable(plik));
      return 1;
    }
  }
  return 0;
}
