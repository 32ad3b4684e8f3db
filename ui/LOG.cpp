#include "LOG.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFont>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextLayout>
#include <stdexcept>

#include "Cp1250.h"
#include "UtworzLOG.h"

namespace {

constexpr cp1250::Literal kZapisz{u8"Zapi&sz plik LOG"};
constexpr cp1250::Literal kDrukuj{u8"&Drukuj"};
constexpr cp1250::Literal kZamknij{u8"&Zamknij"};
constexpr cp1250::Literal kLinia{u8"Linia:"};
constexpr cp1250::Literal kKolumna{u8"Kolumna:"};
constexpr cp1250::Literal kTytul{u8"Plik LOG"};

constexpr char kBrakDrukarki[] = "There is no default printer currently selected";
constexpr char kZlaDrukarka[] = "Printer selected is not valid";
constexpr char kDrukowanieTrwa[] = "Printing in progress";

// Where the window shows the first time; later it stays where the user
// left it.
constexpr int kLewo = 402;
constexpr int kGora = 221;

// An edge and the five-pixel inner border inside it.
constexpr int kKrawedz = 1;
constexpr int kObramowanie = 5;

QString T(std::string_view cp) {
  return ui::ZCp1250(cp);
}

QFont CzcionkaOkna() {
  QFont f(QStringLiteral("MS Sans Serif"), 8);
  f.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")});
  f.setStyleHint(QFont::SansSerif);
  return f;
}

// The report quotes the faulty lines byte for byte and points at their
// columns; a fixed-pitch face keeps those columns countable. The last face
// has the control pictures the others lack, so a tab or NUL shows as its
// own sign rather than as an empty box.
QFont CzcionkaWidoku() {
  QFont f(QStringLiteral("Courier New"), 9);
  f.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                 QStringLiteral("DejaVu Sans Mono"), QStringLiteral("FreeMono")});
  f.setStyleHint(QFont::TypeWriter);
  f.setFixedPitch(true);
  return f;
}

QPushButton* NowyPrzycisk(const QString& nazwa, const QString& tekst, QWidget* rodzic) {
  auto* b = new QPushButton(tekst, rodzic);
  b->setObjectName(nazwa);
  // Enter on a focused button presses it, but no button is the window's
  // default: Enter elsewhere and Esc do nothing.
  b->setAutoDefault(false);
  b->setDefault(false);
  b->setFocusPolicy(Qt::StrongFocus);
  return b;
}

QLabel* NowaEtykieta(const QString& nazwa, const QString& tekst, QWidget* rodzic) {
  auto* l = new QLabel(tekst, rodzic);
  l->setObjectName(nazwa);
  l->setTextFormat(Qt::PlainText);
  l->adjustSize();
  return l;
}

}  // namespace

// --- The view ----------------------------------------------------------------

TRichEditLOG::TRichEditLOG(QWidget* rodzic) : QPlainTextEdit(rodzic) {
  setObjectName(QStringLiteral("RichEditLOG"));
  setReadOnly(true);
  // The caret can be placed, text selected and scrolled; nothing typed.
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setUndoRedoEnabled(false);
  setContextMenuPolicy(Qt::NoContextMenu);
  setBackgroundVisible(false);
  QPalette p = palette();
  p.setColor(QPalette::Base, p.color(QPalette::Active, QPalette::Base));
  setPalette(p);
}

QString TRichEditLOG::TekstWidoku(const std::string& bajty) {
  QString t;
  t.resize(static_cast<qsizetype>(bajty.size()));
  QChar* out = t.data();
  qsizetype n = 0;
  const std::size_t k = bajty.size();
  for (std::size_t i = 0; i < k; ++i) {
    const auto b = static_cast<unsigned char>(bajty[i]);
    if (b == '\r' && i + 1 < k && bajty[i + 1] == '\n') {
      out[n++] = QChar(u'\n');
      ++i;
      continue;
    }
    out[n++] = QChar(static_cast<char16_t>(cp1250::VisibleCodePoint(b)));
  }
  // The report's last CR LF ends its last line; it starts no empty one.
  if (n > 0 && out[n - 1] == QChar(u'\n')) --n;
  t.truncate(n);
  return t;
}

void TRichEditLOG::UstawRaport(std::string bajty) {
  raport_ = std::move(bajty);
  // One step: the document is built once, not line by line.
  setPlainText(TekstWidoku(raport_));
  QTextCursor c = textCursor();
  c.setPosition(0);
  setTextCursor(c);
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
}

void TRichEditLOG::keyReleaseEvent(QKeyEvent* e) {
  QPlainTextEdit::keyReleaseEvent(e);
  if (auto* okno = dynamic_cast<TFormLOG*>(window())) okno->RichEditLOGKeyUp();
}

// --- Dialogs -----------------------------------------------------------------

bool TSaveDialog::Execute() {
  auto wybor = komunikaty_.ZapiszPlik(wlasciciel_);
  if (!wybor) return false;
  FileName = std::move(*wybor);
  return true;
}

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

// --- The window --------------------------------------------------------------

TFormLOG::TFormLOG(ui::TUserMessages& komunikaty, QWidget* rodzic)
    : QWidget(rodzic, Qt::Window),
      SaveDialog1(komunikaty, this),
      PrinterSetupDialog1(komunikaty, this),
      komunikaty_(komunikaty) {
  Zbuduj();
}

TFormLOG::~TFormLOG() = default;

void TFormLOG::Zbuduj() {
  using ui::TPanel;
  using ui::Wyrownanie;

  setObjectName(QStringLiteral("FormLOG"));
  setWindowTitle(T(kTytul));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  // Closing it only hides it; the program ends with the main window.
  setAttribute(Qt::WA_QuitOnClose, false);
  setFont(CzcionkaOkna());

  auto* uklad = new ui::TUklad(this, QMargins());

  Panel1 = new TPanel(QStringLiteral("Panel1"), true, this);
  Button2 = NowyPrzycisk(QStringLiteral("Button2"), T(kZapisz), Panel1);
  Button2->setGeometry(8, 8, 117, 25);
  Button3 = NowyPrzycisk(QStringLiteral("Button3"), T(kDrukuj), Panel1);
  Button3->setGeometry(144, 8, 117, 25);

  Panel2 = new TPanel(QStringLiteral("Panel2"), true, this);
  // Labels nothing shows and nothing changes.
  Label1 = NowaEtykieta(QStringLiteral("Label1"), T(kLinia), Panel2);
  Label1->move(8, 4);
  Label1->hide();
  LiniaIdx = NowaEtykieta(QStringLiteral("LiniaIdx"), QStringLiteral("0"), Panel2);
  LiniaIdx->move(68, 4);
  LiniaIdx->hide();
  Label2 = NowaEtykieta(QStringLiteral("Label2"), T(kKolumna), Panel2);
  Label2->move(8, 20);
  Label2->hide();
  KolumnaIdx = NowaEtykieta(QStringLiteral("KolumnaIdx"), QStringLiteral("0"), Panel2);
  KolumnaIdx->move(68, 20);
  KolumnaIdx->hide();
  // Anchored to the left edge: it stays put when the window is resized.
  Button1 = NowyPrzycisk(QStringLiteral("Button1"), T(kZamknij), Panel2);
  Button1->setGeometry(596, 8, 75, 25);

  Panel3 = new TPanel(QStringLiteral("Panel3"), true, this);
  RichEditLOG = new TRichEditLOG(Panel3);
  RichEditLOG->setFont(CzcionkaWidoku());
  auto* ukladPanel3 =
      new ui::TUklad(Panel3, QMargins(kKrawedz + kObramowanie, kKrawedz + kObramowanie,
                                      kKrawedz + kObramowanie, kKrawedz + kObramowanie));
  ukladPanel3->Dodaj(RichEditLOG, Wyrownanie::Wypelnij);

  uklad->Dodaj(Panel1, Wyrownanie::Gora, 41);
  uklad->Dodaj(Panel2, Wyrownanie::Dol, 41);
  uklad->Dodaj(Panel3, Wyrownanie::Wypelnij);

  setTabOrder(Panel1, Panel2);
  setTabOrder(Button2, Button3);
  setTabOrder(Button3, Button1);
  setTabOrder(Button1, RichEditLOG);

  resize(690, 519);

  connect(Button1, &QPushButton::clicked, this, [this] { Obsluz([this] { Button1Click(); }); });
  connect(Button2, &QPushButton::clicked, this, [this] { Obsluz([this] { Button2Click(); }); });
  connect(Button3, &QPushButton::clicked, this, [this] { Obsluz([this] { Button3Click(); }); });
}

void TFormLOG::PokazModalnie() {
  if (isVisible()) return;
  ui::TOknoModalne modalne(komunikaty_);
  if (!pozycja_) {
    move(kLewo, kGora);
    pozycja_ = QPoint(kLewo, kGora);
  }
  setWindowModality(Qt::ApplicationModal);
  QEventLoop petla;
  petla_ = &petla;
  show();
  raise();
  activateWindow();
  if (isVisible()) petla.exec(QEventLoop::DialogExec);
  petla_ = nullptr;
}

void TFormLOG::hideEvent(QHideEvent* e) {
  QWidget::hideEvent(e);
  if (petla_ && !e->spontaneous()) petla_->quit();
}

void TFormLOG::closeEvent(QCloseEvent* e) {
  // Closing hides; the view keeps its text, caret and scroll position.
  e->accept();
}

void TFormLOG::Button1Click() {
  close();
}

void TFormLOG::Button2Click() {
  if (!SaveDialog1.Execute()) return;
  raport::ZapiszRaport(SaveDialog1.FileName, RichEditLOG->Raport());
}

void TFormLOG::Button3Click() {
  if (drukowanie_) throw std::runtime_error(kDrukowanieTrwa);
  // The default printer must be one of the installed ones.
  const QPrinterInfo domyslna = QPrinterInfo::defaultPrinter();
  if (domyslna.isNull() || !QPrinterInfo::availablePrinterNames().contains(domyslna.printerName()))
    throw std::runtime_error(kBrakDrukarki);
  if (!PrinterSetupDialog1.Execute()) return;
  Drukuj(PrinterSetupDialog1.Printer());
}

int TFormLOG::Drukuj(QPrinter& drukarka) {
  if (drukowanie_) throw std::runtime_error(kDrukowanieTrwa);
  if (!drukarka.isValid()) throw std::runtime_error(kZlaDrukarka);
  drukowanie_ = true;
  struct Koniec {
    bool& flaga;
    ~Koniec() { flaga = false; }
  } koniec{drukowanie_};

  drukarka.setDocName(T(kTytul));
  // The whole printable area, with no margins of our own.
  drukarka.setFullPage(false);
  drukarka.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);

  QPainter p;
  if (!p.begin(&drukarka)) throw std::runtime_error(kZlaDrukarka);
  const QRectF strona(QPointF(0, 0), drukarka.pageRect(QPrinter::DevicePixel).size());
  const QFont czcionka(RichEditLOG->font(), &drukarka);
  p.setFont(czcionka);
  p.setPen(Qt::black);

  // Each report line is laid out in the page's width; a line wider than the
  // page wraps at a blank where it can and anywhere where it cannot. The
  // page takes whole laid-out lines while they fit; the next page starts
  // with the first one it did not take.
  QTextOption opcje;
  opcje.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  const QString tekst = TRichEditLOG::TekstWidoku(RichEditLOG->Raport());
  int strony = 1;
  qreal y = 0;
  qsizetype poczatek = 0;
  const qsizetype dlugosc = tekst.size();
  while (poczatek <= dlugosc) {
    qsizetype koniecLinii = tekst.indexOf(QChar(u'\n'), poczatek);
    if (koniecLinii < 0) koniecLinii = dlugosc;
    QTextLayout uklad(tekst.mid(poczatek, koniecLinii - poczatek), czcionka, &drukarka);
    uklad.setTextOption(opcje);
    uklad.beginLayout();
    for (QTextLine l = uklad.createLine(); l.isValid(); l = uklad.createLine())
      l.setLineWidth(strona.width());
    uklad.endLayout();
    for (int i = 0; i < uklad.lineCount(); ++i) {
      const QTextLine l = uklad.lineAt(i);
      if (y > 0 && y + l.height() > strona.height()) {
        if (!drukarka.newPage()) throw std::runtime_error(kZlaDrukarka);
        ++strony;
        y = 0;
      }
      l.draw(&p, QPointF(0, y - l.y()));
      y += l.height();
    }
    if (koniecLinii >= dlugosc) break;
    poczatek = koniecLinii + 1;
  }
  if (!p.end()) throw std::runtime_error(kZlaDrukarka);
  return strony;
}
