// Renders the program icon, the very drawing the window shows in its title
// bar: into the PNG files of an icon theme (DIR/NxN/apps/NAME.png for each
// size N given), or into one Windows icon file holding every size given.
#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "widgets/Ikony.h"

namespace {

void DopiszLE(QByteArray& b, unsigned wartosc, int bajty) {
  for (int i = 0; i < bajty; ++i) b.append(static_cast<char>((wartosc >> (8 * i)) & 0xFF));
}

// A Windows icon file whose images are PNG data, which every Windows since
// Vista reads at any size.
bool ZapiszIco(const QString& plik, const std::vector<int>& rozmiary) {
  std::vector<QByteArray> obrazy;
  for (int r : rozmiary) {
    QByteArray png;
    QBuffer bufor(&png);
    if (r < 16 || r > 256 || !bufor.open(QIODevice::WriteOnly) ||
        !ui::ObrazIkonyProgramu(r).save(&bufor, "PNG"))
      return false;
    obrazy.push_back(png);
  }
  QByteArray ico;
  DopiszLE(ico, 0, 2);  // reserved
  DopiszLE(ico, 1, 2);  // an icon, not a cursor
  DopiszLE(ico, static_cast<unsigned>(rozmiary.size()), 2);
  unsigned polozenie = 6 + 16 * static_cast<unsigned>(rozmiary.size());
  for (std::size_t i = 0; i < rozmiary.size(); ++i) {
    const unsigned r = rozmiary[i] == 256 ? 0 : static_cast<unsigned>(rozmiary[i]);
    DopiszLE(ico, r, 1);   // width; 0 stands for 256
    DopiszLE(ico, r, 1);   // height
    DopiszLE(ico, 0, 1);   // no palette
    DopiszLE(ico, 0, 1);   // reserved
    DopiszLE(ico, 1, 2);   // colour planes
    DopiszLE(ico, 32, 2);  // bits per pixel
    DopiszLE(ico, static_cast<unsigned>(obrazy[i].size()), 4);
    DopiszLE(ico, polozenie, 4);
    polozenie += static_cast<unsigned>(obrazy[i].size());
  }
  for (const QByteArray& o : obrazy) ico.append(o);
  QFile f(plik);
  return f.open(QIODevice::WriteOnly) && f.write(ico) == ico.size() && f.flush();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 4 && QByteArray(argv[1]) == "--ico") {
    std::vector<int> rozmiary;
    for (int i = 3; i < argc; ++i) rozmiary.push_back(std::atoi(argv[i]));
    if (!ZapiszIco(QString::fromLocal8Bit(argv[2]), rozmiary)) {
      std::fprintf(stderr, "rysuj-ikone: cannot write the icon file %s\n", argv[2]);
      return 1;
    }
    return 0;
  }
  if (argc < 4) {
    std::fprintf(stderr,
                 "usage: rysuj-ikone DIR NAME SIZE...\n       rysuj-ikone --ico FILE SIZE...\n");
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
