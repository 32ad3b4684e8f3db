#include "messages/DialogiPlikow.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <algorithm>

#include "Cp1250Text.h"
#include "Settings.h"
#include "TekstyOkien.h"

namespace ui {

namespace {

// On Windows the system's common dialogs, which the user knows and Windows
// translates; elsewhere Qt's own, the same on every desktop.
void UstawRodzaj(QFileDialog& d) {
#ifdef Q_OS_WIN
  d.setOption(QFileDialog::DontUseNativeDialog, false);
#else
  d.setOption(QFileDialog::DontUseNativeDialog, true);
#endif
}

// Chooses a filter as the user would in the dialog's list. Qt's own dialog
// does not find a filter by name once the patterns are hidden; the system's
// dialog has no list to reach.
void WybierzFiltr(QFileDialog& d, int i) {
  if (i < 0 || i >= d.nameFilters().size()) return;
  auto* lista = d.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
  if (!lista) {
    d.selectNameFilter(d.nameFilters().at(i));
    return;
  }
  if (i >= lista->count()) return;
  lista->setCurrentIndex(i);
  emit lista->activated(i);
}

int WybranyFiltr(const QFileDialog& d) {
  if (auto* lista = d.findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
    return lista->currentIndex();
  return std::max<int>(static_cast<int>(d.nameFilters().indexOf(d.selectedNameFilter())), 0);
}

void FiltrBezWielkosciLiter(QFileDialog& d) {
  // The patterns are written in capitals; on a case-sensitive file system
  // "lista.txt" must still be shown.
  d.setFilter(d.filter() & ~QDir::CaseSensitive);
}

}  // namespace

std::string SciezkaDlaRdzenia(const QString& sciezka) {
#ifdef Q_OS_WIN
  const QByteArray bajty = QDir::toNativeSeparators(sciezka).toUtf8();
#else
  const QByteArray bajty = QFile::encodeName(sciezka);
#endif
  return std::string(bajty.constData(), static_cast<std::size_t>(bajty.size()));
}

QString SciezkaZRdzenia(const std::string& sciezka) {
  const QByteArray bajty(sciezka.data(), static_cast<qsizetype>(sciezka.size()));
#ifdef Q_OS_WIN
  return QDir::fromNativeSeparators(QString::fromUtf8(bajty));
#else
  return QFile::decodeName(bajty);
#endif
}

QString FolderPoczatkowy(const QString& zapamietany) {
  if (!zapamietany.isEmpty() && QFileInfo(zapamietany).isDir()) return zapamietany;
  const QString dokumenty = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!dokumenty.isEmpty() && QFileInfo(dokumenty).isDir()) return dokumenty;
  return QDir::homePath();
}

QString TDialogiPlikow::FolderOtwarcia() const {
  if (!ostatniOtwarty_.isEmpty())
    return FolderPoczatkowy(QFileInfo(ostatniOtwarty_).absolutePath());
  return FolderPoczatkowy(ustawienia_ ? ustawienia_->OstatniFolder() : QString());
}

void TDialogiPlikow::PlikSprawdzony(const std::string& sciezka) {
  const QFileInfo plik(SciezkaZRdzenia(sciezka));
  ostatniOtwarty_ = plik.absoluteFilePath();
  if (ustawienia_) ustawienia_->UstawOstatniFolder(plik.absolutePath());
}

namespace {
// What both open dialogs share: an existing file chosen, `filtr` first and
// every file second. The pattern "*.*" means every file on Windows; Linux
// names need no dot, so there the pattern behind "Wszystkie pliki" is "*".
// Only the descriptions show.
void UstawOtwieranie(QFileDialog& d, const QString& nazwa, const QString& filtr) {
  d.setObjectName(nazwa);
  UstawRodzaj(d);
  d.setOption(QFileDialog::HideNameFilterDetails);
  d.setAcceptMode(QFileDialog::AcceptOpen);
  d.setFileMode(QFileDialog::ExistingFile);
  d.setNameFilters({filtr, ZCp1250(teksty::komunikaty::kWszystkiePliki)});
  FiltrBezWielkosciLiter(d);
}
}  // namespace

std::optional<std::string> TDialogiPlikow::OtworzPlik(QWidget* rodzic) {
  QFileDialog d(rodzic);
  UstawOtwieranie(d, QStringLiteral("OpenDialog1"), ZCp1250(teksty::komunikaty::kPlikiTxt));
  d.setOption(QFileDialog::ReadOnly, false);
  WybierzFiltr(d, ostatniFiltr_);
  d.setDirectory(FolderOtwarcia());
  if (!ostatniOtwarty_.isEmpty()) d.selectFile(ostatniOtwarty_);
  if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return std::nullopt;
  ostatniOtwarty_ = d.selectedFiles().front();
  ostatniFiltr_ = WybranyFiltr(d);
  return SciezkaDlaRdzenia(ostatniOtwarty_);
}

std::optional<std::string> TDialogiPlikow::OtworzWykazBankow(QWidget* rodzic) {
  QFileDialog d(rodzic);
  UstawOtwieranie(d, QStringLiteral("OpenDialogWykaz"), ZCp1250(teksty::komunikaty::kWykazBankow));
  // Where the list was taken from last, else where the user's files are:
  // never the program's own folder.
  d.setDirectory(ostatniWykaz_.isEmpty()
                     ? FolderOtwarcia()
                     : FolderPoczatkowy(QFileInfo(ostatniWykaz_).absolutePath()));
  if (!ostatniWykaz_.isEmpty()) d.selectFile(ostatniWykaz_);
  if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return std::nullopt;
  ostatniWykaz_ = d.selectedFiles().front();
  return SciezkaDlaRdzenia(ostatniWykaz_);
}

std::optional<std::string> TDialogiPlikow::ZapiszPlik(QWidget* rodzic) {
  QFileDialog d(rodzic);
  d.setObjectName(QStringLiteral("SaveDialog1"));
  UstawRodzaj(d);
  d.setOption(QFileDialog::HideNameFilterDetails);
  d.setAcceptMode(QFileDialog::AcceptSave);
  d.setFileMode(QFileDialog::AnyFile);
  d.setNameFilters({ZCp1250(teksty::komunikaty::kPlikiTekstowe)});
  FiltrBezWielkosciLiter(d);
  d.setDefaultSuffix(QStringLiteral("TXT"));
  if (!ostatniZapisany_.isEmpty()) {
    d.setDirectory(QFileInfo(ostatniZapisany_).absolutePath());
    d.selectFile(ostatniZapisany_);
  } else {
    // Beside the file checked: the program's folder is seldom writable.
    d.setDirectory(FolderOtwarcia());
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
