// The program's windows as it opens them on the Windows platform, at the
// screen density wine is given, on a desktop with a taskbar: the main and
// report windows' sizes follow the 13-pixel rule (the design size times the
// window font's text height over 13), and every window's frame as the
// system draws it lies inside the screen and off the taskbar; the findings
// list's first columns hold their widest text. Measured with the system's own
// calls, not with Qt's idea of the frame. Prints what it measured, and
// with a folder argument also writes it to wynik.txt there with a picture
// of the screen for each window. Exit status 0 when all pass.
#include <windows.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <cstdio>
#include <string>

#include "Aplikacja.h"
#include "UwagiWszystkichRodzajow.h"
#include "okno_rachunkow/FormRachunki.h"
#include "typy/Typy.h"

namespace {

QString folder;
std::string wynik;

void Wypisz(const std::string& linia) {
  std::printf("%s\n", linia.c_str());
  std::fflush(stdout);
  wynik += linia + "\n";
  if (folder.isEmpty()) return;
  QFile f(folder + QStringLiteral("/wynik.txt"));
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(wynik.data(), wynik.size());
}

QRect Prostokat(const RECT& r) {
  return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

std::string Opis(const QRect& r) {
  return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) +
         "x" + std::to_string(r.height());
}

// The frame by GetWindowRect (the widest the system reports), the screen,
// and the taskbar, all in the system's pixels.
bool NaEkranie(const char* nazwa, QWidget& okno, std::string& opis) {
  const HWND hwnd = reinterpret_cast<HWND>(okno.winId());
  RECT r{};
  GetWindowRect(hwnd, &r);
  const QRect ramka = Prostokat(r);
  MONITORINFO m{};
  m.cbSize = sizeof m;
  GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &m);
  const QRect ekran = Prostokat(m.rcMonitor);
  QRect pasek;
  if (const HWND p = FindWindowW(L"Shell_TrayWnd", nullptr); p && IsWindowVisible(p)) {
    RECT rp{};
    GetWindowRect(p, &rp);
    pasek = Prostokat(rp);
  }
  opis = std::string(nazwa) + ": system frame " + Opis(ramka) + ", screen " + Opis(ekran) +
         ", work area " + Opis(Prostokat(m.rcWork)) +
         (pasek.isEmpty() ? std::string(", no taskbar") : ", taskbar " + Opis(pasek));
  // Without a taskbar this is not the desktop a user has.
  return !pasek.isEmpty() && ekran.contains(ramka) && !ramka.intersects(pasek) &&
         Prostokat(m.rcWork).contains(ramka);
}

bool Sprawdz(const char* nazwa, QWidget& okno, QSize projekt, int (*skaluj)(QWidget&, int)) {
  std::string opis;
  bool dobrze = NaEkranie(nazwa, okno, opis);
  if (!projekt.isEmpty()) {
    const QSize oczekiwany(skaluj(okno, projekt.width()), skaluj(okno, projekt.height()));
    dobrze &= okno.size() == oczekiwany;
    opis += ", " + std::to_string(okno.width()) + "x" + std::to_string(okno.height()) +
            " (13-pixel rule " + std::to_string(oczekiwany.width()) + "x" +
            std::to_string(oczekiwany.height()) + ")";
  }
  Wypisz(opis + (dobrze ? ": ok" : ": WRONG"));
  return dobrze;
}

// The line, column, field and what is wrong hold their header and their
// widest text.
bool Kolumny(const QTableView& lista) {
  const QAbstractItemView& widok = lista;
  std::string opis = "findings columns:";
  bool dobrze = true;
  for (int k = 0; k < ui::TModelUwag::kKolumnyCzytaneCale; ++k) {
    const int potrzeba =
        std::max(widok.sizeHintForColumn(k), lista.horizontalHeader()->sectionSizeHint(k));
    dobrze &= lista.columnWidth(k) >= potrzeba;
    opis += " " + std::to_string(lista.columnWidth(k)) + "/" + std::to_string(potrzeba);
  }
  Wypisz(opis + (dobrze ? ": ok" : ": WRONG"));
  return dobrze;
}

void Zrzut(const QString& nazwa) {
  if (folder.isEmpty()) return;
  QGuiApplication::primaryScreen()->grabWindow(0).save(folder + QLatin1Char('/') + nazwa);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
  TAplikacja aplikacja;
  aplikacja.PokazOknoGlowne();
  Wypisz("text height " + std::to_string(aplikacja.FormGlow.WysokoscTekstu()) + " px at " +
         std::to_string(qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch())) + " dpi");

  // Every kind of finding in every field: the longest sentences are there.
  Typy::TStan stan;
  const std::vector<rachunki::TUwagaLinii> uwagi = test_support::UwagiWszystkichRodzajow(stan);
  TFormRachunki rachunki(aplikacja.FormLOG.Komunikaty());
  rachunki.Ustaw(stan, {uwagi, {}, {}});

  bool dobrze = true;
  QTimer::singleShot(1500, &app, [&] {
    dobrze &= Sprawdz("main window", aplikacja.FormGlow, QSize(782, 526),
                      [](QWidget& w, int p) { return static_cast<TFormGlow&>(w).Skaluj(p); });
    Zrzut(QStringLiteral("okno-glowne.png"));
    QTimer::singleShot(1500, &app, [&] {
      dobrze &= Sprawdz("report window", aplikacja.FormLOG, QSize(690, 519),
                        [](QWidget& w, int p) { return static_cast<TFormLOG&>(w).Skaluj(p); });
      Zrzut(QStringLiteral("okno-raportu.png"));
      aplikacja.FormLOG.close();
    });
    aplikacja.FormLOG.PokazModalnie();
    QTimer::singleShot(1500, &app, [&] {
      dobrze &= Sprawdz("findings window", rachunki, QSize(782, 420),
                        [](QWidget& w, int p) { return static_cast<TFormRachunki&>(w).Skaluj(p); });
      dobrze &= Kolumny(*rachunki.ListaUwag);
      Zrzut(QStringLiteral("okno-rachunkow.png"));
      rachunki.close();
    });
    rachunki.PokazModalnie();
    QApplication::quit();
  });
  QApplication::exec();
  return dobrze ? 0 : 1;
}
