// The main window as it is built: every element's initial state and place,
// scaling with the font, the splitter's bounds, the keyboard and the report
// window shell.
#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "Cp1250Text.h"
#include "GeometriaOkna.h"
#include "RecordingUserMessages.h"
#include "kodowanie/Cp1250.h"
#include "okno_glowne/WyborProfilu.h"
#include "okno_glowne/glow.h"
#include "okno_raportu/LOG.h"
#include "typy/Typy.h"

using namespace ui;

namespace {

QString T(std::string_view cp) {
  return ZCp1250(cp);
}

bool Stala(const QFont& f) {
  return QFontInfo(f).fixedPitch();
}

// Drags the splitter by dy pixels (negative: upwards), optionally pressing
// Esc before letting go.
void Przeciagnij(TFormGlow& w, int dy, bool esc = false) {
  QWidget* s = w.Splitter1;
  const QPoint start(s->width() / 2, s->height() / 2);
  QTest::mousePress(s, Qt::LeftButton, Qt::NoModifier, start);
  QTest::mouseMove(s, start + QPoint(0, dy));
  if (esc) QTest::keyClick(s, Qt::Key_Escape);
  QTest::mouseRelease(s, Qt::LeftButton, Qt::NoModifier, start + QPoint(0, dy));
}

}  // namespace

class TestGlow : public QObject {
  Q_OBJECT

 private slots:
  void stanPoczatkowy();
  void geometriaWSkaliProjektu();
  void wyrownanieIPanelSzczegolow();
  void granicePrzeciaganiaSplittera();
  void klawiaturaDomyslnyPrzycisk();
  void kolejnoscTabulacji();
  void poleNowegoZnakuJedenZnak();
  void oknoLogUkryte();
};

void TestGlow::stanPoczatkowy() {
  TRecordingUserMessages m;
  Typy::TStan stan_w;
  TFormGlow w(stan_w, m);
  QCOMPARE(w.objectName(), QStringLiteral("FormGlow"));
  // The creation handler replaced the layout's caption.
  QCOMPARE(w.windowTitle(), QStringLiteral("Tarmeko_weryfikacja_pliku v.2.0 (alfa '2022)"));
  QVERIFY(!w.isVisible());
  w.show();

  struct Oczekiwany {
    QWidget* w;
    const char* nazwa;
    bool widoczny;
    bool aktywny;
  };
  const Oczekiwany elementy[] = {
      {w.Panel1, "Panel1", true, true},
      {w.Button3, "Button3", true, true},
      {w.ButtonZapiszNew, "ButtonZapiszNew", true, false},
      {w.ButtonPokazLog, "ButtonPokazLog", true, false},
      {w.Panel2, "Panel2", true, true},
      {w.Panel3, "Panel3", true, true},
      {w.Label1, "Label1", true, true},
      {w.LabelIleBledow, "LabelIleBledow", true, true},
      {w.StringGridBledy, "StringGridBledy", false, true},
      {w.Splitter1, "Splitter1", true, true},
      {w.PanelSzczegoly, "PanelSzczegoly", false, true},
      {w.GroupBox1, "GroupBox1", false, true},
      {w.Panel6, "Panel6", false, true},
      {w.LabelSzczegolyLiniaBlad, "LabelSzczegolyLiniaBlad", false, true},
      {w.MemoLiniaOrg, "MemoLiniaOrg", false, false},
      {w.Label2, "Label2", false, true},
      {w.MemoLiniaNew, "MemoLiniaNew", false, true},
      {w.Label3, "Label3", false, true},
      {w.Panel5, "Panel5", false, true},
      {w.StringGridZnaki, "StringGridZnaki", false, true},
      {w.Label4, "Label4", false, true},
      {w.EditZnakOrg, "EditZnakOrg", false, false},
      {w.Label5, "Label5", false, true},
      {w.EditZnakNew, "EditZnakNew", false, true},
      {w.BitBtn1, "BitBtn1", false, true},
  };
  for (const auto& e : elementy) {
    QVERIFY2(e.w, e.nazwa);
    QCOMPARE(e.w->objectName(), QString::fromLatin1(e.nazwa));
    // Found by name from the window, as tools find them.
    QCOMPARE(w.findChild<QWidget*>(QString::fromLatin1(e.nazwa)), e.w);
    QVERIFY2(e.w->isVisible() == e.widoczny, e.nazwa);
    QVERIFY2(e.w->isEnabled() == e.aktywny, e.nazwa);
  }
  // Inside the hidden detail panel, only the panel itself is hidden.
  QVERIFY(!w.StringGridZnaki->isHidden());
  QVERIFY(!w.GroupBox1->isHidden());

  constexpr kodowanie::cp1250::Literal sprawdz{u8"Sprawdź plik z przelewami"};
  constexpr kodowanie::cp1250::Literal pokaz{u8"Pokaż plik LOG z błędami"};
  constexpr kodowanie::cp1250::Literal lista{u8"Lista błędów"};
  constexpr kodowanie::cp1250::Literal ilosc{u8"Ilość błędnych linii w zbiorze:"};
  constexpr kodowanie::cp1250::Literal szczegoly{u8"Szczegóły wybranego błędu"};
  constexpr kodowanie::cp1250::Literal blednaLinia{u8"Błędna linia w pliku źródłowym"};
  constexpr kodowanie::cp1250::Literal bledneZnaki{u8"Błędne znaki wraz z pozycją znaku w linii"};
  constexpr kodowanie::cp1250::Literal zatwierdz{u8"Zatwierdź nowy znak"};
  QCOMPARE(w.Button3->text(), T(sprawdz));
  QCOMPARE(w.ButtonZapiszNew->text(), QStringLiteral("Zapisz poprawiony plik"));
  QCOMPARE(w.ButtonPokazLog->text(), T(pokaz));
  QCOMPARE(w.Panel3->Napis(), T(lista));
  QCOMPARE(w.Label1->text(), T(ilosc));
  QCOMPARE(w.LabelIleBledow->text(), QStringLiteral("0"));
  QCOMPARE(w.GroupBox1->title(), T(szczegoly));
  QCOMPARE(w.LabelSzczegolyLiniaBlad->text(), T(blednaLinia));
  QCOMPARE(w.Label2->text(), QStringLiteral("Poprawiona linia"));
  QCOMPARE(w.Label3->text(), T(bledneZnaki));
  QCOMPARE(w.Label4->text(), QStringLiteral("Oryginalny znak"));
  QCOMPARE(w.Label5->text(), QStringLiteral("Nowy znak"));
  QCOMPARE(w.BitBtn1->text(), T(zatwierdz));
  QVERIFY(!w.BitBtn1->icon().isNull());
  QVERIFY(w.MemoLiniaOrg->toPlainText().isEmpty());
  QVERIFY(w.MemoLiniaNew->toPlainText().isEmpty());
  QVERIFY(w.EditZnakOrg->text().isEmpty());
  QVERIFY(w.EditZnakNew->text().isEmpty());
  // No caption carries an accelerator.
  for (QPushButton* b : w.findChildren<QPushButton*>()) QVERIFY(!b->text().contains(u'&'));

  // Fonts: bold buttons and count, monospaced views and edits.
  QVERIFY(w.Button3->font().bold() && w.ButtonZapiszNew->font().bold() &&
          w.ButtonPokazLog->font().bold() && w.LabelIleBledow->font().bold());
  QVERIFY(!w.BitBtn1->font().bold() && !w.Label1->font().bold());
  QVERIFY(!Stala(w.font()));
  for (QWidget* e : std::initializer_list<QWidget*>{w.MemoLiniaOrg, w.MemoLiniaNew, w.EditZnakOrg,
                                                    w.EditZnakNew})
    QVERIFY2(Stala(e->font()), qPrintable(e->objectName()));
  QVERIFY(w.EditZnakNew->font().pointSizeF() > w.MemoLiniaNew->font().pointSizeF());

  // The views: read-only, word-wrapped; the edits: one character.
  QVERIFY(w.MemoLiniaOrg->isReadOnly() && w.MemoLiniaNew->isReadOnly());
  QCOMPARE(w.MemoLiniaNew->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  QVERIFY(w.EditZnakOrg->isReadOnly());
  QVERIFY(!w.EditZnakNew->isReadOnly());
  QCOMPARE(w.EditZnakNew->maxLength(), 1);

  // Grids: the error list without a header row, the character list with one.
  QVERIFY(!w.StringGridBledy->StalyWiersz());
  QVERIFY(w.StringGridBledy->StalaKolumna());
  QCOMPARE(w.StringGridBledy->model()->rowCount(), 1);
  QCOMPARE(w.StringGridBledy->model()->columnCount(), 4);
  QVERIFY(w.StringGridZnaki->StalyWiersz());
  QCOMPARE(w.StringGridZnaki->model()->columnCount(), 2);
  QCOMPARE(w.StringGridZnaki->model()->rowCount(), 4);
  QCOMPARE(w.StringGridBledy->editTriggers(), QAbstractItemView::NoEditTriggers);
  QCOMPARE(w.Splitter1->cursor().shape(), Qt::SplitVCursor);
}

void TestGlow::geometriaWSkaliProjektu() {
  // At a 13-pixel text height the layout is the design's, pixel for pixel,
  // with the detail panel hidden and shown; at a larger font every length
  // grows with the text height.
  QFont duza = ui::CzcionkaOkna();
  duza.setPointSize(14);
  for (const auto& [czcionka, wzor] : {std::pair{ui::CzcionkaOkna(), QStringLiteral("glow")},
                                       std::pair{duza, QStringLiteral("glow-14pt")}}) {
    TRecordingUserMessages m;
    Typy::TStan stan_w;
    TFormGlow w(stan_w, m, czcionka);
    if (wzor == QStringLiteral("glow") && w.WysokoscTekstu() != 13)
      QSKIP("the window font here is not 13 pixels high");
    w.show();
    QString geometria = test::GeometriaOkna(w);
    w.StringGridBledy->show();
    w.PanelSzczegoly->show();
    geometria += test::GeometriaOkna(w);
    QCOMPARE(geometria, test::Wzor(wzor + QStringLiteral(".txt"), geometria));
  }
  // Own fonts grow with the layout.
  TRecordingUserMessages m;
  Typy::TStan stan_w, stan_wzor;
  TFormGlow w(stan_w, m, duza), wzor(stan_wzor, m);
  QVERIFY(w.MemoLiniaNew->font().pointSizeF() > wzor.MemoLiniaNew->font().pointSizeF());
}

void TestGlow::wyrownanieIPanelSzczegolow() {
  TRecordingUserMessages m;
  Typy::TStan stan_w;
  TFormGlow w(stan_w, m);
  w.show();
  w.PanelSzczegoly->show();
  const int wysokosc = w.PanelSzczegoly->height();
  // Resizing changes only the filling elements.
  w.resize(w.width() + 100, w.height() + 150);
  QCOMPARE(w.PanelSzczegoly->height(), wysokosc);
  QCOMPARE(w.PanelSzczegoly->geometry().bottom(), w.height() - 1);
  QCOMPARE(w.Splitter1->geometry().bottom() + 1, w.PanelSzczegoly->y());
  QCOMPARE(w.Panel2->geometry().bottom() + 1, w.Splitter1->y());
  QCOMPARE(w.Panel2->width(), w.width());
  // Too low a window leaves the list no height; the panel keeps its own.
  w.resize(w.width(), w.Skaluj(41 + 9 + 355) - 20);
  QCOMPARE(w.PanelSzczegoly->height(), wysokosc);
  QCOMPARE(w.Panel2->height(), 0);
  // Hidden again: the splitter drops to the bottom edge.
  w.resize(w.width(), w.Skaluj(526));
  w.PanelSzczegoly->hide();
  QCOMPARE(w.Splitter1->geometry().bottom(), w.height() - 1);
  // Shown again: splitter directly above the panel.
  w.PanelSzczegoly->show();
  QCOMPARE(w.Splitter1->geometry().bottom() + 1, w.PanelSzczegoly->y());
}

void TestGlow::granicePrzeciaganiaSplittera() {
  TRecordingUserMessages m;
  Typy::TStan stan_w;
  TFormGlow w(stan_w, m);
  w.show();
  const int min = w.Skaluj(355);
  const int max = w.height() - w.Panel1->height() - w.Splitter1->height() - w.Skaluj(30);

  // Hidden panel: a drag changes nothing and shows no band.
  const QRect przed = w.Splitter1->geometry();
  Przeciagnij(w, -100);
  QCOMPARE(w.Splitter1->geometry(), przed);
  QVERIFY(w.PanelSzczegoly->isHidden());

  w.PanelSzczegoly->show();
  // Up by 20: the panel grows by 20, its bottom edge stays.
  Przeciagnij(w, -20);
  QCOMPARE(w.PanelSzczegoly->height(), min + 20);
  QCOMPARE(w.PanelSzczegoly->geometry().bottom(), w.height() - 1);
  // Far up: stops 30 pixels short of the top bar and splitter.
  Przeciagnij(w, -1000);
  QCOMPARE(w.PanelSzczegoly->height(), max);
  QCOMPARE(w.Panel2->height(), w.Skaluj(30));
  // Far down: the panel's minimum.
  Przeciagnij(w, 1000);
  QCOMPARE(w.PanelSzczegoly->height(), min);
  // Esc during the drag cancels it.
  Przeciagnij(w, -50, true);
  QCOMPARE(w.PanelSzczegoly->height(), min);
  QVERIFY(!w.Splitter1->Przeciaganie());
  // The new height survives hiding and showing the panel.
  Przeciagnij(w, -40);
  w.PanelSzczegoly->hide();
  w.PanelSzczegoly->show();
  QCOMPARE(w.PanelSzczegoly->height(), min + 40);
}

void TestGlow::klawiaturaDomyslnyPrzycisk() {
  TRecordingUserMessages m;
  Typy::TStan stan_w;
  TFormGlow w(stan_w, m);
  w.show();
  QApplication::setActiveWindow(&w);
  QSignalSpy zatwierdz(w.BitBtn1, &QPushButton::clicked);
  QSignalSpy sprawdz(w.Button3, &QPushButton::clicked);

  // Focus starts on the check button; Enter presses it.
  QCOMPARE(w.focusWidget(), w.Button3);
  QTest::keyClick(w.Button3, Qt::Key_Return);
  QCOMPARE(sprawdz.count(), 1);
  QCOMPARE(zatwierdz.count(), 0);

  // With the detail panel hidden, Enter in the list reaches nothing.
  w.StringGridBledy->show();
  QTest::keyClick(w.StringGridBledy, Qt::Key_Return);
  QCOMPARE(zatwierdz.count(), 0);

  w.PanelSzczegoly->show();
  QTest::keyClick(w.StringGridBledy, Qt::Key_Return);
  QCOMPARE(zatwierdz.count(), 1);
  QTest::keyClick(w.StringGridZnaki, Qt::Key_Enter, Qt::KeypadModifier);
  QCOMPARE(zatwierdz.count(), 2);
  QTest::keyClick(w.EditZnakNew, Qt::Key_Return);
  QCOMPARE(zatwierdz.count(), 3);
  // With a modifier it is not the default button's Enter.
  QTest::keyClick(w.EditZnakNew, Qt::Key_Return, Qt::ShiftModifier);
  QCOMPARE(zatwierdz.count(), 3);
  // The line views take Enter themselves.
  QTest::keyClick(w.MemoLiniaNew, Qt::Key_Return);
  QCOMPARE(zatwierdz.count(), 3);
  QVERIFY(w.MemoLiniaNew->toPlainText().isEmpty());
  // A disabled default button is not pressed.
  w.BitBtn1->setEnabled(false);
  QTest::keyClick(w.EditZnakNew, Qt::Key_Return);
  QCOMPARE(zatwierdz.count(), 3);
  w.BitBtn1->setEnabled(true);
  // Enter on another focused button presses that one only.
  QTest::keyClick(w.Button3, Qt::Key_Enter, Qt::KeypadModifier);
  QCOMPARE(sprawdz.count(), 2);
  QCOMPARE(zatwierdz.count(), 3);
  // With Shift, Ctrl or Alt, Enter presses neither it nor the default one.
  for (const auto mod : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) {
    QTest::keyClick(w.Button3, Qt::Key_Return, mod);
    QTest::keyClick(w.BitBtn1, Qt::Key_Return, mod);
  }
  QCOMPARE(sprawdz.count(), 2);
  QCOMPARE(zatwierdz.count(), 3);

  // Esc does nothing: the window stays, nothing is pressed.
  for (QWidget* e :
       std::initializer_list<QWidget*>{w.Button3, w.StringGridBledy, w.EditZnakNew, w.MemoLiniaNew})
    QTest::keyClick(e, Qt::Key_Escape);
  QVERIFY(w.isVisible());
  QCOMPARE(zatwierdz.count(), 3);
  QCOMPARE(sprawdz.count(), 2);
  QVERIFY(m.Wywolania.empty() || m.Teksty(TRecordingUserMessages::Rodzaj::Blad).empty());
}

void TestGlow::kolejnoscTabulacji() {
  TRecordingUserMessages m;
  Typy::TStan stan_w;
  TFormGlow w(stan_w, m);
  w.show();
  QApplication::setActiveWindow(&w);
  w.StringGridBledy->show();
  w.PanelSzczegoly->show();
  w.ButtonZapiszNew->setEnabled(true);
  w.ButtonPokazLog->setEnabled(true);
  w.Button3->setFocus();
  // The profile chooser sits after the last button of the bar.
  const QWidget* oczekiwane[] = {w.ButtonZapiszNew, w.ButtonPokazLog,  w.ComboProfil,
                                 w.StringGridBledy, w.StringGridZnaki, w.EditZnakNew,
                                 w.BitBtn1,         w.MemoLiniaNew,    w.Button3};
  for (const QWidget* o : oczekiwane) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), o->objectName());
  }
  // Disabled buttons are skipped too.
  w.ButtonZapiszNew->setEnabled(false);
  w.ButtonPokazLog->setEnabled(false);
  w.Button3->setFocus();
  QTest::keyClick(w.Button3, Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), w.ComboProfil);
  QTest::keyClick(w.ComboProfil, Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), w.StringGridBledy);
}

void TestGlow::poleNowegoZnakuJedenZnak() {
  TRecordingUserMessages m;
  Typy::TStan stan_w;
  TFormGlow w(stan_w, m);
  w.show();
  w.PanelSzczegoly->show();
  QTest::keyClicks(w.EditZnakNew, QStringLiteral("abc"));
  QCOMPARE(w.EditZnakNew->text(), QStringLiteral("a"));
  w.EditZnakNew->clear();
  w.EditZnakNew->insert(QStringLiteral("xyz"));  // as a paste does
  QCOMPARE(w.EditZnakNew->text(), QStringLiteral("x"));
}

void TestGlow::oknoLogUkryte() {
  TRecordingUserMessages m;
  TFormLOG log(m);
  QCOMPARE(log.objectName(), QStringLiteral("FormLOG"));
  QCOMPARE(log.windowTitle(), QStringLiteral("Plik LOG"));
  QVERIFY(log.isWindow());
  QVERIFY(log.isHidden());
  // It never keeps the program running on its own.
  QVERIFY(!log.testAttribute(Qt::WA_QuitOnClose));
}

QTEST_MAIN(TestGlow)
#include "test_glow.moc"
