#include "UserMessages.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "kodowanie/Cp1250.h"

namespace ui {

// --- Application title ------------------------------------------------------

namespace {

std::string& Tytul() {
  static std::string tytul;
  return tytul;
}

char MalaLitera(char c) {
  const auto b = static_cast<unsigned char>(c);
  const char16_t u = cp1250::kToUnicode[b];
  const char16_t lower = QChar(u).toLower().unicode();
  if (lower == u) return c;
  const int nb = cp1250::FromUnicode(lower);
  return nb < 0 ? c : static_cast<char>(nb);
}

}  // namespace

std::string TytulZeSciezki(std::string_view sciezka) {
  const auto slash = sciezka.find_last_of('/');
  std::string_view nazwa = slash == std::string_view::npos ? sciezka : sciezka.substr(slash + 1);
  nazwa = nazwa.substr(0, nazwa.find('.'));
  std::string tytul(nazwa);
  for (std::size_t i = 1; i < tytul.size(); ++i) tytul[i] = MalaLitera(tytul[i]);
  return tytul;
}

void UstawTytulAplikacji(std::string tytul) {
  Tytul() = std::move(tytul);
}
const std::string& TytulAplikacji() {
  return Tytul();
}

QString ZCp1250(std::string_view bytes) {
  QString s;
  s.reserve(static_cast<qsizetype>(bytes.size()));
  for (char c : bytes) s.append(QChar(cp1250::kToUnicode[static_cast<unsigned char>(c)]));
  return s;
}

std::string DoCp1250(const QString& text) {
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (const QChar ch : text) {
    const int b = cp1250::FromUnicode(ch.unicode());
    out.push_back(b < 0 ? '?' : static_cast<char>(b));
  }
  return out;
}

// --- Pure rules ---------------------------------------------------------------

std::string TekstDoSchowka(std::string_view tytul, std::string_view tekst,
                           const std::vector<std::string>& przyciski) {
  const std::string kreska(27, '-');
  std::string out;
  auto linia = [&out](std::string_view s) {
    out.append(s);
    out.append("\r\n");
  };
  linia(kreska);
  linia(tytul);
  linia(kreska);
  linia(tekst);
  linia(kreska);
  std::string wiersz;
  for (const std::string& p : przyciski) {
    for (char c : p)
      if (c != '&') wiersz.push_back(c);
    wiersz.append("   ");
  }
  linia(wiersz);
  linia(kreska);
  return out;
}

namespace {

// a * b / c rounded to the nearest whole number, for non-negative values.
int MulDiv(int a, int b, int c) {
  return (a * b + c / 2) / c;
}

constexpr int kIkona = 32;

}  // namespace

UkladKomunikatu ObliczUkladKomunikatu(const QFont& czcionka, const QString& tekst, bool zIkona,
                                      int szerokoscEkranu, const QString& napisPrzycisku) {
  const QFontMetrics fm(czcionka);
  const QString litery = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  UkladKomunikatu u;
  u.SredniaSzerokosc = fm.horizontalAdvance(litery) / 52;
  u.WysokoscLinii = fm.boundingRect(QRect(0, 0, 10000, 10000), 0, litery).height();
  const int x = u.SredniaSzerokosc;
  const int y = u.WysokoscLinii;

  const int marginesBoczny = MulDiv(8, x, 4);
  const int marginesPionowy = MulDiv(8, y, 8);
  const int odstepIkony = MulDiv(10, x, 4);
  const int odstepPrzycisku = MulDiv(10, y, 8);
  const int wysokoscPrzycisku = MulDiv(14, y, 8);
  const int szerokoscPrzycisku =
      std::max(MulDiv(50, x, 4), fm.horizontalAdvance(napisPrzycisku) + 8);

  const QRect blok = fm.boundingRect(QRect(0, 0, szerokoscEkranu / 2, 0),
                                     Qt::TextWordWrap | Qt::TextExpandTabs, tekst);
  int szerTekstu = blok.width();
  int wysTekstu = blok.height();
  const int czescIkony = zIkona ? kIkona + odstepIkony : 0;
  if (zIkona) wysTekstu = std::max(wysTekstu, kIkona);

  const int wiersz = szerokoscPrzycisku;  // one button
  const int szerWnetrza = std::max(czescIkony + szerTekstu, wiersz) + 2 * marginesBoczny;
  const int wysWnetrza = wysTekstu + odstepPrzycisku + wysokoscPrzycisku + 2 * marginesPionowy;

  if (zIkona) u.Ikona = QRect(marginesBoczny, marginesPionowy, kIkona, kIkona);
  u.Tekst = QRect(marginesBoczny + czescIkony, marginesPionowy, szerTekstu, wysTekstu);
  u.Przycisk = QRect((szerWnetrza - wiersz) / 2, marginesPionowy + wysTekstu + odstepPrzycisku,
                     szerokoscPrzycisku, wysokoscPrzycisku);
  u.Wnetrze = QSize(szerWnetrza, wysWnetrza);
  return u;
}

// --- Busy cursor -------------------------------------------------------------

void TKursorZajetosci::Ustaw(bool wlaczony) {
  ++zmiany_;
  wlaczony_ = wlaczony;
  Odswiez();
}

void TKursorZajetosci::ModalneOtwarte() {
  modalne_.push_back({wlaczony_, zmiany_});
  Odswiez();
}

void TKursorZajetosci::ModalneZamkniete() {
  if (modalne_.empty()) return;
  const Zapis z = modalne_.back();
  modalne_.pop_back();
  // Touched while the window was open: whoever touched it decided, and the
  // normal cursor stays.
  if (z.zmiany != zmiany_) wlaczony_ = false;
  Odswiez();
}

void TKursorZajetosci::Odswiez() {
  const bool pokaz = wlaczony_ && modalne_.empty();
  if (pokaz == pokazany_) return;
  pokazany_ = pokaz;
  Pokaz(pokaz);
}

void TQtUserMessages::TKursorQt::Pokaz(bool pokaz) {
  if (pokaz)
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QGuiApplication::restoreOverrideCursor();
}

// --- The message dialog ------------------------------------------------------

namespace {

// Ctrl+C in a dialog: the beep, and the dialog's content as a text block.
void Kopiuj(const std::string& tytul, const std::string& tekst, const QString& przycisk) {
  QApplication::beep();
  const std::string s = TekstDoSchowka(tytul, tekst, {DoCp1250(przycisk)});
  QGuiApplication::clipboard()->setText(ZCp1250(s));
}

class TOknoKomunikatu : public QDialog {
 public:
  TOknoKomunikatu(const std::string& tytul, const std::string& tekst, QStyle::StandardPixmap ikona,
                  bool zIkona)
      : tytul_(tytul), tekst_(tekst) {
    setObjectName(QStringLiteral("OknoKomunikatu"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(ZCp1250(tytul));
    setFont(QApplication::font("QMessageBox"));

    const QScreen* ekran = QGuiApplication::primaryScreen();
    const QRect obszar = ekran ? ekran->geometry() : QRect(0, 0, 1024, 768);
    const QString napis = QStringLiteral("OK");
    const UkladKomunikatu u =
        ObliczUkladKomunikatu(font(), ZCp1250(tekst), zIkona, obszar.width(), napis);

    if (zIkona) {
      auto* obraz = new QLabel(this);
      obraz->setObjectName(QStringLiteral("Ikona"));
      obraz->setPixmap(style()->standardIcon(ikona).pixmap(32, 32));
      obraz->setGeometry(u.Ikona);
    }
    // A label, so that a screen reader (and anything else that reads the
    // dialog's widgets) finds the message. It wraps as the layout measured
    // it: at word boundaries, with tabs expanded, from the block's top left.
    auto* napisTekstu = new QLabel(ZCp1250(tekst), this);
    napisTekstu->setObjectName(QStringLiteral("Tekst"));
    napisTekstu->setTextFormat(Qt::PlainText);
    napisTekstu->setWordWrap(true);
    napisTekstu->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    napisTekstu->setGeometry(u.Tekst);

    ok_ = new QPushButton(napis, this);
    ok_->setObjectName(QStringLiteral("OK"));
    ok_->setGeometry(u.Przycisk);
    ok_->setDefault(true);
    ok_->setAutoDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(u.Wnetrze);
    move(obszar.center() - QPoint(u.Wnetrze.width() / 2, u.Wnetrze.height() / 2));
    ok_->setFocus();
  }

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (e->matches(QKeySequence::Copy)) {
      Kopiuj(tytul_, tekst_, ok_->text());
      return;
    }
    // Esc rejects, Enter presses OK: both close the dialog.
    QDialog::keyPressEvent(e);
  }

 private:
  std::string tytul_;
  std::string tekst_;
  QPushButton* ok_ = nullptr;
};

// The error box: the system's standard message box, which copies its text
// block with Ctrl+C as the message dialog does (Qt's box does that only on
// Windows).
class TOknoBledu : public QMessageBox {
 public:
  TOknoBledu(const std::string& tytul, const std::string& tekst)
      : QMessageBox(QMessageBox::Critical, ZCp1250(tytul), ZCp1250(tekst), QMessageBox::Ok),
        tytul_(tytul),
        tekst_(tekst) {}

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (e->matches(QKeySequence::Copy)) {
      Kopiuj(tytul_, tekst_, button(QMessageBox::Ok)->text());
      return;
    }
    QMessageBox::keyPressEvent(e);
  }

 private:
  std::string tytul_;
  std::string tekst_;
};

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

}  // namespace

TQtUserMessages::TQtUserMessages() = default;
TQtUserMessages::~TQtUserMessages() {
  if (kursor_.Pokazany()) QGuiApplication::restoreOverrideCursor();
}

void TQtUserMessages::PokazKomunikat(Rodzaj rodzaj, const std::string& tekst) {
  std::string tytul;
  QStyle::StandardPixmap ikona = QStyle::SP_MessageBoxInformation;
  switch (rodzaj) {
    case Rodzaj::Ostrzezenie:
      tytul = "Warning";
      ikona = QStyle::SP_MessageBoxWarning;
      break;
    case Rodzaj::Informacja:
      tytul = "Information";
      break;
    case Rodzaj::Zwykly:
      tytul = TytulAplikacji();
      break;
  }
  TOknoModalne modalne(*this);
  TOknoKomunikatu okno(tytul, tekst, ikona, rodzaj != Rodzaj::Zwykly);
  okno.exec();
}

void TQtUserMessages::Ostrzezenie(const std::string& tekst) {
  PokazKomunikat(Rodzaj::Ostrzezenie, tekst);
}
void TQtUserMessages::Informacja(const std::string& tekst) {
  PokazKomunikat(Rodzaj::Informacja, tekst);
}
void TQtUserMessages::Komunikat(const std::string& tekst) {
  PokazKomunikat(Rodzaj::Zwykly, tekst);
}

void TQtUserMessages::BladKrytyczny(const std::string& komunikat) {
  TOknoModalne modalne(*this);
  TOknoBledu box(TytulAplikacji(), TekstBledu(komunikat));
  box.setObjectName(QStringLiteral("OknoBledu"));
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

bool TQtUserMessages::Pytanie(const std::string& tekst) {
  TOknoModalne modalne(*this);
  QMessageBox box(QMessageBox::Question, ZCp1250(TytulAplikacji()), ZCp1250(tekst),
                  QMessageBox::Yes | QMessageBox::No);
  box.setObjectName(QStringLiteral("OknoPytania"));
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  box.setWindowModality(Qt::ApplicationModal);
  return box.exec() == QMessageBox::Yes;
}

// The chosen path as the core's file layer takes it: the system's own bytes
// on Linux; UTF-8 with backslashes on Windows, where the corrected file's
// name is cut at the last backslash.
static std::string SciezkaDlaRdzenia(const QString& sciezka) {
#ifdef Q_OS_WIN
  const QByteArray bajty = QDir::toNativeSeparators(sciezka).toUtf8();
#else
  const QByteArray bajty = QFile::encodeName(sciezka);
#endif
  return std::string(bajty.constData(), static_cast<std::size_t>(bajty.size()));
}

std::optional<std::string> TQtUserMessages::OtworzPlik(QWidget* rodzic) {
  TOknoModalne modalne(*this);
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

std::optional<std::string> TQtUserMessages::ZapiszPlik(QWidget* rodzic) {
  TOknoModalne modalne(*this);
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

bool TQtUserMessages::UstawieniaDrukarki(QPrinter& drukarka, QWidget* rodzic) {
  TOknoModalne modalne(*this);
  QPrintDialog d(&drukarka, rodzic);
  d.setObjectName(QStringLiteral("PrinterSetupDialog1"));
  d.setOptions(QAbstractPrintDialog::PrintShowPageSize);
  return d.exec() == QDialog::Accepted;
}

// --- Recorder ----------------------------------------------------------------

void TRecordingUserMessages::Zajety(bool wlaczony) {
  kursor_.Ustaw(wlaczony);
  Zapisz({Rodzaj::Zajety, wlaczony ? "1" : "0"});
}

std::optional<std::string> TRecordingUserMessages::OtworzPlik(QWidget*) {
  Zapisz({Rodzaj::Otworz, {}});
  if (OdpowiedziOtworz.empty()) return std::nullopt;
  auto r = OdpowiedziOtworz.front();
  OdpowiedziOtworz.pop_front();
  return r;
}

std::optional<std::string> TRecordingUserMessages::ZapiszPlik(QWidget*) {
  Zapisz({Rodzaj::Zapisz, {}});
  if (OdpowiedziZapisz.empty()) return std::nullopt;
  auto r = OdpowiedziZapisz.front();
  OdpowiedziZapisz.pop_front();
  return r;
}

bool TRecordingUserMessages::Pytanie(const std::string& tekst) {
  Zapisz({Rodzaj::Pytanie, tekst});
  if (OdpowiedziPytanie.empty()) return false;
  const bool r = OdpowiedziPytanie.front();
  OdpowiedziPytanie.pop_front();
  return r;
}

bool TRecordingUserMessages::UstawieniaDrukarki(QPrinter&, QWidget*) {
  Zapisz({Rodzaj::Drukarka, {}});
  if (OdpowiedziDrukarka.empty()) return false;
  const bool r = OdpowiedziDrukarka.front();
  OdpowiedziDrukarka.pop_front();
  return r;
}

std::vector<std::string> TRecordingUserMessages::Teksty(Rodzaj rodzaj) const {
  std::vector<std::string> out;
  for (const auto& w : Wywolania)
    if (w.rodzaj == rodzaj) out.push_back(w.tekst);
  return out;
}

// --- Error boundary ----------------------------------------------------------

void PokazBlad(TUserMessages& m, const std::string& komunikat) noexcept {
  try {
    m.Zajety(false);
    m.BladKrytyczny(komunikat);
  } catch (...) {
    // Nothing is left to tell the user with; the event loop goes on.
  }
}

bool TDialogPliku::Execute() {
  auto wybor = (komunikaty_.*pytanie_)(wlasciciel_);
  if (!wybor) return false;
  FileName = std::move(*wybor);
  return true;
}

}  // namespace ui
