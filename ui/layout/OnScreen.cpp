#include "layout/OnScreen.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
// windows.h first.
#include <dwmapi.h>
#endif

namespace ui {

QPoint PolozenieWObszarze(const QRect& okno, const QRect& obszar) {
  // The far edge first, then the near one: when both cannot hold, the top
  // left corner wins.
  const int x =
      std::max(std::min(okno.x(), obszar.x() + obszar.width() - okno.width()), obszar.x());
  const int y =
      std::max(std::min(okno.y(), obszar.y() + obszar.height() - okno.height()), obszar.y());
  return {x, y};
}

QRect ObszarBezPaska(const QRect& obszar, const QRect& pasek) {
  const QRect wspolne = obszar.intersected(pasek);
  if (wspolne.isEmpty()) return obszar;
  QRect r = obszar;
  if (wspolne.width() == obszar.width()) {
    // Across the whole width: on the top or the bottom edge.
    if (wspolne.top() == obszar.top())
      r.setTop(wspolne.bottom() + 1);
    else if (wspolne.bottom() == obszar.bottom())
      r.setBottom(wspolne.top() - 1);
  } else if (wspolne.height() == obszar.height()) {
    if (wspolne.left() == obszar.left())
      r.setLeft(wspolne.right() + 1);
    else if (wspolne.right() == obszar.right())
      r.setRight(wspolne.left() - 1);
  }
  return r.isEmpty() ? obszar : r;
}

#ifdef Q_OS_WIN

namespace {

QRect Prostokat(const RECT& r) {
  return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

HWND Uchwyt(QWidget& okno) {
  return reinterpret_cast<HWND>(okno.winId());
}

}  // namespace

TRamkaNaEkranie RamkaNaEkranie(QWidget& okno) {
  const HWND hwnd = Uchwyt(okno);
  RECT r{};
  // Windows 10 and 11 draw part of the border transparent: what the user
  // sees is the frame the compositor reports.
  if (FAILED(DwmGetWindowAttribute(hwnd, DWMWA_EXTENDED_FRAME_BOUNDS, &r, sizeof r)) ||
      r.right <= r.left)
    GetWindowRect(hwnd, &r);
  MONITORINFO m{};
  m.cbSize = sizeof m;
  GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &m);
  QRect obszar = Prostokat(m.rcWork);
  if (const HWND pasek = FindWindowW(L"Shell_TrayWnd", nullptr); pasek && IsWindowVisible(pasek)) {
    RECT p{};
    if (GetWindowRect(pasek, &p)) obszar = ObszarBezPaska(obszar, Prostokat(p));
  }
  return {Prostokat(r), obszar};
}

namespace {

void Przesun(QWidget& okno, QPoint o) {
  const HWND hwnd = Uchwyt(okno);
  RECT r{};
  if (!GetWindowRect(hwnd, &r)) return;
  SetWindowPos(hwnd, nullptr, r.left + o.x(), r.top + o.y(), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

#else

TRamkaNaEkranie RamkaNaEkranie(QWidget& okno) {
  const QRect ramka = okno.frameGeometry();
  const QScreen* ekran = QGuiApplication::screenAt(ramka.center());
  if (!ekran) ekran = okno.screen();
  return {ramka, ekran ? ekran->availableGeometry() : ramka};
}

namespace {

void Przesun(QWidget& okno, QPoint o) {
  okno.move(okno.pos() + o);
}

}  // namespace

#endif

void UmiescNaEkranie(QWidget& okno) {
  // A native window knows a frame before it is shown; the system's own
  // once it is.
  okno.winId();
  const TRamkaNaEkranie r = RamkaNaEkranie(okno);
  const QPoint cel = PolozenieWObszarze(r.ramka, r.obszar);
  if (cel != r.ramka.topLeft()) Przesun(okno, cel - r.ramka.topLeft());
}

void PokazNaEkranie(QWidget& okno) {
  UmiescNaEkranie(okno);
  okno.show();
  UmiescNaEkranie(okno);
  QTimer::singleShot(0, &okno, [o = QPointer<QWidget>(&okno)] {
    if (o && o->isVisible()) UmiescNaEkranie(*o);
  });
}

}  // namespace ui
