// The window program's start-up up to its first shown window: the same
// steps as the program's own main, ending the process as soon as the main
// window has painted, so the caller's clock on the whole process measures
// the start-up alone.
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include "Ikony.h"
#include "LOG.h"
#include "UserMessages.h"
#include "glow.h"

namespace {

class TPierwszeMalowanie : public QObject {
 protected:
  bool eventFilter(QObject* obj, QEvent* ev) override {
    if (ev->type() == QEvent::Paint) {
      // Painted: start-up is over. Leaving through _exit keeps the
      // teardown out of the measurement.
      QObject::eventFilter(obj, ev);
      ::_exit(0);
    }
    return QObject::eventFilter(obj, ev);
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  ui::UstawTytulAplikacji(ui::TytulZeSciezki(ui::DoCp1250(QCoreApplication::applicationFilePath())));
  QApplication::setWindowIcon(ui::IkonaProgramu());

  ui::TQtUserMessages komunikaty;
  TFormGlow FormGlow(komunikaty);
  TFormLOG FormLOG(komunikaty);
  FormGlow.FormLOG = &FormLOG;
  if (const QScreen* ekran = QGuiApplication::primaryScreen()) {
    const QRect obszar = ekran->availableGeometry();
    FormGlow.move(obszar.center() - QPoint(FormGlow.width() / 2, FormGlow.height() / 2));
  }
  TPierwszeMalowanie filtr;
  FormGlow.installEventFilter(&filtr);
  FormGlow.show();
  // Never hang a benchmark: a window that does not paint in ten seconds
  // counts as a failure.
  QTimer::singleShot(10000, [] { ::_exit(3); });
  return QApplication::exec();
}
