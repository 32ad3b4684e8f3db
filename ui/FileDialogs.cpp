#include "FileDialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>

namespace ui {

namespace {

// Chooses a filter as the user would in the dialog's list. The dialog's own
// preselection does not find a filter once the patterns are hidden.
void WybierzFiltr(QFileDialog& d, int i) {
  auto* lista = d.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
  if (!lista || i < 0 || i >= lista->count()) return;
  lista->setCurrentIndex(i);
  emit lista->activated(i);
}

void FiltrBezWielkosciLiter(QFileDialog& d) {
  // The patterns are written in capitals; on a case-sensitive file system
  // "lista.txt" must still be shown.
  d.setFilter(d.filter() & ~QDir::CaseSensitive);
}

// The chosen path as the core's file layer takes it: the system's own bytes
// on Linux; UTF-8 with backslashes on Windows, where the corrected file's
// name is cut at the last backslash.
std::string SciezkaDlaRdzenia(const QString& sciezka) {
#ifdef Q_OS_WIN
  const QByteArray bajty = QDir::toNativeSeparators(sciezka).toUtf8();
#else
  const QByteArray bajty = QFile::encodeName(sciezka);
#endif
  return std::string(bajty.constData(), static_cast<std::size_t>(bajty.size()));
}

}  // namespace

std::optional<std::string> TDialogiPlikow::OtworzPlik(QWidget* rodzic) {
  QFileDialog d(rodzic);
  d.setObjectName(QStringLiteral("OpenDialog1"));
  d.setOption(QFileDialog::DontUseNativeDialog);
  d.setOption(QFileDialog::ReadOnly, false);
  // The pattern "*.*" means every file here; Linux names need no dot, so
  // the pattern behind "Wszystkie pliki" is "*". Only the descriptions show.
  d.setOption(QFileDialog::HideNameFilterDetails);
  d.setAcceptMode(QFileDialog::AcceptOpen);
  d.setFileMode(QFileDialog::ExistingFile);
  const QStringList filtry = {QStringLiteral("Pliki TXT (*.TXT)"),
                              QStringLiteral("Wszystkie pliki (*)")};
  d.setNameFilters(filtry);
  FiltrBezWielkosciLiter(d);
  WybierzFiltr(d, ostatniFiltr_);
  if (!ostatniOtwarty_.isEmpty()) {
    d.setDirectory(QFileInfo(ostatniOtwarty_).absolutePath());
    d.selectFile(ostatniOtwarty_);
  }
  if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return std::nullopt;
  ostatniOtwarty_ = d.selectedFiles().front();
  if (auto* lista = d.findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
    ostatniFiltr_ = lista->currentIndex();
  return SciezkaDlaRdzenia(ostatniOtwarty_);
}

std::optional<std::string> TDialogiPlikow::ZapiszPlik(QWidget* rodzic) {
  QFileDialog d(rodzic);
  d.setObjectName(QStringLiteral("SaveDialog1"));
  d.setOption(QFileDialog::DontUseNativeDialog);
  d.setOption(QFileDialog::HideNameFilterDetails);
  d.setAcceptMode(QFileDialog::AcceptSave);
  d.setFileMode(QFileDialog::AnyFile);
  d.setNameFilters({QStringLiteral("Pliki tekstowe (*.TXT)")});
  FiltrBezWielkosciLiter(d);
  d.setDefaultSuffix(QStringLiteral("TXT"));
  if (!ostatniZapisany_.isEmpty()) {
    d.setDirectory(QFileInfo(ostatniZapisany_).absolutePath());
    d.selectFile(ostatniZapisany_);
  }
  if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return std::nullopt;
  ostatniZapisany_ = d.selectedFiles().front();
  return SciezkaDlaRdzenia(ostatniZapisany_);
}

bool TDialogiPlikow::UstawieniaDrukarki(QPrinter& drukarka, QWidget* rodzic) {
  QPrintDialog d(&drukarka, rodzic);
  d.setObjectName(QStringLiteral("PrinterSetupDialog1"));
  d.setOptions(QAbstractPrintDialog::PrintShowPageSize);
  return d.exec() == QDialog::Accepted;
}

}  // namespace ui
