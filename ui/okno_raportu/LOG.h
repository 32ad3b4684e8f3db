#pragma once
// The report window: shows the error report and saves or prints it. Created
// hidden at start-up; the main window hands it each new report and opens it
// modally.
#include <QPoint>
#include <QWidget>
#include <optional>
#include <string>

#include "layout/Layout.h"
#include "layout/Panel.h"
#include "layout/Splitter.h"
#include "layout/WindowBuilder.h"
#include "messages/ErrorBoundary.h"
#include "messages/ModalLoop.h"
#include "messages/UserMessages.h"
#include "okno_raportu/PrinterSetupDialog.h"
#include "okno_raportu/RichEditLOG.h"

class QCloseEvent;
class QHideEvent;
class QLabel;
class QPrinter;
class QPushButton;

class TFormLOG : public QWidget {
 public:
  // The window font is asked for by name; its text height scales the whole
  // layout, as the main window's does.
  explicit TFormLOG(ui::TUserMessages& komunikaty, const QFont& czcionka = ui::CzcionkaOkna(),
                    QWidget* rodzic = nullptr);
  // A length of the layout (given for a 13-pixel text height) in pixels.
  int Skaluj(int piksele) const { return skala_(piksele); }
  ~TFormLOG() override;
  ui::TUserMessages& Komunikaty() { return komunikaty_; }

  // Shows the window modally; returns when the user has closed it.
  void PokazModalnie();
  // The report to show, save and print from now on: Windows-1250 bytes,
  // every line followed by CR LF. The caret goes to its start.
  void UstawRaport(std::string raport);

  ui::TPanel* Panel1 = nullptr;
  ui::TPanel* Panel2 = nullptr;
  QPushButton* Button1 = nullptr;
  ui::TPanel* Panel3 = nullptr;
  TRichEditLOG* RichEditLOG = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button3 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* LiniaIdx = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* KolumnaIdx = nullptr;
  ui::TDialogPliku SaveDialog1;
  TPrinterSetupDialog PrinterSetupDialog1;

  void Button3Click();  // print
  void RichEditLOGKeyUp() {}
  void PokazPozycje() {}
  void Button2Click();  // save
  void Button1Click();  // close

  // Lays the report out on the printer's pages and draws it; the printer
  // must already be set up. Returns the number of pages. Throws when the
  // printer cannot be drawn on.
  int Drukuj(QPrinter& drukarka);

 protected:
  void hideEvent(QHideEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void Zbuduj(const QFont& czcionka);
  template <class F>
  void Obsluz(F&& f) {
    ui::Chron(komunikaty_, std::forward<F>(f));
  }

  ui::TUserMessages& komunikaty_;
  ui::TScale skala_;
  std::optional<QPoint> pozycja_;
  ui::TModalLoop petla_;
  bool drukowanie_ = false;
};
