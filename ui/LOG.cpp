#include "LOG.h"

TFormLOG::TFormLOG(ui::TUserMessages& komunikaty, QWidget* rodzic)
    : QWidget(rodzic, Qt::Window), komunikaty_(komunikaty) {
  setObjectName(QStringLiteral("FormLOG"));
  setWindowTitle(QStringLiteral("Plik LOG"));
  // Closing it only hides it; the program ends with the main window.
  setAttribute(Qt::WA_QuitOnClose, false);
  resize(690, 519);
}
