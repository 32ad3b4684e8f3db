#pragma once
// One golden check of a window's geometry instead of a test that copies
// its layout table row by row: every named element, in the order of the
// widget tree, with its place in its parent and whether it shows, compared
// with a file in tests/ui/wzory/. WERYFIKACJA_NOWE_WZORY=1 in the
// environment writes the files anew instead (look at the diff before
// committing them).
#include <QFile>
#include <QString>
#include <QWidget>
#include <functional>

namespace test {

inline QString GeometriaOkna(const QWidget& okno) {
  QString out =
      QStringLiteral("%1 %2x%3\n").arg(okno.objectName()).arg(okno.width()).arg(okno.height());
  std::function<void(const QWidget&, int)> opisz = [&](const QWidget& w, int wciecie) {
    for (const QObject* o : w.children()) {
      const auto* d = qobject_cast<const QWidget*>(o);
      if (!d || d->isWindow()) continue;
      const QString nazwa = d->objectName();
      // Qt's own parts (scroll bars, viewports) are its business, not the
      // layout's; their named children still count.
      if (nazwa.isEmpty() || nazwa.startsWith(QStringLiteral("qt_"))) {
        opisz(*d, wciecie);
        continue;
      }
      const QRect r = d->geometry();
      out += QString(wciecie, QLatin1Char(' ')) +
             QStringLiteral("%1 %2,%3 %4x%5%6\n")
                 .arg(nazwa)
                 .arg(r.x())
                 .arg(r.y())
                 .arg(r.width())
                 .arg(r.height())
                 .arg(d->isVisibleTo(&okno) ? QString() : QStringLiteral(" hidden"));
      opisz(*d, wciecie + 2);
    }
  };
  opisz(okno, 2);
  return out;
}

// The golden file's text, or `tekst` itself after writing it when new
// golden files are asked for.
inline QString Wzor(const QString& nazwa, const QString& tekst) {
#ifdef Q_OS_WIN
  // Text widths follow the faces the system has, so Windows keeps its own.
  QFile plik(QStringLiteral(WZORY_DIR "/windows/") + nazwa);
#else
  QFile plik(QStringLiteral(WZORY_DIR "/") + nazwa);
#endif
  if (qEnvironmentVariableIsSet("WERYFIKACJA_NOWE_WZORY")) {
    if (plik.open(QIODevice::WriteOnly | QIODevice::Truncate)) plik.write(tekst.toUtf8());
    return tekst;
  }
  if (!plik.open(QIODevice::ReadOnly)) return QStringLiteral("(no golden file %1)").arg(nazwa);
  return QString::fromUtf8(plik.readAll());
}

}  // namespace test
