#pragma once
// The report window: shows the error report and saves or prints it. Created
// hidden at start-up; the main window opens it modally.
#include <QWidget>

#include "UserMessages.h"

class TFormLOG : public QWidget {
 public:
  explicit TFormLOG(ui::TUserMessages& komunikaty, QWidget* rodzic = nullptr);
  ui::TUserMessages& Komunikaty() { return komunikaty_; }

 private:
  ui::TUserMessages& komunikaty_;
};
