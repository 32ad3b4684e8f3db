#pragma once
// The file and printer dialogs: the check command's open dialog, the
// report's save dialog and the printer setup. Each file dialog remembers
// the last file chosen (and the open dialog its filter) for the next time.
// The open dialog first opens where the user's files are: the folder of the
// file checked last, kept in the settings store across runs, else the
// user's Documents folder; never the program's own folder, which is where
// a program started from the Start menu is working.
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
// The reverse: a path the core holds as Qt names it.
QString SciezkaZRdzenia(const std::string& sciezka);

class TSettings;

// The folder a file dialog opens in when it has nothing of this run to go
// by: `zapamietany` while it exists, else the user's Documents folder, else
// the home folder.
QString FolderPoczatkowy(const QString& zapamietany);

class TDialogiPlikow {
 public:
  // `ustawienia` (may be null: nothing outlives the run) must outlive this.
  explicit TDialogiPlikow(TSettings* ustawienia = nullptr) : ustawienia_(ustawienia) {}
  void UzyjUstawien(TSettings* ustawienia) { ustawienia_ = ustawienia; }
  // The chosen file as the file system's own bytes, or nothing when the
  // user cancelled.
  std::optional<std::string> OtworzPlik(QWidget* rodzic);
  // A list of banks' sort codes (JSON); remembered apart from the lists of
  // transfers, whose folder it must not move.
  std::optional<std::string> OtworzWykazBankow(QWidget* rodzic);
  std::optional<std::string> ZapiszPlik(QWidget* rodzic);
  // True when the user confirmed.
  bool UstawieniaDrukarki(QPrinter& drukarka, QWidget* rodzic);
  // A file was checked (from the dialog, the command line, a drop or the
  // automatic correction): the open dialog starts at it from now on, and
  // at its folder after a restart.
  void PlikSprawdzony(const std::string& sciezka);
  // The folder the open dialog opens in next.
  QString FolderOtwarcia() const;

 private:
  TSettings* ustawienia_;
  QString ostatniOtwarty_;
  QString ostatniWykaz_;
  int ostatniFiltr_ = 0;
  QString ostatniZapisany_;
};

}  // namespace ui
