#include "okno_glowne/glow.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStyle>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <vector>

#include "Cp1250Text.h"
#include "Settings.h"
#include "TekstyOkien.h"
#include "diagnoza/PoprawKodowanie.h"
#include "diagnoza/PropozycjaPoprawki.h"
#include "kodowanie/Cp1250.h"
#include "layout/WindowBuilder.h"
#include "messages/DialogiPlikow.h"
#include "okno_glowne/ModelBledow.h"
#include "okno_glowne/PasekListy.h"
#include "okno_glowne/WyborProfilu.h"
#include "okno_rachunkow/FormRachunki.h"
#include "okno_raportu/LOG.h"
#include "profile/Profil.h"
#include "rachunki/WykazBankow.h"
#include "raport/ZapiszPoprawiony.h"
#include "sprawdzanie/SprawdzPlik.h"
#include "typy/KorektaZnaku.h"
#include "typy/TekstBledu.h"
#include "typy/Teksty.h"
#include "typy/Typy.h"
#include "widgets/Ikony.h"
#include "widgets/WidokLinii.h"

namespace {

using namespace ui::nazwy_ukladu;

using namespace ui::teksty::okno_glowne;

// The window's layout, container by container from the top down, for a
// 13-pixel text height. Aligned rows stack in the order given; the
// splitter follows the detail panel it sits on.
// clang-format off
constexpr ui::TElementUkladu kUklad[] = {
// name                      kind                               parent            left  top  width  height  text          font                        placement          initially
{ "Panel1",                  Rodzaj::PanelWypukly,              nullptr,             0,   0,   782,     41, {},           Czcionka::Okna,             Miejsce::Gora},
{ "Button3",                 Rodzaj::Przycisk,                  "Panel1",           12,   8,   213,     25, kSprawdz,     Czcionka::Pogrubiona,       Miejsce::Stale},
{ "ButtonZapiszNew",         Rodzaj::Przycisk,                  "Panel1",          248,   8,   185,     25, kZapisz,      Czcionka::Pogrubiona,       Miejsce::Stale,    kWylaczony},
{ "ButtonPokazLog",          Rodzaj::Przycisk,                  "Panel1",          456,   8,   197,     25, kPokazLog,    Czcionka::Pogrubiona,       Miejsce::Stale,    kWylaczony},
// The bank profile, in the bar's room right of the last button; its width
// is what that room is at the font in use.
{ "ComboProfil",             Rodzaj::Wlasny,                    "Panel1",          668,   9,   108,     23, {},           Czcionka::Okna,             Miejsce::Stale},
{ "Panel2",                  Rodzaj::PanelWypuklyZObramowaniem, nullptr,             0,  41,   782,    121, {},           Czcionka::Okna,             Miejsce::Wypelnij},
{ "Panel3",                  Rodzaj::PanelPlaski,               "Panel2",            6,   6,   770,     23, kListaBledow, Czcionka::Okna,             Miejsce::Gora},
{ "Label1",                  Rodzaj::Etykieta,                  "Panel3",          124,   5,   137,     13, kIloscLinii,  Czcionka::Okna,             Miejsce::Stale},
{ "LabelIleBledow",          Rodzaj::Etykieta,                  "Panel3",          272,   5,     8,     13, "0",          Czcionka::Pogrubiona,       Miejsce::Stale},
// The encoding diagnosis and its correction, in the strip's free space right
// of the count; placed after each check, shown only with something to say.
{ "LabelKodowanie",          Rodzaj::Etykieta,                  "Panel3",          300,   5,     8,     13, {},           Czcionka::Okna,             Miejsce::Stale,    kUkryty},
{ "ButtonPoprawAutomatycznie", Rodzaj::Przycisk,                "Panel3",          560,   1,   140,     21, kPopraw,      Czcionka::Okna,             Miejsce::Stale,    kUkryty},
// Wrong account numbers and transfer fields, after the encoding hint; placed
// after each check, shown only with findings.
{ "LabelRachunki",           Rodzaj::Etykieta,                  "Panel3",          300,   5,     8,     13, {},           Czcionka::Okna,             Miejsce::Stale,    kUkryty},
{ "ButtonPokazRachunki",     Rodzaj::Przycisk,                  "Panel3",          700,   1,    60,     21, kPokazRachunki, Czcionka::Okna,           Miejsce::Stale,    kUkryty},
{ "StringGridBledy",         Rodzaj::Wlasny,                    "Panel2",            6,  29,   770,     86, {},           Czcionka::Okna,             Miejsce::Wypelnij, kUkryty},
{ "PanelSzczegoly",          Rodzaj::PanelWypuklyZObramowaniem, nullptr,             0, 171,   782,    355, {},           Czcionka::Okna,             Miejsce::Dol,      kUkryty},
{ "GroupBox1",               Rodzaj::Ramka,                     "PanelSzczegoly",    6,   6,   770,    343, kSzczegoly,   Czcionka::Okna,             Miejsce::Wypelnij},
{ "Panel6",                  Rodzaj::PanelPlaskiZObramowaniem,  "GroupBox1",         2,  15,   766,    218, {},           Czcionka::Okna,             Miejsce::Gora},
{ "LabelSzczegolyLiniaBlad", Rodzaj::Etykieta,                  "Panel6",            8,   4,   146,     13, kBlednaLinia, Czcionka::Okna,             Miejsce::Stale},
{ "MemoLiniaOrg",            Rodzaj::Wlasny,                    "Panel6",            8,  24,   737,     69, {},           Czcionka::StalaSzerokosc8,  Miejsce::Stale,    kWylaczony},
{ "Label2",                  Rodzaj::Etykieta,                  "Panel6",            8, 104,    77,     13, kPoprawiona,  Czcionka::Okna,             Miejsce::Stale},
{ "MemoLiniaNew",            Rodzaj::Wlasny,                    "Panel6",            8, 120,   737,     69, {},           Czcionka::StalaSzerokosc8,  Miejsce::Stale},
{ "Label3",                  Rodzaj::Etykieta,                  "Panel6",            8, 201,   195,     13, kBledneZnaki, Czcionka::Okna,             Miejsce::Stale},
{ "Panel5",                  Rodzaj::PanelPlaskiZObramowaniem,  "GroupBox1",         2, 233,   766,    108, {},           Czcionka::Okna,             Miejsce::Wypelnij},
{ "StringGridZnaki",         Rodzaj::Wlasny,                    "Panel5",            5,   5,   335,     98, {},           Czcionka::Okna,             Miejsce::Lewo},
{ "Label4",                  Rodzaj::Etykieta,                  "Panel5",          424,   8,    75,     13, kOryginalny,  Czcionka::Okna,             Miejsce::Stale},
{ "EditZnakOrg",             Rodzaj::Pole,                      "Panel5",          520,   3,    41,     24, {},           Czcionka::StalaSzerokosc10, Miejsce::Stale,    kWylaczony},
{ "Label5",                  Rodzaj::Etykieta,                  "Panel5",          424,  36,    53,     13, kNowy,        Czcionka::Okna,             Miejsce::Stale},
{ "EditZnakNew",             Rodzaj::Pole,                      "Panel5",          520,  31,    41,     24, {},           Czcionka::StalaSzerokosc10, Miejsce::Stale},
{ "BitBtn1",                 Rodzaj::Przycisk,                  "Panel5",          584,  32,   161,     25, kZatwierdz,   Czcionka::Okna,             Miejsce::Stale},
{ "Splitter1",               Rodzaj::Wlasny,                    nullptr,             0, 162,   782,      9, {},           Czcionka::Okna,             Miejsce::Dol},
};
// clang-format on

// The order Tab takes through the elements.
constexpr const char* kKolejnoscTabulacji[] = {"Button3",
                                               "ButtonZapiszNew",
                                               "ButtonPokazLog",
                                               "ComboProfil",
                                               "ButtonPoprawAutomatycznie",
                                               "ButtonPokazRachunki",
                                               "StringGridBledy",
                                               "StringGridZnaki",
                                               "EditZnakNew",
                                               "EditZnakOrg",
                                               "BitBtn1",
                                               "MemoLiniaOrg",
                                               "MemoLiniaNew"};

ui::TWidokLinii* NowyWidokLinii(QWidget* rodzic) {
  auto* m = new ui::TWidokLinii(rodzic);
  m->setReadOnly(true);
  // The caret can be placed and moved, and text selected; nothing typed.
  m->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  m->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  m->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  m->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  m->setUndoRedoEnabled(false);
  m->setContextMenuPolicy(Qt::NoContextMenu);
  return m;
}

}  // namespace

TFormGlow::TFormGlow(Typy::TStan& stan, ui::TUserMessages& komunikaty, const QFont& czcionka,
                     QWidget* rodzic)
    : QWidget(rodzic),
      OpenDialog1(komunikaty, this, &ui::TUserMessages::OtworzPlik),
      stan_(stan),
      komunikaty_(komunikaty) {
  Zbuduj(czcionka);
  Podlacz();
  Obsluz([this] { FormCreate(this); });
}

void TFormGlow::Zbuduj(const QFont& czcionka) {
  setObjectName(QStringLiteral("FormGlow"));
  setWindowTitle(ui::ZCp1250(kTytulOkna));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  setFont(czcionka);
  skala_ = ui::TScale(QFontMetrics(czcionka).height());

  ui::TWindowBuilder budowa(this, skala_);
  budowa.Zbuduj(kUklad, [&](const ui::TElementUkladu& w, QWidget* rodzic) -> QWidget* {
    const std::string_view nazwa = w.Nazwa;
    if (nazwa == "StringGridBledy") return new ui::TSiatkaBledow({}, rodzic);
    if (nazwa == "StringGridZnaki") return new ui::TSiatka({}, rodzic);
    if (nazwa == "ComboProfil") return new ui::TWyborProfilu(rodzic);
    if (nazwa == "Splitter1")
      return new ui::TSplitter({}, budowa.Uklad(this), budowa.Element("PanelSzczegoly"), rodzic);
    return NowyWidokLinii(rodzic);
  });
  budowa.Przypisz(Panel1, "Panel1");
  budowa.Przypisz(Button3, "Button3");
  budowa.Przypisz(Panel2, "Panel2");
  budowa.Przypisz(StringGridBledy, "StringGridBledy");
  budowa.Przypisz(Panel3, "Panel3");
  budowa.Przypisz(Splitter1, "Splitter1");
  budowa.Przypisz(PanelSzczegoly, "PanelSzczegoly");
  budowa.Przypisz(GroupBox1, "GroupBox1");
  budowa.Przypisz(Panel5, "Panel5");
  budowa.Przypisz(StringGridZnaki, "StringGridZnaki");
  budowa.Przypisz(Panel6, "Panel6");
  budowa.Przypisz(LabelSzczegolyLiniaBlad, "LabelSzczegolyLiniaBlad");
  budowa.Przypisz(MemoLiniaOrg, "MemoLiniaOrg");
  budowa.Przypisz(Label2, "Label2");
  budowa.Przypisz(MemoLiniaNew, "MemoLiniaNew");
  budowa.Przypisz(Label3, "Label3");
  budowa.Przypisz(ButtonZapiszNew, "ButtonZapiszNew");
  budowa.Przypisz(Label1, "Label1");
  budowa.Przypisz(LabelIleBledow, "LabelIleBledow");
  budowa.Przypisz(EditZnakNew, "EditZnakNew");
  budowa.Przypisz(Label4, "Label4");
  budowa.Przypisz(Label5, "Label5");
  budowa.Przypisz(EditZnakOrg, "EditZnakOrg");
  budowa.Przypisz(BitBtn1, "BitBtn1");
  budowa.Przypisz(ButtonPokazLog, "ButtonPokazLog");
  budowa.Przypisz(LabelKodowanie, "LabelKodowanie");
  budowa.Przypisz(ButtonPoprawAutomatycznie, "ButtonPoprawAutomatycznie");
  budowa.Przypisz(LabelRachunki, "LabelRachunki");
  budowa.Przypisz(ButtonPokazRachunki, "ButtonPokazRachunki");
  budowa.Przypisz(ComboProfil, "ComboProfil");
  ukladOkna_ = &budowa.Uklad(this);

  // What the table cannot say: settings of each kind's own.
  // A face wider than the layout's own would run the caption into the
  // count; the count then keeps the layout's gap after the caption.
  const int poPodpisie = Label1->geometry().right() + 1 + Skaluj(272 - (124 + 137));
  if (LabelIleBledow->x() < poPodpisie) LabelIleBledow->move(poPodpisie, LabelIleBledow->y());
  // The profile chooser keeps the layout's gap after the last button, whose
  // face may be wider than the layout's, and ends where the bar's room does.
  const int poPrzyciskach = ButtonPokazLog->geometry().right() + 1 + Skaluj(668 - (456 + 197));
  ComboProfil->setGeometry(poPrzyciskach, ComboProfil->y(),
                           std::max(Skaluj(782 - 6) - poPrzyciskach, Skaluj(40)),
                           ComboProfil->height());

  StringGridBledy->setModel(new QStandardItemModel(1, 4, StringGridBledy));
  StringGridBledy->UstawStalyWiersz(false);
  StringGridBledy->UstawStalaKolumne(true);
  StringGridBledy->UstawSzerokoscStalejKolumny(Skaluj(64));
  StringGridBledy->UstawSzerokoscKolumn(Skaluj(64));
  StringGridBledy->UstawWysokoscWiersza(Skaluj(20));

  PanelSzczegoly->setMinimumHeight(Skaluj(355));
  Splitter1->UstawWolneMinimum(Skaluj(30));

  StringGridZnaki->setModel(new QStandardItemModel(4, 2, StringGridZnaki));
  StringGridZnaki->UstawStalyWiersz(true);
  StringGridZnaki->UstawStalaKolumne(true);
  StringGridZnaki->UstawSzerokoscStalejKolumny(Skaluj(64));
  StringGridZnaki->UstawSzerokoscKolumn(Skaluj(64));
  StringGridZnaki->UstawWysokoscWiersza(Skaluj(18));

  EditZnakOrg->setReadOnly(true);
  EditZnakNew->setValidator(new ui::TWalidatorZnaku(EditZnakNew));
  BitBtn1->setIcon(ui::IkonaZatwierdzenia());
  BitBtn1->setIconSize(QSize(18, 18));
  BitBtn1->setDefault(true);

  for (std::size_t i = 1; i < std::size(kKolejnoscTabulacji); ++i)
    setTabOrder(budowa.Element(kKolejnoscTabulacji[i - 1]), budowa.Element(kKolejnoscTabulacji[i]));
  Button3->setFocus();

  resize(Skaluj(782), Skaluj(526));
  setAcceptDrops(true);
}

void TFormGlow::Podlacz() {
  connect(Button3, &QPushButton::clicked, this,
          [this] { Obsluz([this] { Button3Click(Button3); }); });
  connect(ButtonZapiszNew, &QPushButton::clicked, this,
          [this] { Obsluz([this] { ButtonZapiszNewClick(ButtonZapiszNew); }); });
  connect(ButtonPokazLog, &QPushButton::clicked, this,
          [this] { Obsluz([this] { ButtonPokazLogClick(ButtonPokazLog); }); });
  connect(BitBtn1, &QPushButton::clicked, this,
          [this] { Obsluz([this] { BitBtn1Click(BitBtn1); }); });
  connect(ButtonPoprawAutomatycznie, &QPushButton::clicked, this, [this] {
    Obsluz([this] { ButtonPoprawAutomatycznieClick(ButtonPoprawAutomatycznie); });
  });
  connect(ButtonPokazRachunki, &QPushButton::clicked, this,
          [this] { Obsluz([this] { ButtonPokazRachunkiClick(ButtonPokazRachunki); }); });
  StringGridBledy->PoWyborze = [this] {
    Obsluz([this] { StringGridBledyClick(StringGridBledy); });
  };
  MemoLiniaNew->PoKliknieciu = [this] { Obsluz([this] { MemoLiniaNewClick(MemoLiniaNew); }); };
  MemoLiniaNew->installEventFilter(this);
  MemoLiniaOrg->installEventFilter(this);
  ComboProfil->PoZmianie = [this] { Obsluz([this] { ComboProfilChange(ComboProfil); }); };
}

void TFormGlow::WczytajProfil() {
  // A remembered profile that can no longer be used (its file gone or
  // spoilt) is told, and the default's rules are checked with meanwhile.
  Obsluz([this] {
    try {
      profil_ = ComboProfil->Wybierz(ustawienia_->Profil());
    } catch (...) {
      profil_ = profile::Domyslny();
      throw;
    }
  });
}

void TFormGlow::ComboProfilChange(QObject*) {
  profil_ = ComboProfil->Profil();
  if (ustawienia_) ustawienia_->UstawProfil(ComboProfil->Klucz());
  // The open file is checked again by the new rules.
  if (!stan_.NazwaPliku.empty()) Sprawdz(stan_.NazwaPliku, {});
}

bool TFormGlow::eventFilter(QObject* obj, QEvent* ev) {
  const auto typ = ev->type();
  if (obj == MemoLiniaNew && typ == QEvent::KeyRelease) {
    auto* k = static_cast<QKeyEvent*>(ev);
    Obsluz([this, k] { MemoLiniaNewKeyUp(MemoLiniaNew, k->key(), k->modifiers()); });
  } else if ((obj == MemoLiniaNew || obj == MemoLiniaOrg) && typ == QEvent::KeyPress) {
    // The line views take Enter themselves and, being read-only, ignore
    // it: it must not reach the default button.
    const int key = static_cast<QKeyEvent*>(ev)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
  }
  return QWidget::eventFilter(obj, ev);
}

void TFormGlow::keyPressEvent(QKeyEvent* e) {
  // Enter that no focused element took: the default button's, while it can
  // be pressed (the detail panel is shown).
  const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
  const auto mods = e->modifiers() & ~Qt::KeypadModifier;
  if (enter && mods == Qt::NoModifier) {
    if (BitBtn1->isVisible() && BitBtn1->isEnabled()) BitBtn1->click();
    e->accept();
    return;
  }
  // Esc does nothing in this window.
  QWidget::keyPressEvent(e);
}

// --- Handlers ---------------------------------------------------------------

void TFormGlow::FormCreate(QObject*) {
  setWindowTitle(ui::ZCp1250(kTytulWersji));
}

namespace {

// A number column keeps its width from the layout unless the largest number
// it shows would not fit in it: a line number cut short cannot be read.
int SzerokoscLiczb(const QWidget* w, long long najwieksza, int szerokosc) {
  const int potrzebna = w->fontMetrics().horizontalAdvance(QString::number(najwieksza)) +
                        2 * w->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, w) + 4;
  return std::max(szerokosc, potrzebna);
}

void UstawKolor(QLabel* l, const QColor& kolor) {
  QPalette p = l->palette();
  p.setColor(QPalette::WindowText, kolor);
  l->setPalette(p);
}

}  // namespace

void TFormGlow::Button3Click(QObject*) {
  if (!OpenDialog1.Execute()) return;
  Sprawdz(OpenDialog1.FileName, {});
}

void TFormGlow::SprawdzWskazanyPlik(const std::string& sciezka) {
  Obsluz([&] { Sprawdz(sciezka, {}); });
}

namespace {

// The one local file a drag carries, or nothing.
std::optional<QString> PlikPrzeciagany(const QMimeData* dane) {
  if (!dane || !dane->hasUrls() || dane->urls().size() != 1) return std::nullopt;
  const QUrl adres = dane->urls().front();
  if (!adres.isLocalFile()) return std::nullopt;
  return adres.toLocalFile();
}

}  // namespace

void TFormGlow::dragEnterEvent(QDragEnterEvent* e) {
  if (PlikPrzeciagany(e->mimeData())) e->acceptProposedAction();
}

void TFormGlow::dropEvent(QDropEvent* e) {
  const auto plik = PlikPrzeciagany(e->mimeData());
  if (!plik) return;
  e->acceptProposedAction();
  // After the drop has ended: the check ends in a modal dialog, which must
  // not hold the program the file came from.
  const std::string sciezka = ui::SciezkaDlaRdzenia(QFileInfo(*plik).absoluteFilePath());
  QTimer::singleShot(0, this, [this, sciezka] { SprawdzWskazanyPlik(sciezka); });
}

void TFormGlow::Sprawdz(const std::string& sciezka,
                        const std::function<void(std::size_t)>& zamiastOceny) {
  ui::SprawdzPlik(stan_, komunikaty_, *this, sciezka, Zasady(), zamiastOceny);
}

sprawdzanie::TZasady TFormGlow::Zasady() const {
  return {.profil = profil_ ? &*profil_ : nullptr, .wykaz = wykaz_};
}

void TFormGlow::Wyczysc() {
  InitDane();
  // Until this check ends, the line lists may hold another file's lines or
  // part of this one's: neither may be saved or reported under this name.
  ButtonZapiszNew->setEnabled(false);
  ButtonPokazLog->setEnabled(false);
}

void TFormGlow::PokazWynik(sprawdzanie::TStanOkna& wynik) {
  const std::size_t ile = stan_.Bledy.size();
  DodajLinieDoStringGrid();
  if (FormLOG && ile > 0) FormLOG->UstawRaport(std::move(wynik.tekstRaportu));
  LabelIleBledow->setText(QString::number(ile));
  LabelIleBledow->adjustSize();
  ButtonZapiszNew->setEnabled(ile > 0);
  ButtonPokazLog->setEnabled(ile > 0);
  // Shown after the outcome.
  rachunkiStanu_ = std::move(wynik.rachunki);
  PokazPropozycjePoprawki(wynik.propozycja);
}

void TFormGlow::PokazOcene(std::size_t ile) {
  if (ile == 0) {
    UstawKolor(LabelIleBledow, QColor(0, 128, 0));
  } else {
    StringGridBledy->UstawBiezacyWiersz(1);
    StringGridBledyClick(StringGridBledy);
    UstawKolor(LabelIleBledow, QColor(255, 0, 0));
  }
}

void TFormGlow::PokazPropozycjePoprawki(const std::optional<diagnoza::TPropozycja>& propozycja) {
  if (!propozycja) return;
  poprawka_ = propozycja->z;
  poprawkaAlbo_ = propozycja->albo;
  // Right of the count, whatever its width, then the button beside it.
  LabelKodowanie->move(LabelKodowanie->x(), LabelIleBledow->y());
  const ui::TWpisPaska wpis[] = {
      {LabelKodowanie, ui::ZCp1250(propozycja->zdanie), ButtonPoprawAutomatycznie}};
  ui::UlozPasek(wpis, LabelIleBledow->geometry().right() + 1 + Skaluj(16),
                Panel3->width() - Skaluj(4), Skaluj(8));
  LabelKodowanie->show();
  ButtonPoprawAutomatycznie->show();
}

void TFormGlow::PoOcenie() {
  if (!PokazPasekRachunkow()) return;
  const std::size_t bledow = rachunkiStanu_.uwagi.size();
  const std::size_t ostrzezen = rachunkiStanu_.ostrzezenia.size();
  if (bledow == 0 && ostrzezen == 0) return;

  // The outcome dialog said "poprawny" of the characters, and a user who
  // pressed OK out of habit would send the list as it is: the question
  // says what is wrong and what it costs, and Yes, the default, opens the
  // list.
  std::string pytanie;
  if (bledow > 0)
    pytanie = kPytanieBledy.str() + std::to_string(bledow) + kPytanieBledyDalej.str() + "\n";
  if (ostrzezen > 0) pytanie += kPytanieOstrzezenia.str() + std::to_string(ostrzezen) + ".\n";
  pytanie += '\n';
  pytanie += kPytaniePokazac.str();
  if (komunikaty_.PytanieTakDomyslnie(pytanie)) ButtonPokazRachunkiClick(ButtonPokazRachunki);
}

bool TFormGlow::PokazPasekRachunkow() {
  const std::size_t bledow = rachunkiStanu_.uwagi.size();
  const std::size_t ostrzezen = rachunkiStanu_.ostrzezenia.size();
  const rachunki::TSumy& sumy = rachunkiStanu_.sumy;
  if (bledow == 0 && ostrzezen == 0 && sumy.przelewy.ile == 0 && sumy.polecenia.ile == 0) {
    LabelRachunki->hide();
    ButtonPokazRachunki->hide();
    return false;
  }
  // The findings when there are any, else the warnings, else what a list
  // of transfers adds up to: always with its numbers.
  QString tekst;
  QColor kolor(255, 0, 0);
  if (bledow > 0) {
    tekst =
        ui::ZCp1250(Typy::teksty::BledneRachunki) + QStringLiteral(" ") + QString::number(bledow);
    if (ostrzezen > 0) tekst += ui::ZCp1250(kOstrzezeniaPaska) + QString::number(ostrzezen);
  } else if (ostrzezen > 0) {
    tekst = ui::ZCp1250(rachunki::kOstrzezenia) + QStringLiteral(" ") + QString::number(ostrzezen);
    kolor = QColor(176, 88, 0);
  } else {
    tekst = ui::ZCp1250(rachunki::LiniePodsumowania(sumy).front());
    tekst[0] = tekst[0].toUpper();
    kolor = palette().color(QPalette::WindowText);
  }
  // After the encoding hint when it shows; the strip is laid out again with
  // both, and this sentence, if it must be shortened, loses its middle,
  // never its count.
  std::vector<ui::TWpisPaska> wpisy;
  if (ButtonPoprawAutomatycznie->isVisible())
    wpisy.push_back({LabelKodowanie, LabelKodowanie->accessibleName(), ButtonPoprawAutomatycznie});
  wpisy.push_back({LabelRachunki, tekst, ButtonPokazRachunki, Qt::ElideMiddle});
  LabelRachunki->move(LabelRachunki->x(), LabelIleBledow->y());
  ui::UlozPasek(wpisy, LabelIleBledow->geometry().right() + 1 + Skaluj(16),
                Panel3->width() - Skaluj(4), Skaluj(8));
  UstawKolor(LabelRachunki, kolor);
  LabelRachunki->show();
  ButtonPokazRachunki->show();
  return true;
}

void TFormGlow::UzyjUstawien(ui::TSettings* ustawienia) {
  ustawienia_ = ustawienia;
  if (ustawienia) WczytajProfil();
  const std::string sciezka = ustawienia ? ustawienia->WykazBankow() : std::string();
  if (sciezka.empty()) return;
  try {
    wykaz_ = rachunki::WczytajWykazBankow(sciezka);
  } catch (const std::exception& e) {
    // The built-in list still checks every code; the user is told which.
    komunikaty_.Ostrzezenie(kNieWczytano.str() + kodowanie::cp1250::FromUtf8Lossy(sciezka) + ": " +
                            Typy::bledy::TekstBledu(Typy::bledy::Opis(e)) + "\n" +
                            kWbudowany.str() + rachunki::WykazBankow().Data() + ").");
  }
}

void TFormGlow::WybierzWykazBankow() {
  QWidget* rodzic = this;
  if (formRachunki_ && formRachunki_->isVisible()) rodzic = formRachunki_;
  const auto sciezka = komunikaty_.OtworzWykazBankow(rodzic);
  if (!sciezka) return;
  // A file that is not a list raises here, and the list in use stays.
  wykaz_ = rachunki::WczytajWykazBankow(*sciezka);
  if (ustawienia_) ustawienia_->UstawWykazBankow(*sciezka);
  // The findings as the new list gives them.
  rachunkiStanu_ = sprawdzanie::SprawdzRachunki(stan_, Zasady());
  PokazPasekRachunkow();
  if (formRachunki_) formRachunki_->Ustaw(stan_, rachunkiStanu_);
}

void TFormGlow::ButtonPokazRachunkiClick(QObject*) {
  if (ButtonPokazRachunki->isHidden()) return;
  if (!formRachunki_) {
    formRachunki_ = new TFormRachunki(komunikaty_, font(), this);
    formRachunki_->WybierzWykaz = [this] { WybierzWykazBankow(); };
  }
  formRachunki_->Ustaw(stan_, rachunkiStanu_);
  formRachunki_->PokazModalnie();
}

void TFormGlow::InitDane() {
  if (!modelBledow_) {
    modelBledow_ = new ui::TModelBledow(stan_.Bledy, StringGridBledy);
    StringGridBledy->setModel(modelBledow_);
    StringGridBledy->UstawNapisNaroznika(ui::NaglowekBledow(0));
  }
  // The list goes back to its single header row before the records it
  // shows are dropped.
  StringGridBledy->UstawStalyWiersz(false);
  modelBledow_->UstawSamNaglowek();
  stan_.Bledy.clear();
  StringGridBledy->UstawSzerokoscStalejKolumny(Skaluj(40));
  StringGridBledy->setColumnWidth(0, Skaluj(40));
  StringGridBledy->setColumnWidth(1, Skaluj(200));
  StringGridBledy->setColumnWidth(2, Skaluj(100));
  StringGridBledy->hide();
  PanelSzczegoly->hide();
  MemoLiniaOrg->clear();
  MemoLiniaNew->clear();
  StringGridZnaki->hide();
  stan_.WybranyBlad = -1;
  LabelKodowanie->hide();
  ButtonPoprawAutomatycznie->hide();
  poprawka_.reset();
  poprawkaAlbo_.reset();
  LabelRachunki->hide();
  ButtonPokazRachunki->hide();
  rachunkiStanu_ = {};
}

void TFormGlow::DodajLinieDoStringGrid() {
  const std::size_t ile = stan_.Bledy.size();
  if (ile == 0) return;
  // The header row becomes fixed; row 1, column 1 is then current.
  modelBledow_->UstawRekordy(static_cast<int>(ile));
  StringGridBledy->UstawStalyWiersz(true);
  const auto& bledy = stan_.Bledy;
  StringGridBledy->UstawSzerokoscStalejKolumny(
      SzerokoscLiczb(StringGridBledy->verticalHeader(), static_cast<long long>(ile), Skaluj(40)));
  StringGridBledy->setColumnWidth(
      0, SzerokoscLiczb(StringGridBledy, bledy.LineIndex(ile - 1) + 1LL, Skaluj(40)));
  StringGridBledy->setColumnWidth(1, Skaluj(200));
  StringGridBledy->setColumnWidth(2, Skaluj(100));
  StringGridBledy->UstawBiezacaKomorkeBezZdarzenia(1, 1);
  StringGridBledy->show();
  PanelSzczegoly->show();
}

void TFormGlow::StringGridBledyClick(QObject*) {
  // The one place where the grid's current row becomes the selection;
  // everything else reads WybranyBlad.
  const int wiersz = StringGridBledy->BiezacyWiersz();
  if (wiersz < 1 || static_cast<std::size_t>(wiersz - 1) >= stan_.Bledy.size()) {
    stan_.WybranyBlad = -1;
    return;
  }
  stan_.WybranyBlad = wiersz - 1;
  const std::int32_t indeks = stan_.Bledy.LineIndex(static_cast<std::size_t>(wiersz - 1));
  const auto linia = static_cast<std::size_t>(indeks);
  const std::string_view org = stan_.LinieOrg[linia];
  ui::PokazLinie(*MemoLiniaOrg, org, org);
  ui::PokazLinie(*MemoLiniaNew, stan_.LinieNew[linia], org);

  std::string naglowek = kLiniaNr.str();
  naglowek += std::to_string(indeks + 1LL);
  naglowek += kWPliku.view();
  LabelSzczegolyLiniaBlad->setText(ui::ZCp1250(naglowek));
  LabelSzczegolyLiniaBlad->adjustSize();

  std::vector<ui::TBlednyZnak> znaki;
  Typy::ForEachFaultyByte(org, [&](std::size_t pozycja, unsigned char b) {
    znaki.push_back({static_cast<char>(b), pozycja});
  });
  // An empty line is faulty without a faulty character.
  if (znaki.empty()) {
    StringGridZnaki->hide();
    return;
  }
  const std::size_t znakow = znaki.size();
  if (!modelZnakow_) {
    modelZnakow_ = new ui::TModelZnakow(StringGridZnaki);
    StringGridZnaki->setModel(modelZnakow_);
    StringGridZnaki->UstawNapisNaroznika(ui::NaglowekZnakow(0));
  }
  modelZnakow_->Ustaw(std::move(znaki));
  StringGridZnaki->UstawStalyWiersz(true);
  StringGridZnaki->UstawSzerokoscStalejKolumny(SzerokoscLiczb(
      StringGridZnaki->verticalHeader(), static_cast<long long>(znakow), Skaluj(50)));
  StringGridZnaki->setColumnWidth(0, Skaluj(50));
  StringGridZnaki->setColumnWidth(1, Skaluj(100));
  StringGridZnaki->show();
}

void TFormGlow::ButtonZapiszNewClick(QObject*) {
  if (stan_.LinieNew.empty()) return;
  komunikaty_.Zajety(true);
  const std::string sciezka = raport::ZapiszPoprawionyPlik(stan_);
  komunikaty_.Komunikat(raport::KomunikatZapisano(sciezka));
  komunikaty_.Zajety(false);
}

void TFormGlow::MemoLiniaNewClick(QObject*) {
  PokazWybranyZnak();
}

void TFormGlow::PokazWybranyZnak() {
  // The list's row of the selected error, as the list showed it last.
  const auto wybor = Typy::PokazWybranyZnak(stan_, stan_.WybranyBlad + 1LL,
                                            MemoLiniaNew->textCursor().selectionStart());
  switch (wybor.Pokazanie) {
    case Typy::TPokazanie::BezZmian:
      break;
    case Typy::TPokazanie::Puste:
      EditZnakOrg->clear();
      EditZnakNew->clear();
      break;
    case Typy::TPokazanie::Znak:
      EditZnakOrg->setText(ui::ZnakWidoczny(wybor.ZnakOrg));
      EditZnakNew->setText(ui::ZnakWidoczny(wybor.ZnakNew));
      break;
  }
}

void TFormGlow::MemoLiniaNewKeyUp(QObject*, int, Qt::KeyboardModifiers) {
  PokazWybranyZnak();
}

void TFormGlow::BitBtn1Click(QObject*) {
  const QString tekst = EditZnakNew->text();
  std::optional<char> znak;
  if (!tekst.isEmpty()) znak = ui::BajtZnaku(tekst.front());
  // The validator lets only such characters in; anything else is no
  // character at all rather than a stand-in byte.
  if (!tekst.isEmpty() && !znak) return;
  switch (Typy::ZatwierdzZnak(stan_, znak)) {
    case Typy::TWynikZmiany::NieWolno:
      komunikaty_.Komunikat(Typy::teksty::TylkoBledneZnaki.str());
      break;
    case Typy::TWynikZmiany::Zmieniono: {
      // The caret stays where the user put it, so the next pick goes on
      // from there.
      const int pozycja = MemoLiniaNew->textCursor().position();
      StringGridBledyClick(StringGridBledy);
      QTextCursor kursor = MemoLiniaNew->textCursor();
      kursor.setPosition(std::min(pozycja, MemoLiniaNew->document()->characterCount() - 1));
      MemoLiniaNew->setTextCursor(kursor);
      break;
    }
    case Typy::TWynikZmiany::Nic:
      break;
  }
}

void TFormGlow::ButtonPoprawAutomatycznieClick(QObject*) {
  if (!poprawka_) return;
  // Between two close readings the user chooses: each is offered in turn,
  // with what it changes. A clean file read as Windows-1250 is already
  // what the bank takes, so that reading is no correction.
  std::vector<std::pair<kodowanie::TKodowanie, std::optional<kodowanie::TKodowanie>>> odczyty{
      {*poprawka_, poprawkaAlbo_}};
  if (poprawkaAlbo_) odczyty.emplace_back(*poprawkaAlbo_, *poprawka_);
  std::erase_if(odczyty, [this](const auto& o) {
    return stan_.Bledy.empty() && o.first == kodowanie::TKodowanie::Windows1250;
  });
  const std::string zrodlo = stan_.NazwaPliku;
  std::optional<kodowanie::TKodowanie> wybrane;
  for (const auto& [z, albo] : odczyty) {
    komunikaty_.Zajety(true);
    const diagnoza::TWynikPoprawy przed = diagnoza::PoliczPoprawke(zrodlo, z);
    komunikaty_.Zajety(false);
    if (komunikaty_.Pytanie(diagnoza::TekstPotwierdzenia(z, przed, albo))) {
      wybrane = z;
      break;
    }
  }
  if (!wybrane) return;
  const kodowanie::TKodowanie z = *wybrane;

  komunikaty_.Zajety(true);
  diagnoza::TWynikPoprawy wynik;
  const std::string zapisany = diagnoza::ZapiszPoprawke(zrodlo, z, wynik);
  // The written file is checked as if the user had chosen it, so what is
  // left can be corrected by hand. One dialog ends it, over the new file's
  // count and first faulty line: where the file went and what is left.
  Sprawdz(zapisany, [&](std::size_t pozostale) {
    komunikaty_.Komunikat(raport::KomunikatZapisano(zapisany) + "\r\n\r\n" +
                          diagnoza::TekstPoZapisie(wynik, pozostale));
  });
}

void TFormGlow::ButtonPokazLogClick(QObject*) {
  if (FormLOG) FormLOG->PokazModalnie();
}
