#pragma once
// The file and printer dialogs: the check command's open dialog, the
// report's save dialog and the printer setup. Each file dialog remembers
// the last file chosen (and the open dialog its filter) for the next time.
#include <QString>
#include <optional>
#include <string>

class QPrinter;
class QWidget;

namespace ui {

// A path as the core's file layer takes it: the system's own bytes on
// Linux; UTF-8 with backslashes on Windows, where the corrected file's name
// is cut at the last backslash.
std::string SciezkaDlaRdzenia(const QString& sciezka);

class TDialogiPlikow {
 public:
  // The chosen file as the file system's own bytes, or nothing when the
  // user cancelled.
  std::optional<std::string> OtworzPlik(QWidget* rodzic);
  // A list of banks' sort codes (JSON); remembered apart from the lists of
  // transfers, whose folder it must not move.
  std::optional<std::string> OtworzWykazBankow(QWidget* rodzic);
  std::optional<std::string> ZapiszPlik(QWidget* rodzic);
  // True when the user confirmed.
  bool UstawieniaDrukarki(QPrinter& drukarka, QWidget* rodzic);

 private:
  QString ostatniOtwarty_;
  QString ostatniWykaz_;
  int ostatniFiltr_ = 0;
  QString ostatniZapisany_;
};

}  // namespace ui
