#include "okno_rachunkow/FormRachunki.h"

#include <QClipboard>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTextCursor>
#include <QTextEdit>
#include <algorithm>
#include <cctype>

#include "Cp1250Text.h"
#include "TekstyOkien.h"
#include "kodowanie/Cp1250.h"
#include "rachunki/WykazBankow.h"
#include "typy/Typy.h"

namespace {

using namespace ui::nazwy_ukladu;
using namespace ui::teksty::okno_rachunkow;

// The window's layout for a 13-pixel text height: the list fills what the
// line panel at the bottom and the summary at the top (when shown: five
// lines of text) leave.
// clang-format off
constexpr ui::TElementUkladu kUklad[] = {
// name             kind                               parent    left  top  width  height  text      font                       placement          initially
{ "Panel2",         Rodzaj::PanelWypukly,              nullptr,     0, 279,   782,    141, {},       Czcionka::Okna,            Miejsce::Dol},
{ "LabelLinia",     Rodzaj::Etykieta,                  "Panel2",    8,   8,    24,     13, kLinia,   Czcionka::Okna,            Miejsce::Stale},
{ "MemoLinia",      Rodzaj::Wlasny,                    "Panel2",    8,  26,   766,     69, {},       Czcionka::StalaSzerokosc8, Miejsce::Stale},
{ "ButtonZamknij",  Rodzaj::Przycisk,                  "Panel2",  699,  106,   75,     25, kZamknij, Czcionka::Okna,            Miejsce::Stale},
{ "MemoPodsumowanie", Rodzaj::Wlasny,                  nullptr,     0,   0,   782,     84, {},       Czcionka::Okna,            Miejsce::Gora,     kUkryty},
{ "ButtonWykaz",    Rodzaj::Przycisk,                  "Panel2",    8,  106,  110,     25, kWykaz,   Czcionka::Okna,            Miejsce::Stale},
{ "LabelWykaz",     Rodzaj::Etykieta,                  "Panel2",  128,  112,  400,     13, {},       Czcionka::Okna,            Miejsce::Stale},
{ "Panel1",         Rodzaj::PanelWypuklyZObramowaniem, nullptr,     0,   0,   782,    279, {},       Czcionka::Okna,            Miejsce::Wypelnij},
{ "ListaUwag",      Rodzaj::Wlasny,                    "Panel1",    6,   6,   770,    267, {},       Czcionka::Okna,            Miejsce::Wypelnij},
};
// clang-format on

constexpr int kSzerokosciKolumn[ui::TModelUwag::kKolumn] = {45, 60, 160, 300, 190, 200};

}  // namespace

TFormRachunki::TFormRachunki(ui::TUserMessages& komunikaty, const QFont& czcionka, QWidget* rodzic)
    : QWidget(rodzic, Qt::Window), komunikaty_(komunikaty) {
  Zbuduj(czcionka);
}

void TFormRachunki::Zbuduj(const QFont& czcionka) {
  skala_ = ui::UstawOknoWlasne(this, QStringLiteral("FormRachunki"), ui::ZCp1250(kTytul), czcionka);

  ui::TWindowBuilder budowa(this, skala_);
  budowa.Zbuduj(kUklad, [&](const ui::TElementUkladu& w, QWidget* rodzic) -> QWidget* {
    if (std::string_view(w.Nazwa) == "ListaUwag") return new QTableView(rodzic);
    if (std::string_view(w.Nazwa) == "MemoPodsumowanie") {
      auto* p = new QPlainTextEdit(rodzic);
      p->setReadOnly(true);
      p->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
      p->setLineWrapMode(QPlainTextEdit::NoWrap);
      p->setFrameShape(QFrame::NoFrame);
      return p;
    }
    auto* m = new ui::TWidokLinii(rodzic);
    m->setReadOnly(true);
    m->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m->setUndoRedoEnabled(false);
    return m;
  });
  budowa.Przypisz(MemoPodsumowanie, "MemoPodsumowanie");
  budowa.Przypisz(Panel1, "Panel1");
  budowa.Przypisz(ListaUwag, "ListaUwag");
  budowa.Przypisz(Panel2, "Panel2");
  budowa.Przypisz(LabelLinia, "LabelLinia");
  budowa.Przypisz(MemoLinia, "MemoLinia");
  budowa.Przypisz(ButtonZamknij, "ButtonZamknij");
  budowa.Przypisz(ButtonWykaz, "ButtonWykaz");
  budowa.Przypisz(LabelWykaz, "LabelWykaz");

  model_ = new ui::TModelUwag(ListaUwag);
  ListaUwag->setModel(model_);
  ListaUwag->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListaUwag->setSelectionMode(QAbstractItemView::ExtendedSelection);
  ListaUwag->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListaUwag->setWordWrap(false);
  ListaUwag->verticalHeader()->hide();
  ListaUwag->verticalHeader()->setDefaultSectionSize(skala_(18));
  ListaUwag->horizontalHeader()->setStretchLastSection(true);
  for (int k = 0; k < ui::TModelUwag::kKolumn; ++k)
    ListaUwag->setColumnWidth(k, skala_(kSzerokosciKolumn[k]));

  setTabOrder(ListaUwag, MemoLinia);
  setTabOrder(MemoLinia, ButtonWykaz);
  setTabOrder(ButtonWykaz, ButtonZamknij);
  resize(skala_(782), skala_(420));

  ListaUwag->installEventFilter(this);
  connect(ButtonZamknij, &QPushButton::clicked, this, [this] { close(); });
  connect(ButtonWykaz, &QPushButton::clicked, this, [this] {
    Obsluz([this] {
      if (WybierzWykaz) WybierzWykaz();
    });
  });
  connect(ListaUwag->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this] { Obsluz([this] { PokazWybrany(); }); });
}

void TFormRachunki::Ustaw(const Typy::TStan& stan, const rachunki::TRachunkiStanu& wynik) {
  model_->Ustaw(&stan, wynik);
  DopasujKolumny();
  // What the transfers add up to, as the checker prints it with
  // --podsumowanie; only for a file that has them.
  const rachunki::TSumy& s = wynik.sumy;
  MemoPodsumowanie->clear();
  if (s.przelewy.ile + s.polecenia.ile > 0) {
    std::string tekst;
    for (const std::string& l : rachunki::LiniePodsumowania(s, rachunki::NazwaBankuZWykazu))
      tekst += l + '\n';
    if (!wynik.ostrzezenia.empty())
      tekst += rachunki::kOstrzezenia.str() + ' ' + std::to_string(wynik.ostrzezenia.size());
    tekst[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(tekst[0])));
    MemoPodsumowanie->setPlainText(ui::ZCp1250(tekst));
  }
  MemoPodsumowanie->setVisible(s.przelewy.ile + s.polecenia.ile > 0);
  MemoLinia->clear();
  LabelLinia->setText(ui::ZCp1250(kLinia));
  LabelLinia->adjustSize();
  LabelWykaz->setText(ui::ZCp1250(kWykazStan.str() + rachunki::WykazBankow().Data()));
  LabelWykaz->adjustSize();
  if (model_->rowCount() > 0) ListaUwag->selectRow(0);
  ListaUwag->setFocus();
}

void TFormRachunki::DopasujKolumny() {
  // The line, column, field and what is wrong as wide as their header and
  // their widest text in the font in use (a sentence of "Co jest błędne" is
  // read whole), never narrower than designed. The value keeps its width:
  // it can be long, and the line below shows it whole. Only the widest
  // text by the font's measure is handed to the view's own measure, so a
  // long list costs one pass of plain widths.
  const QFontMetrics miara(ListaUwag->font());
  const QAbstractItemView& widok = *ListaUwag;
  const int siatka = ListaUwag->showGrid() ? 1 : 0;
  for (int k = 0; k < ui::TModelUwag::kKolumnyCzytaneCale; ++k) {
    int szerokosc =
        std::max(skala_(kSzerokosciKolumn[k]), ListaUwag->horizontalHeader()->sectionSizeHint(k));
    int najszerszy = -1;
    int wiersz = -1;
    for (int w = 0; w < model_->rowCount(); ++w) {
      const int s = miara.horizontalAdvance(model_->data(model_->index(w, k)).toString());
      if (s > najszerszy) {
        najszerszy = s;
        wiersz = w;
      }
    }
    if (wiersz >= 0)
      szerokosc =
          std::max(szerokosc, widok.sizeHintForIndex(model_->index(wiersz, k)).width() + siatka);
    ListaUwag->setColumnWidth(k, szerokosc);
  }
}

void TFormRachunki::PokazWybrany() {
  const int wiersz = ListaUwag->currentIndex().row();
  if (wiersz < 0 || wiersz >= model_->rowCount()) return;
  const ui::TModelUwag::TWiersz& u = model_->Wiersz(wiersz);
  const std::string_view linia = model_->Linia(wiersz);
  ui::PokazLinie(*MemoLinia, linia, linia);
  // The value found, marked where it stands; the line's faulty bytes keep
  // their own background.
  QTextEdit::ExtraSelection wartosc;
  wartosc.cursor = QTextCursor(MemoLinia->document());
  wartosc.cursor.setPosition(static_cast<int>(u.uwaga.kolumna - 1));
  wartosc.cursor.setPosition(static_cast<int>(u.uwaga.kolumna - 1 + u.uwaga.dlugosc),
                             QTextCursor::KeepAnchor);
  wartosc.format.setBackground(QColor(255, 235, 130));
  MemoLinia->setExtraSelections({wartosc});
  QTextCursor kursor = MemoLinia->textCursor();
  kursor.setPosition(static_cast<int>(u.uwaga.kolumna - 1));
  MemoLinia->setTextCursor(kursor);
  MemoLinia->ensureCursorVisible();

  std::string napis = kLiniaNr.str();
  napis += std::to_string(u.linia);
  napis += kKolumnaNr.view();
  napis += std::to_string(u.uwaga.kolumna);
  // The bank again beside the line: the list's column may lie out of view.
  if (const std::string_view bank = rachunki::BankUwagi(u.uwaga, linia); !bank.empty())
    napis.append(kBankPrzecinek.view()).append(bank);
  LabelLinia->setText(ui::ZCp1250(napis));
  LabelLinia->adjustSize();
}

QString TFormRachunki::TekstDoSchowka() const {
  QList<int> wiersze;
  for (const QModelIndex& i : ListaUwag->selectionModel()->selectedRows())
    wiersze.push_back(i.row());
  if (wiersze.isEmpty())
    for (int w = 0; w < model_->rowCount(); ++w) wiersze.push_back(w);
  std::sort(wiersze.begin(), wiersze.end());
  QString tekst;
  auto wiersz = [&](auto komorka) {
    for (int k = 0; k < ui::TModelUwag::kKolumn; ++k) {
      if (k) tekst += u'\t';
      tekst += komorka(k);
    }
    tekst += u'\n';
  };
  wiersz([&](int k) { return model_->headerData(k, Qt::Horizontal).toString(); });
  for (int w : wiersze) wiersz([&](int k) { return model_->data(model_->index(w, k)).toString(); });
  return tekst;
}

bool TFormRachunki::eventFilter(QObject* obj, QEvent* ev) {
  // The list would copy only its current cell: Ctrl+C there copies rows.
  if (obj == ListaUwag && ev->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(ev)->matches(QKeySequence::Copy)) {
    if (QClipboard* schowek = QGuiApplication::clipboard()) schowek->setText(TekstDoSchowka());
    return true;
  }
  return QWidget::eventFilter(obj, ev);
}

void TFormRachunki::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
    close();
    e->accept();
    return;
  }
  QWidget::keyPressEvent(e);
}

void TFormRachunki::PokazModalnie() {
  const bool pierwsze = !pokazane_;
  pokazane_ = true;
  ListaUwag->setFocus();
  petla_.Pokaz(*this, komunikaty_, pierwsze);
}

void TFormRachunki::hideEvent(QHideEvent* e) {
  QWidget::hideEvent(e);
  petla_.Ukryte(*e);
}
