#include "okno_raportu/PrinterSetupDialog.h"

#include <QPrinter>
#include <QPrinterInfo>

TPrinterSetupDialog::TPrinterSetupDialog(ui::TUserMessages& komunikaty, QWidget* wlasciciel)
    : komunikaty_(komunikaty), wlasciciel_(wlasciciel) {}

TPrinterSetupDialog::~TPrinterSetupDialog() = default;

QPrinter& TPrinterSetupDialog::Printer() {
  // Made on first use, so that it starts with the default printer of the
  // moment the user first prints.
  if (!drukarka_) drukarka_ = std::make_unique<QPrinter>(QPrinterInfo::defaultPrinter());
  return *drukarka_;
}

bool TPrinterSetupDialog::Execute() {
  return komunikaty_.UstawieniaDrukarki(Printer(), wlasciciel_);
}
