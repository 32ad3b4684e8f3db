#include "Settings.h"

#include <QSettings>

namespace ui {

namespace {
// Fixed names, not the application's title (which is the program's path):
// the store must be the same wherever the program was installed.
const QString kFirma = QStringLiteral("Tarmeko");
const QString kProgram = QStringLiteral("Tarmeko_weryfikacja_pliku");
const QString kProfil = QStringLiteral("profil");
const QString kOstatniFolder = QStringLiteral("ostatni_folder");
const QString kWykazBankow = QStringLiteral("wykaz_bankow");
}  // namespace

TSettings::TSettings()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kFirma,
                                            kProgram)) {}

TSettings::TSettings(const QString& plik)
    : settings_(std::make_unique<QSettings>(plik, QSettings::IniFormat)) {}

TSettings::~TSettings() = default;

QString TSettings::Wartosc(const QString& klucz) const {
  return settings_->value(klucz).toString();
}

void TSettings::Ustaw(const QString& klucz, const QString& wartosc) {
  settings_->setValue(klucz, wartosc);
  // Written at once: a program killed later must not forget the choice.
  settings_->sync();
}

QString TSettings::Profil() const {
  return Wartosc(kProfil);
}
void TSettings::UstawProfil(const QString& profil) {
  Ustaw(kProfil, profil);
}

// Kept as the bytes the core opens, which on Windows are UTF-8.
std::string TSettings::WykazBankow() const {
  const QByteArray b = settings_->value(kWykazBankow).toByteArray();
  return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}
void TSettings::UstawWykazBankow(const std::string& sciezka) {
  settings_->setValue(kWykazBankow,
                      QByteArray(sciezka.data(), static_cast<qsizetype>(sciezka.size())));
  settings_->sync();
}

QString TSettings::OstatniFolder() const {
  return Wartosc(kOstatniFolder);
}
void TSettings::UstawOstatniFolder(const QString& folder) {
  Ustaw(kOstatniFolder, folder);
}

}  // namespace ui
