#include "glow.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStyle>
#include <algorithm>

#include "Cp1250.h"
#include "Ikony.h"
#include "KorektaZnaku.h"
#include "LOG.h"
#include "ModelBledow.h"
#include "Przycisk.h"
#include "Teksty.h"
#include "Typy.h"
#include "UtworzLOG.h"
#include "WczytajPlik.h"
#include "WidokLinii.h"
#include "ZapiszPoprawiony.h"

namespace {

// The window's texts, held in Windows-1250 like every text of the program.
constexpr cp1250::Literal kTytulOkna{u8"Tarmeko_weryfikacja_pliku"};
constexpr cp1250::Literal kTytulWersji{u8"Tarmeko_weryfikacja_pliku v.2.0 (alfa '2022)"};
constexpr cp1250::Literal kSprawdz{u8"Sprawdź plik z przelewami"};
constexpr cp1250::Literal kZapisz{u8"Zapisz poprawiony plik"};
constexpr cp1250::Literal kPokazLog{u8"Pokaż plik LOG z błędami"};
constexpr cp1250::Literal kListaBledow{u8"Lista błędów"};
constexpr cp1250::Literal kIloscLinii{u8"Ilość błędnych linii w zbiorze:"};
constexpr cp1250::Literal kSzczegoly{u8"Szczegóły wybranego błędu"};
constexpr cp1250::Literal kBlednaLinia{u8"Błędna linia w pliku źródłowym"};
constexpr cp1250::Literal kPoprawiona{u8"Poprawiona linia"};
constexpr cp1250::Literal kBledneZnaki{u8"Błędne znaki wraz z pozycją znaku w linii"};
constexpr cp1250::Literal kOryginalny{u8"Oryginalny znak"};
constexpr cp1250::Literal kNowy{u8"Nowy znak"};
constexpr cp1250::Literal kZatwierdz{u8"Zatwierdź nowy znak"};

QString T(std::string_view cp) {
  return ui::ZCp1250(cp);
}

// The layout is drawn for this text height of the window font.
constexpr int kWysokoscWzorcowa = 13;

// An edge and the five-pixel inner border inside it.
constexpr int kKrawedz = 1;
constexpr int kObramowanie = 5;

QLabel* NowaEtykieta(const QString& nazwa, const QString& tekst, QWidget* rodzic) {
  auto* l = new QLabel(tekst, rodzic);
  l->setObjectName(nazwa);
  l->setTextFormat(Qt::PlainText);
  return l;
}

QPushButton* NowyPrzycisk(const QString& nazwa, const QString& tekst, QWidget* rodzic) {
  auto* b = new ui::TPrzycisk(tekst, rodzic);
  b->setObjectName(nazwa);
  // Enter on a focused button presses it, as Space does.
  b->setAutoDefault(true);
  b->setFocusPolicy(Qt::StrongFocus);
  return b;
}

ui::TWidokLinii* NowyWidokLinii(const QString& nazwa, QWidget* rodzic) {
  auto* m = new ui::TWidokLinii(rodzic);
  m->setObjectName(nazwa);
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

QLineEdit* NowePoleZnaku(const QString& nazwa, QWidget* rodzic) {
  auto* e = new QLineEdit(rodzic);
  e->setObjectName(nazwa);
  e->setMaxLength(1);
  return e;
}

}  // namespace

TFormGlow::TFormGlow(ui::TUserMessages& komunikaty, const QFont& czcionka, QWidget* rodzic)
    : QWidget(rodzic),
      OpenDialog1(komunikaty, this, &ui::TUserMessages::OtworzPlik),
      komunikaty_(komunikaty) {
  Zbuduj(czcionka);
  Podlacz();
  Obsluz([this] { FormCreate(this); });
}

// The layout's own faces first; where they are missing, named fallbacks of
// the same kind, so every machine with the installed fonts looks the same.
QFont TFormGlow::CzcionkaOkna() {
  QFont f(QStringLiteral("MS Sans Serif"), 8);
  f.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")});
  f.setStyleHint(QFont::SansSerif);
  return f;
}

QFont TFormGlow::CzcionkaStalaSzerokosc(int punkty) {
  QFont f(QStringLiteral("Courier New"), punkty);
  f.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")});
  f.setStyleHint(QFont::TypeWriter);
  f.setFixedPitch(true);
  return f;
}

int TFormGlow::Skaluj(int piksele) const {
  const int m = wysokoscTekstu_;
  return (piksele * m + (piksele >= 0 ? kWysokoscWzorcowa / 2 : -kWysokoscWzorcowa / 2)) /
         kWysokoscWzorcowa;
}

QRect TFormGlow::Prostokat(int l, int t, int w, int h) const {
  // Edges are scaled, so neighbours that touch at design still touch.
  const int x = Skaluj(l);
  const int y = Skaluj(t);
  return QRect(x, y, Skaluj(l + w) - x, Skaluj(t + h) - y);
}

QPoint TFormGlow::Punkt(int l, int t) const {
  return QPoint(Skaluj(l), Skaluj(t));
}

QFont TFormGlow::SkalujCzcionke(QFont f) const {
  if (wysokoscTekstu_ != kWysokoscWzorcowa)
    f.setPointSizeF(f.pointSizeF() * wysokoscTekstu_ / kWysokoscWzorcowa);
  return f;
}

void TFormGlow::Zbuduj(const QFont& czcionka) {
  using ui::TPanel;
  using ui::Wyrownanie;

  setObjectName(QStringLiteral("FormGlow"));
  setWindowTitle(T(kTytulOkna));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  setFont(czcionka);
  wysokoscTekstu_ = QFontMetrics(czcionka).height();

  QFont pogrubiona = czcionka;
  pogrubiona.setBold(true);
  const QFont linie = SkalujCzcionke(CzcionkaStalaSzerokosc(8));
  const QFont znaki = SkalujCzcionke(CzcionkaStalaSzerokosc(10));

  const QMargins zKrawedzia(kKrawedz + kObramowanie, kKrawedz + kObramowanie,
                            kKrawedz + kObramowanie, kKrawedz + kObramowanie);
  const QMargins bezKrawedzi(kObramowanie, kObramowanie, kObramowanie, kObramowanie);

  ukladOkna_ = new ui::TUklad(this, QMargins());

  // --- The top bar ---
  Panel1 = new TPanel(QStringLiteral("Panel1"), true, this);
  Button3 = NowyPrzycisk(QStringLiteral("Button3"), T(kSprawdz), Panel1);
  Button3->setGeometry(Prostokat(12, 8, 213, 25));
  Button3->setFont(pogrubiona);
  ButtonZapiszNew = NowyPrzycisk(QStringLiteral("ButtonZapiszNew"), T(kZapisz), Panel1);
  ButtonZapiszNew->setGeometry(Prostokat(248, 8, 185, 25));
  ButtonZapiszNew->setFont(pogrubiona);
  ButtonZapiszNew->setEnabled(false);
  ButtonPokazLog = NowyPrzycisk(QStringLiteral("ButtonPokazLog"), T(kPokazLog), Panel1);
  ButtonPokazLog->setGeometry(Prostokat(456, 8, 197, 25));
  ButtonPokazLog->setFont(pogrubiona);
  ButtonPokazLog->setEnabled(false);

  // --- The list of faulty lines ---
  Panel2 = new TPanel(QStringLiteral("Panel2"), true, this);
  auto* ukladPanel2 = new ui::TUklad(Panel2, zKrawedzia);
  Panel3 = new TPanel(QStringLiteral("Panel3"), false, Panel2);
  Panel3->UstawNapis(T(kListaBledow));
  Label1 = NowaEtykieta(QStringLiteral("Label1"), T(kIloscLinii), Panel3);
  Label1->move(Punkt(124, 5));
  Label1->adjustSize();
  LabelIleBledow = NowaEtykieta(QStringLiteral("LabelIleBledow"), QStringLiteral("0"), Panel3);
  LabelIleBledow->setFont(pogrubiona);
  LabelIleBledow->move(Punkt(272, 5));
  LabelIleBledow->adjustSize();
  // A face wider than the layout's own would run the caption into the
  // count; the count then keeps the layout's gap after the caption.
  const int poPodpisie = Label1->geometry().right() + 1 + Skaluj(272 - (124 + 137));
  if (LabelIleBledow->x() < poPodpisie) LabelIleBledow->move(poPodpisie, LabelIleBledow->y());

  StringGridBledy = new ui::TSiatkaBledow(QStringLiteral("StringGridBledy"), Panel2);
  StringGridBledy->setModel(new QStandardItemModel(1, 4, StringGridBledy));
  StringGridBledy->UstawStalyWiersz(false);
  StringGridBledy->UstawStalaKolumne(true);
  StringGridBledy->UstawSzerokoscStalejKolumny(Skaluj(64));
  StringGridBledy->UstawSzerokoscKolumn(Skaluj(64));
  StringGridBledy->UstawWysokoscWiersza(Skaluj(20));
  StringGridBledy->hide();
  ukladPanel2->Dodaj(Panel3, Wyrownanie::Gora, Skaluj(23));
  ukladPanel2->Dodaj(StringGridBledy, Wyrownanie::Wypelnij);

  // --- The details of the selected error ---
  PanelSzczegoly = new TPanel(QStringLiteral("PanelSzczegoly"), true, this);
  PanelSzczegoly->setMinimumHeight(Skaluj(355));
  PanelSzczegoly->hide();
  auto* ukladSzczegolow = new ui::TUklad(PanelSzczegoly, zKrawedzia);
  GroupBox1 = new QGroupBox(T(kSzczegoly), PanelSzczegoly);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  ukladSzczegolow->Dodaj(GroupBox1, Wyrownanie::Wypelnij);
  auto* ukladRamki = new ui::TUklad(GroupBox1, QMargins(2, Skaluj(15), 2, 2));

  Panel6 = new TPanel(QStringLiteral("Panel6"), false, GroupBox1);
  LabelSzczegolyLiniaBlad =
      NowaEtykieta(QStringLiteral("LabelSzczegolyLiniaBlad"), T(kBlednaLinia), Panel6);
  LabelSzczegolyLiniaBlad->move(Punkt(8, 4));
  LabelSzczegolyLiniaBlad->adjustSize();
  MemoLiniaOrg = NowyWidokLinii(QStringLiteral("MemoLiniaOrg"), Panel6);
  MemoLiniaOrg->setGeometry(Prostokat(8, 24, 737, 69));
  MemoLiniaOrg->setFont(linie);
  MemoLiniaOrg->setEnabled(false);
  Label2 = NowaEtykieta(QStringLiteral("Label2"), T(kPoprawiona), Panel6);
  Label2->move(Punkt(8, 104));
  Label2->adjustSize();
  MemoLiniaNew = NowyWidokLinii(QStringLiteral("MemoLiniaNew"), Panel6);
  MemoLiniaNew->setGeometry(Prostokat(8, 120, 737, 69));
  MemoLiniaNew->setFont(linie);
  Label3 = NowaEtykieta(QStringLiteral("Label3"), T(kBledneZnaki), Panel6);
  Label3->move(Punkt(8, 201));
  Label3->adjustSize();

  Panel5 = new TPanel(QStringLiteral("Panel5"), false, GroupBox1);
  auto* ukladPanel5 = new ui::TUklad(Panel5, bezKrawedzi);
  StringGridZnaki = new ui::TSiatka(QStringLiteral("StringGridZnaki"), Panel5);
  StringGridZnaki->setModel(new QStandardItemModel(4, 2, StringGridZnaki));
  StringGridZnaki->UstawStalyWiersz(true);
  StringGridZnaki->UstawStalaKolumne(true);
  StringGridZnaki->UstawSzerokoscStalejKolumny(Skaluj(64));
  StringGridZnaki->UstawSzerokoscKolumn(Skaluj(64));
  StringGridZnaki->UstawWysokoscWiersza(Skaluj(18));
  ukladPanel5->Dodaj(StringGridZnaki, Wyrownanie::Lewo, Skaluj(335));
  Label4 = NowaEtykieta(QStringLiteral("Label4"), T(kOryginalny), Panel5);
  Label4->move(Punkt(424, 8));
  Label4->adjustSize();
  EditZnakOrg = NowePoleZnaku(QStringLiteral("EditZnakOrg"), Panel5);
  EditZnakOrg->setGeometry(Prostokat(520, 3, 41, 24));
  EditZnakOrg->setFont(znaki);
  EditZnakOrg->setReadOnly(true);
  EditZnakOrg->setEnabled(false);
  Label5 = NowaEtykieta(QStringLiteral("Label5"), T(kNowy), Panel5);
  Label5->move(Punkt(424, 36));
  Label5->adjustSize();
  EditZnakNew = NowePoleZnaku(QStringLiteral("EditZnakNew"), Panel5);
  EditZnakNew->setGeometry(Prostokat(520, 31, 41, 24));
  EditZnakNew->setFont(znaki);
  EditZnakNew->setValidator(new ui::TWalidatorZnaku(EditZnakNew));
  BitBtn1 = NowyPrzycisk(QStringLiteral("BitBtn1"), T(kZatwierdz), Panel5);
  BitBtn1->setGeometry(Prostokat(584, 32, 161, 25));
  BitBtn1->setIcon(ui::IkonaZatwierdzenia());
  BitBtn1->setIconSize(QSize(18, 18));
  BitBtn1->setDefault(true);

  ukladRamki->Dodaj(Panel6, Wyrownanie::Gora, Skaluj(218));
  ukladRamki->Dodaj(Panel5, Wyrownanie::Wypelnij);

  // --- The window's own stacking: the bottom elements lowest first ---
  ukladOkna_->Dodaj(Panel1, Wyrownanie::Gora, Skaluj(41));
  ukladOkna_->Dodaj(PanelSzczegoly, Wyrownanie::Dol, Skaluj(355));
  Splitter1 = new ui::TSplitter(QStringLiteral("Splitter1"), *ukladOkna_, PanelSzczegoly, this);
  Splitter1->UstawWolneMinimum(Skaluj(30));
  ukladOkna_->Dodaj(Splitter1, Wyrownanie::Dol, Skaluj(9));
  ukladOkna_->Dodaj(Panel2, Wyrownanie::Wypelnij);

  // --- Keyboard ---
  for (QWidget* w : std::initializer_list<QWidget*>{Panel1, Panel2, Panel3, PanelSzczegoly,
                                                    GroupBox1, Panel5, Panel6})
    w->setFocusPolicy(Qt::NoFocus);
  QWidget* kolejnosc[] = {Button3,         ButtonZapiszNew, ButtonPokazLog, StringGridBledy,
                          StringGridZnaki, EditZnakNew,     EditZnakOrg,    BitBtn1,
                          MemoLiniaOrg,    MemoLiniaNew};
  for (std::size_t i = 1; i < std::size(kolejnosc); ++i)
    setTabOrder(kolejnosc[i - 1], kolejnosc[i]);
  Button3->setFocus();

  resize(Skaluj(782), Skaluj(526));
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
  StringGridBledy->PoWyborze = [this] {
    Obsluz([this] { StringGridBledyClick(StringGridBledy); });
  };
  MemoLiniaNew->PoKliknieciu = [this] { Obsluz([this] { MemoLiniaNewClick(MemoLiniaNew); }); };
  MemoLiniaNew->installEventFilter(this);
  MemoLiniaOrg->installEventFilter(this);
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
  setWindowTitle(T(kTytulWersji));
}

namespace {

constexpr cp1250::Literal kLiniaNr{u8"Błędna linia nr "};
constexpr cp1250::Literal kWPliku{u8" w pliku źródłowym"};

// The busy cursor of the report build, through the message facility. The
// build ends before its text reaches the view, so the cursor goes off only
// once the view holds it.
class TKursorRaportu final : public raport::TKursorZajetosci {
 public:
  explicit TKursorRaportu(ui::TUserMessages& m) : m_(m) {}
  void Wlacz() override {
    m_.Zajety(true);
    wlaczony_ = true;
  }
  void Wylacz() override {}
  void Zakoncz() {
    if (wlaczony_) m_.Zajety(false);
  }

 private:
  ui::TUserMessages& m_;
  bool wlaczony_ = false;
};

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
  komunikaty_.Zajety(true);
  InitDane();
  auto& stan = Typy::Stan();
  stan.NazwaPliku = OpenDialog1.FileName;
  // Until this check ends, the line lists may hold another file's lines or
  // part of this one's: neither may be saved or reported under this name.
  ButtonZapiszNew->setEnabled(false);
  ButtonPokazLog->setEnabled(false);
  WczytajPlik();
  DodajLinieDoStringGrid();
  UtworzLOG();
  const std::size_t ile = stan.Bledy.size();
  LabelIleBledow->setText(QString::number(ile));
  LabelIleBledow->adjustSize();
  ButtonZapiszNew->setEnabled(ile > 0);
  ButtonPokazLog->setEnabled(ile > 0);
  komunikaty_.Zajety(false);
  if (ile == 0) {
    UstawKolor(LabelIleBledow, QColor(0, 128, 0));
    komunikaty_.Informacja(teksty::PlikPoprawny.str());
  } else {
    StringGridBledy->UstawBiezacyWiersz(1);
    StringGridBledyClick(StringGridBledy);
    UstawKolor(LabelIleBledow, QColor(255, 0, 0));
    komunikaty_.Ostrzezenie(teksty::PlikZBledami.str());
  }
}

void TFormGlow::InitDane() {
  if (!modelBledow_) {
    modelBledow_ = new ui::TModelBledow(Typy::Stan().Bledy, StringGridBledy);
    StringGridBledy->setModel(modelBledow_);
    StringGridBledy->UstawNapisNaroznika(ui::NaglowekBledow(0));
  }
  // The list goes back to its single header row before the records it
  // shows are dropped.
  StringGridBledy->UstawStalyWiersz(false);
  modelBledow_->UstawSamNaglowek();
  Typy::Stan().Bledy.clear();
  StringGridBledy->UstawSzerokoscStalejKolumny(Skaluj(40));
  StringGridBledy->setColumnWidth(0, Skaluj(40));
  StringGridBledy->setColumnWidth(1, Skaluj(200));
  StringGridBledy->setColumnWidth(2, Skaluj(100));
  StringGridBledy->hide();
  PanelSzczegoly->hide();
  MemoLiniaOrg->clear();
  MemoLiniaNew->clear();
  StringGridZnaki->hide();
  Typy::Stan().WybranyBlad = -1;
}

void TFormGlow::WczytajPlik() {
  Typy::WczytajPlik(Typy::Stan());
}

void TFormGlow::DodajLinieDoStringGrid() {
  const std::size_t ile = Typy::Stan().Bledy.size();
  if (ile == 0) return;
  // The header row becomes fixed; row 1, column 1 is then current.
  modelBledow_->UstawRekordy(static_cast<int>(ile));
  StringGridBledy->UstawStalyWiersz(true);
  const auto& bledy = Typy::Stan().Bledy;
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

void TFormGlow::UtworzLOG() {
  const auto& stan = Typy::Stan();
  if (stan.Bledy.empty() || !FormLOG || !FormLOG->RichEditLOG) return;
  raport::TRaportTekst tekst;
  TKursorRaportu kursor(komunikaty_);
  raport::UtworzLOG(stan, tekst, kursor);
  // The view takes the whole report at once, not line by line.
  FormLOG->RichEditLOG->UstawRaport(tekst.Zabierz());
  kursor.Zakoncz();
}

void TFormGlow::StringGridBledyClick(QObject*) {
  auto& stan = Typy::Stan();
  const int wiersz = StringGridBledy->BiezacyWiersz();
  if (wiersz < 1 || static_cast<std::size_t>(wiersz - 1) >= stan.Bledy.size()) {
    stan.WybranyBlad = -1;
    return;
  }
  stan.WybranyBlad = wiersz - 1;
  const Typy::TRecError e = stan.Bledy[static_cast<std::size_t>(wiersz - 1)];
  const auto linia = static_cast<std::size_t>(e.LineIndex);
  const std::string_view org = stan.LinieOrg[linia];
  ui::PokazLinie(*MemoLiniaOrg, org, org);
  ui::PokazLinie(*MemoLiniaNew, stan.LinieNew[linia], org);

  std::string naglowek = kLiniaNr.str();
  naglowek += std::to_string(e.LineIndex + 1LL);
  naglowek += kWPliku.view();
  LabelSzczegolyLiniaBlad->setText(T(naglowek));
  LabelSzczegolyLiniaBlad->adjustSize();

  if (e.BadChars.empty()) {
    StringGridZnaki->hide();
    return;
  }
  auto znaki = Typy::PodzielTekst(e.BadChars, ",");
  auto pozycje = Typy::PodzielTekst(e.BadPositions, ",");
  const std::size_t znakow = znaki.size();
  if (!modelZnakow_) {
    modelZnakow_ = new ui::TModelZnakow(StringGridZnaki);
    StringGridZnaki->setModel(modelZnakow_);
    StringGridZnaki->UstawNapisNaroznika(ui::NaglowekZnakow(0));
  }
  modelZnakow_->Ustaw(std::move(znaki), std::move(pozycje));
  StringGridZnaki->UstawStalyWiersz(true);
  StringGridZnaki->UstawSzerokoscStalejKolumny(SzerokoscLiczb(
      StringGridZnaki->verticalHeader(), static_cast<long long>(znakow), Skaluj(50)));
  StringGridZnaki->setColumnWidth(0, Skaluj(50));
  StringGridZnaki->setColumnWidth(1, Skaluj(100));
  StringGridZnaki->show();
}

void TFormGlow::ButtonZapiszNewClick(QObject*) {
  const auto& stan = Typy::Stan();
  if (stan.LinieNew.empty()) return;
  komunikaty_.Zajety(true);
  const std::string sciezka = ZapiszPoprawionyPlik(stan);
  komunikaty_.Komunikat(KomunikatZapisano(sciezka));
  komunikaty_.Zajety(false);
}

void TFormGlow::MemoLiniaNewClick(QObject*) {
  PokazWybranyZnak();
}

void TFormGlow::PokazWybranyZnak() {
  const auto wybor = Typy::PokazWybranyZnak(Typy::Stan(), StringGridBledy->BiezacyWiersz(),
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
  switch (Typy::ZatwierdzZnak(Typy::Stan(), znak)) {
    case Typy::TWynikZmiany::NieWolno:
      komunikaty_.Komunikat(teksty::TylkoBledneZnaki.str());
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

void TFormGlow::ButtonPokazLogClick(QObject*) {
  if (FormLOG) FormLOG->PokazModalnie();
}
