#pragma once
// The report window: shows the error report and saves or prints it. Created
// hidden at start-up; the main window opens it modally.
#include <QPlainTextEdit>
#include <QPoint>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "UserMessages.h"
#include "Wyrownanie.h"

class QCloseEvent;
class QEventLoop;
class QHideEvent;
class QKeyEvent;
class QLabel;
class QPrinter;
class QPushButton;

// The report's view. It keeps the report's exact bytes as the text of
// record (what is saved and printed) and shows them decoded, with every
// control byte other than a line's CR LF drawn as its control picture, so
// that a NUL or a tab in a quoted line can be seen.
class TRichEditLOG : public QPlainTextEdit {
 public:
  explicit TRichEditLOG(QWidget* rodzic = nullptr);

  // Replaces the whole text in one step; the caret goes to the start and
  // the view to its top.
  void UstawRaport(std::string bajty);
  const std::string& Raport() const { return raport_; }

  // The shown text for some report bytes: CR LF pairs end lines; any other
  // byte below 32, and 127, becomes its control picture.
  static QString TekstWidoku(const std::string& bajty);

 protected:
  void keyReleaseEvent(QKeyEvent* e) override;

 private:
  std::string raport_;
};

// The save dialog as the window sees it: the dialog itself, with its
// remembered name, lives in the message facility.
class TSaveDialog {
 public:
  TSaveDialog(ui::TUserMessages& komunikaty, QWidget* wlasciciel)
      : komunikaty_(komunikaty), wlasciciel_(wlasciciel) {}
  bool Execute();
  std::string FileName;

 private:
  ui::TUserMessages& komunikaty_;
  QWidget* wlasciciel_;
};

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

class TFormLOG : public QWidget {
 public:
  explicit TFormLOG(ui::TUserMessages& komunikaty, QWidget* rodzic = nullptr);
  ~TFormLOG() override;
  ui::TUserMessages& Komunikaty() { return komunikaty_; }

  // Shows the window modally; returns when the user has closed it.
  void PokazModalnie();

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
  TSaveDialog SaveDialog1;
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
  void Zbuduj();
  template <class F>
  void Obsluz(F&& f) {
    ui::Chron(komunikaty_, std::forward<F>(f));
  }

  ui::TUserMessages& komunikaty_;
  std::optional<QPoint> pozycja_;
  QEventLoop* petla_ = nullptr;
  bool drukowanie_ = false;
};
