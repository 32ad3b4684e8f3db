// The window program's start-up up to its first shown window: the
// program's own start-up, ending the process as soon as the main
// window has painted, so the caller's clock on the whole process measures
// the start-up alone.
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include "Aplikacja.h"

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
  TAplikacja aplikacja;
  TPierwszeMalowanie filtr;
  aplikacja.FormGlow.installEventFilter(&filtr);
  aplikacja.PokazOknoGlowne();
  // Never hang a benchmark: a window that does not paint in ten seconds
  // counts as a failure.
  QTimer::singleShot(10000, [] { ::_exit(3); });
  return QApplication::exec();
}
