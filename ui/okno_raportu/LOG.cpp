#include "okno_raportu/LOG.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QHideEvent>
#include <QLabel>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTextLayout>
#include <stdexcept>
#include <string_view>

#include "Cp1250Text.h"
#include "TekstyOkien.h"
#include "kodowanie/Cp1250.h"
#include "layout/OnScreen.h"
#include "raport/UtworzLOG.h"

namespace {

using namespace ui::nazwy_ukladu;
using namespace ui::teksty::okno_raportu;

// Where the window shows the first time; later it stays where the user
// left it.
constexpr int kLewo = 402;
constexpr int kGora = 221;

// The window's layout for a 13-pixel text height. The four labels of the
// bottom panel are never shown and never change; the close button keeps
// its distance from the panel's left edge.
// clang-format off
constexpr ui::TElementUkladu kUklad[] = {
// name          kind                               parent    left  top  width  height  text      font            placement          initially
{ "Panel1",      Rodzaj::PanelWypukly,              nullptr,     0,   0,   690,     41, {},       Czcionka::Okna, Miejsce::Gora},
{ "Button2",     Rodzaj::Przycisk,                  "Panel1",    8,   8,   117,     25, kZapisz,  Czcionka::Okna, Miejsce::Stale},
{ "Button3",     Rodzaj::Przycisk,                  "Panel1",  144,   8,   117,     25, kDrukuj,  Czcionka::Okna, Miejsce::Stale},
{ "Panel2",      Rodzaj::PanelWypukly,              nullptr,     0, 478,   690,     41, {},       Czcionka::Okna, Miejsce::Dol},
{ "Label1",      Rodzaj::Etykieta,                  "Panel2",    8,   4,    25,     13, kLinia,   Czcionka::Okna, Miejsce::Stale,    kUkryty},
{ "LiniaIdx",    Rodzaj::Etykieta,                  "Panel2",   68,   4,     6,     13, "0",      Czcionka::Okna, Miejsce::Stale,    kUkryty},
{ "Label2",      Rodzaj::Etykieta,                  "Panel2",    8,  20,    44,     13, kKolumna, Czcionka::Okna, Miejsce::Stale,    kUkryty},
{ "KolumnaIdx",  Rodzaj::Etykieta,                  "Panel2",   68,  20,     6,     13, "0",      Czcionka::Okna, Miejsce::Stale,    kUkryty},
{ "Button1",     Rodzaj::Przycisk,                  "Panel2",  596,   8,    75,     25, kZamknij, Czcionka::Okna, Miejsce::Stale},
{ "Panel3",      Rodzaj::PanelWypuklyZObramowaniem, nullptr,     0,  41,   690,    437, {},       Czcionka::Okna, Miejsce::Wypelnij},
{ "RichEditLOG", Rodzaj::Wlasny,                    "Panel3",    6,   6,   678,    425, {},       Czcionka::Okna, Miejsce::Wypelnij},
};
// clang-format on

}  // namespace

TFormLOG::TFormLOG(ui::TUserMessages& komunikaty, const QFont& czcionka, QWidget* rodzic)
    : QWidget(rodzic, Qt::Window),
      SaveDialog1(komunikaty, this, &ui::TUserMessages::ZapiszPlik),
      PrinterSetupDialog1(komunikaty, this),
      komunikaty_(komunikaty) {
  Zbuduj(czcionka);
}

TFormLOG::~TFormLOG() = default;

void TFormLOG::Zbuduj(const QFont& czcionka) {
  skala_ = ui::UstawOknoWlasne(this, QStringLiteral("FormLOG"), ui::ZCp1250(kTytul), czcionka);

  ui::TWindowBuilder budowa(this, skala_);
  budowa.Zbuduj(kUklad, [&](const ui::TElementUkladu&, QWidget* rodzic) -> QWidget* {
    auto* v = new TRichEditLOG(rodzic);
    v->setFont(TRichEditLOG::CzcionkaWidoku(czcionka));
    return v;
  });
  budowa.Przypisz(Panel1, "Panel1");
  budowa.Przypisz(Panel2, "Panel2");
  budowa.Przypisz(Button1, "Button1");
  budowa.Przypisz(Panel3, "Panel3");
  budowa.Przypisz(RichEditLOG, "RichEditLOG");
  budowa.Przypisz(Button2, "Button2");
  budowa.Przypisz(Button3, "Button3");
  budowa.Przypisz(Label1, "Label1");
  budowa.Przypisz(LiniaIdx, "LiniaIdx");
  budowa.Przypisz(Label2, "Label2");
  budowa.Przypisz(KolumnaIdx, "KolumnaIdx");

  setTabOrder(Panel1, Panel2);
  setTabOrder(Button2, Button3);
  setTabOrder(Button3, Button1);
  setTabOrder(Button1, RichEditLOG);

  resize(skala_(690), skala_(519));

  connect(Button1, &QPushButton::clicked, this, [this] { Obsluz([this] { Button1Click(); }); });
  connect(Button2, &QPushButton::clicked, this, [this] { Obsluz([this] { Button2Click(); }); });
  connect(Button3, &QPushButton::clicked, this, [this] { Obsluz([this] { Button3Click(); }); });
  RichEditLOG->PoPuszczeniuKlawisza = [this] { RichEditLOGKeyUp(); };
}

void TFormLOG::UstawRaport(std::string raport) {
  // The view takes the whole report at once, not line by line.
  RichEditLOG->UstawRaport(std::move(raport));
}

void TFormLOG::PokazModalnie() {
  if (isVisible()) return;
  // At a large text size the design position may leave the bottom strip,
  // with "Zamknij", off the screen: the first opening keeps the window
  // inside it. Later openings keep where the user left it.
  const bool pierwsze = !pozycja_;
  if (pierwsze) {
    pozycja_ = QPoint(skala_(kLewo), skala_(kGora));
    move(*pozycja_);
  }
  petla_.Pokaz(*this, komunikaty_, pierwsze);
}

void TFormLOG::hideEvent(QHideEvent* e) {
  QWidget::hideEvent(e);
  petla_.Ukryte(*e);
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
  if (drukowanie_) throw std::runtime_error(kDrukowanieTrwa.str());
  // The default printer must be one of the installed ones.
  const QPrinterInfo domyslna = QPrinterInfo::defaultPrinter();
  if (domyslna.isNull() || !QPrinterInfo::availablePrinterNames().contains(domyslna.printerName()))
    throw std::runtime_error(kBrakDrukarki.str());
  if (!PrinterSetupDialog1.Execute()) return;
  Drukuj(PrinterSetupDialog1.Printer());
}

int TFormLOG::Drukuj(QPrinter& drukarka) {
  if (drukowanie_) throw std::runtime_error(kDrukowanieTrwa.str());
  if (!drukarka.isValid()) throw std::runtime_error(kZlaDrukarka.str());
  drukowanie_ = true;
  struct Koniec {
    bool& flaga;
    ~Koniec() { flaga = false; }
  } koniec{drukowanie_};

  drukarka.setDocName(ui::ZCp1250(kTytul));
  // The whole printable area, with no margins of our own.
  drukarka.setFullPage(false);
  drukarka.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);

  QPainter p;
  if (!p.begin(&drukarka)) throw std::runtime_error(kZlaDrukarka.str());
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
        if (!drukarka.newPage()) throw std::runtime_error(kZlaDrukarka.str());
        ++strony;
        y = 0;
      }
      l.draw(&p, QPointF(0, y - l.y()));
      y += l.height();
    }
    if (koniecLinii >= dlugosc) break;
    poczatek = koniecLinii + 1;
  }
  if (!p.end()) throw std::runtime_error(kZlaDrukarka.str());
  return strony;
}
