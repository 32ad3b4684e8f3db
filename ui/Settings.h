#pragma once
// What the window program remembers between runs, in one store: the bank
// profile the user checks against and the folder of the file checked last.
// The store is the system's usual place for a program's settings (the
// registry on Windows, a file under ~/.config elsewhere); tests give a file
// of their own, so no test touches the user's settings.
#include <QString>
#include <memory>
#include <string>

class QSettings;

namespace ui {

class TSettings {
 public:
  // The user's own store.
  TSettings();
  // An INI file at `plik` (tests, or a store the caller chooses).
  explicit TSettings(const QString& plik);
  ~TSettings();
  TSettings(const TSettings&) = delete;
  TSettings& operator=(const TSettings&) = delete;

  // The chosen bank profile: a built-in profile's name or a profile file's
  // path; empty when the user never chose one (the default rules).
  QString Profil() const;
  void UstawProfil(const QString& profil);

  // The list of banks' sort codes the user gave, as the file system's own
  // bytes; empty: the built-in list.
  std::string WykazBankow() const;
  void UstawWykazBankow(const std::string& sciezka);

  // The folder of the file checked last; empty when none was checked yet.
  QString OstatniFolder() const;
  void UstawOstatniFolder(const QString& folder);

 private:
  QString Wartosc(const QString& klucz) const;
  void Ustaw(const QString& klucz, const QString& wartosc);

  std::unique_ptr<QSettings> settings_;
};

}  // namespace ui
