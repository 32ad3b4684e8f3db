// Both windows as the program opens them on the Windows platform, at the
// screen density wine is given: each window's size follows the 13-pixel
// rule (the design size times the window font's text height over 13) and
// its frame lies inside the screen's work area. Prints what it measured;
// with a folder argument it also saves a picture of the screen with each
// window open. Exit status 0 when both windows pass.
#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "Aplikacja.h"

namespace {

bool Sprawdz(const char* nazwa, QWidget& okno, QSize projekt, int (*skaluj)(QWidget&, int)) {
  const QRect obszar = okno.screen()->availableGeometry();
  const QRect ramka = okno.frameGeometry();
  const QSize oczekiwany(skaluj(okno, projekt.width()), skaluj(okno, projekt.height()));
  const bool dobrze = okno.size() == oczekiwany && obszar.contains(ramka);
  std::printf("%s: %dx%d (13-pixel rule %dx%d), frame %d,%d %dx%d, work area %dx%d: %s\n", nazwa,
              okno.width(), okno.height(), oczekiwany.width(), oczekiwany.height(), ramka.x(),
              ramka.y(), ramka.width(), ramka.height(), obszar.width(), obszar.height(),
              dobrze ? "ok" : "WRONG");
  return dobrze;
}

void Zrzut(const QString& folder, const QString& nazwa) {
  if (folder.isEmpty()) return;
  QGuiApplication::primaryScreen()->grabWindow(0).save(folder + QLatin1Char('/') + nazwa);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
  TAplikacja aplikacja;
  aplikacja.PokazOknoGlowne();
  std::printf("text height %d px at %g dpi\n", aplikacja.FormGlow.WysokoscTekstu(),
              QGuiApplication::primaryScreen()->logicalDotsPerInch());
  bool dobrze = true;
  QTimer::singleShot(1500, &app, [&] {
    dobrze &= Sprawdz("main window", aplikacja.FormGlow, QSize(782, 526),
                      [](QWidget& w, int p) { return static_cast<TFormGlow&>(w).Skaluj(p); });
    Zrzut(folder, QStringLiteral("okno-glowne.png"));
    QTimer::singleShot(1500, &app, [&] {
      dobrze &= Sprawdz("report window", aplikacja.FormLOG, QSize(690, 519),
                        [](QWidget& w, int p) { return static_cast<TFormLOG&>(w).Skaluj(p); });
      Zrzut(folder, QStringLiteral("okno-raportu.png"));
      aplikacja.FormLOG.close();
      QTimer::singleShot(0, &app, [] { QApplication::quit(); });
    });
    aplikacja.FormLOG.PokazModalnie();
  });
  QApplication::exec();
  std::fflush(stdout);
  return dobrze ? 0 : 1;
}
