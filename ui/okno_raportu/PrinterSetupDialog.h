#pragma once
// The report window's printer choice, asked through the user-message facility.
#include <memory>

#include "messages/UserMessages.h"

class QPrinter;
class QWidget;

// The printer-setup dialog and the printer it chose: kept until the
// program ends, starting with the system's default printer.
class TPrinterSetupDialog {
 public:
  TPrinterSetupDialog(ui::TUserMessages& komunikaty, QWidget* wlasciciel);
  ~TPrinterSetupDialog();
  // True when the user confirmed; Printer() then holds the choice.
  bool Execute();
  QPrinter& Printer();

 private:
  ui::TUserMessages& komunikaty_;
  QWidget* wlasciciel_;
  std::unique_ptr<QPrinter> drukarka_;
};
