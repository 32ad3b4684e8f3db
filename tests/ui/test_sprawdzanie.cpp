// The check command as the user meets it: picking a file, the list of
// faulty lines, the count and the buttons, the details of a line, the
// outcome dialogs, failures, and every way of selecting a line.
#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QUrl>
#include <QWheelEvent>

#ifndef Q_OS_WIN
#include "../faults/FaultSupport.h"
#endif
#include "Aplikacja.h"
#include "OknoTestowe.h"
#include "okno_glowne/ModelBledow.h"
#include "typy/Teksty.h"
#include "typy/Typy.h"
#include "widgets/WidokLinii.h"

using namespace test;
using Rodzaj = ui::TRecordingUserMessages::Rodzaj;

namespace {

QString Komorka(const QAbstractItemModel* m, int wiersz, int kolumna) {
  return m->data(m->index(wiersz, kolumna)).toString();
}

QColor KolorEtykiety(const QLabel* l) {
  return l->palette().color(QPalette::WindowText);
}

// The background the view's document gives the character at an offset.
QColor TloZnaku(const QPlainTextEdit* w, int offset) {
  const QTextBlock b = w->document()->firstBlock();
  for (const auto& f : b.layout()->formats())
    if (offset >= f.start && offset < f.start + f.length) return f.format.background().color();
  for (auto it = b.begin(); !it.atEnd(); ++it) {
    const QTextFragment fr = it.fragment();
    if (offset >= fr.position() && offset < fr.position() + fr.length())
      return fr.charFormat().background().style() == Qt::NoBrush
                 ? QColor()
                 : fr.charFormat().background().color();
  }
  return {};
}

// Presses and releases the left button on a cell of the list (grid row
// and grid column, the fixed ones being 0).
QPoint SrodekKomorki(ui::TSiatka* s, int wiersz, int kolumna) {
  return s->visualRect(s->model()->index(wiersz - 1, kolumna - 1)).center();
}

}  // namespace

class TestSprawdzanie : public QObject {
  Q_OBJECT

 private slots:
  void plikBezBledow_data();
  void plikBezBledow();
  void plikZBledami();
  void pustaBlednaLinia();
  void kolejneSprawdzenieIAnulowanie();
  void bladOdczytu_data();
  void bladOdczytu();
  void wyborKlawiatura();
  void wyborMyszaIKolkiem();
  void dlugieNumery();
  void modele();
  void naroznikJakInneNaglowki();
  void plikZWierszaPolecenIUpuszczony();
};

void TestSprawdzanie::plikBezBledow_data() {
  QTest::addColumn<QByteArray>("tresc");
  QTest::addColumn<QString>("plik");
  QTest::newRow("czysty z banku") << QByteArray()
                                  << QStringLiteral(CORPUS_DIR "/pekao_collect_report_cp1250.csv");
  QTest::newRow("pusty") << QByteArray() << QString();
  QTest::newRow("plik zniknal") << QByteArray("brak") << QString();
}

void TestSprawdzanie::plikBezBledow() {
  QFETCH(QByteArray, tresc);
  QFETCH(QString, plik);
  TOkno o;
  std::string sciezka = plik.toStdString();
  if (sciezka.empty())
    sciezka = tresc.isEmpty() ? o.Plik("pusty.txt", "") : o.Sciezka("nie_ma_go.txt");
  bool zajetyPrzyDialogu = true;
  o.m.PrzyDialogu = [&] { zajetyPrzyDialogu = o.m.CzyZajety(); };

  o.Sprawdz(sciezka);

  if (tresc == "brak") {
    // A file gone before it is read is an error, shown as such.
    QCOMPARE(o.m.Teksty(Rodzaj::Blad), std::vector<std::string>{"File not found."});
    QVERIFY(o.m.Teksty(Rodzaj::Informacja).empty());
    QVERIFY(!o.m.CzyZajety());
    QCOMPARE(o.w.LabelIleBledow->text(), QStringLiteral("0"));
    return;
  }
  QVERIFY(o.m.Teksty(Rodzaj::Blad).empty());
  QCOMPARE(o.m.Teksty(Rodzaj::Informacja),
           std::vector<std::string>{Typy::teksty::PlikPoprawny.str()});
  QVERIFY(o.m.Teksty(Rodzaj::Ostrzezenie).empty());
  QVERIFY(!zajetyPrzyDialogu);
  // The outcome dialog last, or right before the question about the
  // account findings that the bank's file has.
  auto ostatni = o.m.Wywolania.rbegin();
  if (ostatni->rodzaj == Rodzaj::Pytanie) ++ostatni;
  QCOMPARE(ostatni->rodzaj, Rodzaj::Informacja);
  QVERIFY(!o.w.StringGridBledy->isVisible());
  QVERIFY(!o.w.PanelSzczegoly->isVisible());
  QCOMPARE(o.w.LabelIleBledow->text(), QStringLiteral("0"));
  QCOMPARE(KolorEtykiety(o.w.LabelIleBledow), QColor(0, 128, 0));
  QVERIFY(!o.w.ButtonZapiszNew->isEnabled());
  QVERIFY(!o.w.ButtonPokazLog->isEnabled());
  QCOMPARE(o.stan.WybranyBlad, -1);
  QCOMPARE(o.stan.NazwaPliku, sciezka);
}

void TestSprawdzanie::plikZBledami() {
  TOkno o;
  const std::string sciezka = o.Plik("lista.txt", kZBledami);
  QString orgPrzyDialogu;
  bool zajetyPrzyDialogu = true;
  o.m.PrzyDialogu = [&] {
    orgPrzyDialogu = o.w.MemoLiniaOrg->toPlainText();
    zajetyPrzyDialogu = o.m.CzyZajety();
  };
  o.Sprawdz(sciezka);

  QVERIFY(o.m.Teksty(Rodzaj::Blad).empty());
  QCOMPARE(o.m.Teksty(Rodzaj::Ostrzezenie),
           std::vector<std::string>{Typy::teksty::PlikZBledami.str()});
  QCOMPARE(o.m.Wywolania.back().rodzaj, Rodzaj::Ostrzezenie);
  // The dialog comes over the filled window with the normal cursor.
  QVERIFY(!zajetyPrzyDialogu);
  QCOMPARE(orgPrzyDialogu, T("x\x96y\xB7z"));

  auto* g = o.w.StringGridBledy;
  const QAbstractItemModel* m = g->model();
  QVERIFY(g->isVisible());
  QVERIFY(o.w.PanelSzczegoly->isVisible());
  QVERIFY(g->StalyWiersz() && g->StalaKolumna());
  QCOMPARE(m->rowCount(), 3);
  QCOMPARE(m->columnCount(), 3);
  QCOMPARE(g->NapisNaroznika(), QStringLiteral("Lp"));
  QCOMPARE(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Nr linii"));
  QCOMPARE(m->headerData(1, Qt::Horizontal).toString(), T(Cp("Błąd")));
  QCOMPARE(m->headerData(2, Qt::Horizontal).toString(), T(Cp("Błędne znaki")));
  QCOMPARE(g->verticalHeader()->width(), o.w.Skaluj(40));
  QCOMPARE(g->columnWidth(0), o.w.Skaluj(40));
  QCOMPARE(g->columnWidth(1), o.w.Skaluj(200));
  QCOMPARE(g->columnWidth(2), o.w.Skaluj(100));
  const QString rzedy[3][4] = {
      {QStringLiteral("1"), QStringLiteral("2"), T(Typy::teksty::BledneZnaki), T("\x96,\xB7")},
      {QStringLiteral("2"), QStringLiteral("3"), T(Typy::teksty::CiagPusty), QString()},
      // Control bytes are drawn as their pictures.
      {QStringLiteral("3"), QStringLiteral("5"), T(Typy::teksty::BledneZnaki),
       QStringLiteral(u"\u2401,\u2421")},
  };
  for (int r = 0; r < 3; ++r) {
    QCOMPARE(m->headerData(r, Qt::Vertical).toString(), rzedy[r][0]);
    for (int c = 0; c < 3; ++c) QCOMPARE(Komorka(m, r, c), rzedy[r][c + 1]);
  }

  QCOMPARE(o.w.LabelIleBledow->text(), QStringLiteral("3"));
  QCOMPARE(KolorEtykiety(o.w.LabelIleBledow), QColor(255, 0, 0));
  QVERIFY(o.w.ButtonZapiszNew->isEnabled());
  QVERIFY(o.w.ButtonPokazLog->isEnabled());

  // Details of the first faulty line.
  QCOMPARE(g->BiezacyWiersz(), 1);
  QCOMPARE(g->currentIndex().column(), 0);
  QCOMPARE(o.stan.WybranyBlad, 0);
  QCOMPARE(o.w.LabelSzczegolyLiniaBlad->text(), T(Cp("Błędna linia nr 2 w pliku źródłowym")));
  QCOMPARE(o.w.MemoLiniaOrg->toPlainText(), T("x\x96y\xB7z"));
  QCOMPARE(o.w.MemoLiniaNew->toPlainText(), QStringLiteral("x?y?z"));
  for (const QPlainTextEdit* v : {o.w.MemoLiniaOrg, o.w.MemoLiniaNew}) {
    QCOMPARE(TloZnaku(v, 1), ui::KolorBlednegoZnaku());
    QCOMPARE(TloZnaku(v, 3), ui::KolorBlednegoZnaku());
    QVERIFY(TloZnaku(v, 0) != ui::KolorBlednegoZnaku());
    QVERIFY(TloZnaku(v, 2) != ui::KolorBlednegoZnaku());
  }
  auto* z = o.w.StringGridZnaki;
  QVERIFY(z->isVisible());
  QCOMPARE(z->model()->rowCount(), 2);
  QCOMPARE(z->NapisNaroznika(), QStringLiteral("Lp"));
  QCOMPARE(z->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Znak"));
  QCOMPARE(z->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Pozycja w linii"));
  QCOMPARE(z->verticalHeader()->width(), o.w.Skaluj(50));
  QCOMPARE(z->columnWidth(0), o.w.Skaluj(50));
  QCOMPARE(z->columnWidth(1), o.w.Skaluj(100));
  QCOMPARE(Komorka(z->model(), 0, 0), T("\x96"));
  QCOMPARE(Komorka(z->model(), 0, 1), QStringLiteral("2"));
  QCOMPARE(Komorka(z->model(), 1, 0), T("\xB7"));
  QCOMPARE(Komorka(z->model(), 1, 1), QStringLiteral("4"));

  // The report was built into the report window for this file.
  const std::string& raport = o.log.RichEditLOG->Raport();
  QVERIFY(raport.starts_with(Cp("Lista błędów w pliku ") + sciezka + "\r\n"));
  QVERIFY(raport.find(Cp("Linia 5 zawiera błąd: ")) != std::string::npos);
  QVERIFY(raport.ends_with("*****\r\nKoniec pliku LOG\r\n"));
}

void TestSprawdzanie::pustaBlednaLinia() {
  TOkno o;
  o.Sprawdz(o.Plik("lista.txt", kZBledami));
  o.w.StringGridBledy->UstawBiezacyWiersz(2);

  QCOMPARE(o.stan.WybranyBlad, 1);
  QCOMPARE(o.w.LabelSzczegolyLiniaBlad->text(), T(Cp("Błędna linia nr 3 w pliku źródłowym")));
  QVERIFY(o.w.MemoLiniaOrg->toPlainText().isEmpty());
  QVERIFY(o.w.MemoLiniaNew->toPlainText().isEmpty());
  QVERIFY(!o.w.StringGridZnaki->isVisible());

  // Control bytes in a line are drawn as pictures, one character a byte.
  o.w.StringGridBledy->UstawBiezacyWiersz(3);
  QCOMPARE(o.w.MemoLiniaOrg->toPlainText(), QStringLiteral(u"\u2401abc\u2421"));
  QCOMPARE(o.w.MemoLiniaNew->toPlainText(), QStringLiteral("?abc?"));
  QVERIFY(o.w.StringGridZnaki->isVisible());
  QCOMPARE(Komorka(o.w.StringGridZnaki->model(), 1, 0), QStringLiteral(u"\u2421"));
  QCOMPARE(Komorka(o.w.StringGridZnaki->model(), 1, 1), QStringLiteral("5"));
}

void TestSprawdzanie::kolejneSprawdzenieIAnulowanie() {
  TOkno o;
  o.Sprawdz(o.Plik("lista.txt", kZBledami));
  o.w.StringGridBledy->UstawBiezacyWiersz(3);

  // A cancelled dialog changes nothing at all.
  const std::size_t przed = o.m.Wywolania.size();
  QTest::mouseClick(o.w.Button3, Qt::LeftButton);
  QCOMPARE(o.Rodzaje(przed), std::vector<Rodzaj>{Rodzaj::Otworz});
  QCOMPARE(o.w.StringGridBledy->model()->rowCount(), 3);
  QCOMPARE(o.stan.WybranyBlad, 2);
  QCOMPARE(o.w.MemoLiniaNew->toPlainText(), QStringLiteral("?abc?"));

  // A real file with faulty control bytes replaces the list and the report.
  const std::string bank = CORPUS_DIR "/wolph_mbank_mt940_soh_etx.sta";
  o.Sprawdz(bank);
  const int ile = o.w.StringGridBledy->model()->rowCount();
  QVERIFY(ile >= 1 && ile != 3);
  QCOMPARE(o.w.LabelIleBledow->text(), QString::number(ile));
  QCOMPARE(static_cast<int>(o.stan.Bledy.size()), ile);
  QCOMPARE(Komorka(o.w.StringGridBledy->model(), 0, 0), QStringLiteral("1"));
  QCOMPARE(o.w.MemoLiniaOrg->toPlainText(), QStringLiteral(u"\u2401"));
  QCOMPARE(o.stan.WybranyBlad, 0);
  QVERIFY(o.log.RichEditLOG->Raport().starts_with(Cp("Lista błędów w pliku ") + bank));

  // A clean file after a faulty one hides the list and disables both.
  o.Sprawdz(CORPUS_DIR "/pekao_collect_report_cp1250.csv");
  QVERIFY(!o.w.StringGridBledy->isVisible());
  QVERIFY(!o.w.PanelSzczegoly->isVisible());
  QCOMPARE(o.w.LabelIleBledow->text(), QStringLiteral("0"));
  QCOMPARE(KolorEtykiety(o.w.LabelIleBledow), QColor(0, 128, 0));
  QVERIFY(!o.w.ButtonZapiszNew->isEnabled());
  QVERIFY(!o.w.ButtonPokazLog->isEnabled());
  // The report of the last faulty file stays, unreachable.
  QVERIFY(o.log.RichEditLOG->Raport().starts_with(Cp("Lista błędów w pliku ") + bank));
}

void TestSprawdzanie::bladOdczytu_data() {
  QTest::addColumn<QString>("cel");
  QTest::addColumn<QString>("zmiana");  // how the file changes while it is read
  QTest::addColumn<QString>("komunikat");
  QTest::newRow("brak pliku") << QStringLiteral("nie_ma.txt") << QString()
                              << QStringLiteral("File not found.");
  QTest::newRow("katalog") << QStringLiteral(".") << QString()
                           << QStringLiteral("File access denied.");
  // A file changed under the read may have been read as a mix of two
  // versions: the checker's sentence, and nothing of it offered.
  const QString zmieniony = QStringLiteral(
      "plik zmienił się w trakcie sprawdzania; niczego nie zapisano, sprawdź go ponownie.");
#ifndef Q_OS_WIN  // the fault shim stands in for the C library's calls
  for (const char* jak : {"grow", "shrink", "replace"})
    QTest::newRow(jak) << QStringLiteral("zmienia.txt") << QString::fromLatin1(jak) << zmieniony;
#else
  (void)zmieniony;
#endif
}

void TestSprawdzanie::bladOdczytu() {
  QFETCH(QString, cel);
  QFETCH(QString, zmiana);
  QFETCH(QString, komunikat);
  TOkno o;
  o.Sprawdz(o.Plik("lista.txt", kZBledami));
  const std::size_t przed = o.m.Wywolania.size();
  std::string sciezka =
      cel == QStringLiteral(".") ? o.katalog.path().toStdString() : o.Sciezka(cel.toStdString());
  if (zmiana.isEmpty()) {
    o.Sprawdz(sciezka);
  } else {
#ifndef Q_OS_WIN
    std::string duzy;
    for (int i = 0; i < 20000; ++i) duzy += kZBledami;
    sciezka = o.Plik(cel.toStdString(), duzy);
    faults::Fault f{{"FAULT_PATH", cel.toStdString()},
                    {"FAULT_CHANGE_AFTER_BYTES", "1"},
                    {"FAULT_CHANGE", zmiana.toStdString()}};
    o.Sprawdz(sciezka);
#endif
  }

  QCOMPARE(o.m.Teksty(Rodzaj::Blad), std::vector<std::string>{Cp(komunikat.toStdString())});
  // No outcome dialog after an error, and the cursor is off.
  QCOMPARE(o.m.Teksty(Rodzaj::Ostrzezenie).size(), std::size_t{1});
  QVERIFY(o.m.Teksty(Rodzaj::Informacja).empty());
  QCOMPARE(o.m.Wywolania.back().rodzaj, Rodzaj::Blad);
  QVERIFY(!o.m.CzyZajety());
  QVERIFY(o.m.Wywolania.size() > przed);
  // The reset had run: nothing of the previous file is offered.
  QVERIFY(!o.w.StringGridBledy->isVisible());
  QVERIFY(!o.w.PanelSzczegoly->isVisible());
  QVERIFY(!o.w.ButtonZapiszNew->isEnabled());
  QVERIFY(!o.w.ButtonPokazLog->isEnabled());
  QCOMPARE(o.stan.WybranyBlad, -1);
  QCOMPARE(o.stan.NazwaPliku, sciezka);
  // The count keeps the previous check's text and colour.
  QCOMPARE(o.w.LabelIleBledow->text(), QStringLiteral("3"));
  QCOMPARE(KolorEtykiety(o.w.LabelIleBledow), QColor(255, 0, 0));
}

void TestSprawdzanie::wyborKlawiatura() {
  TOkno o;
  o.Sprawdz(o.Plik("lista.txt", kZBledami));
  auto* g = o.w.StringGridBledy;
  g->setFocus();
  const auto pokazano = [&] {
    // Each showing fills the emptied view anew.
    const bool tak = !o.w.LabelSzczegolyLiniaBlad->text().isEmpty();
    o.w.LabelSzczegolyLiniaBlad->clear();
    return tak;
  };
  o.w.LabelSzczegolyLiniaBlad->clear();

  QTest::keyClick(g, Qt::Key_Up);  // already in row 1
  QVERIFY(!pokazano());
  QTest::keyClick(g, Qt::Key_Left);  // already in "Nr linii"
  QVERIFY(!pokazano());
  QTest::keyClick(g, Qt::Key_Down);
  QVERIFY(pokazano());
  QCOMPARE(o.stan.WybranyBlad, 1);
  QTest::keyClick(g, Qt::Key_Right);  // same row: same error again
  QVERIFY(pokazano());
  QCOMPARE(o.stan.WybranyBlad, 1);
  QTest::keyClick(g, Qt::Key_Home);
  QVERIFY(pokazano());
  QCOMPARE(g->currentIndex().column(), 0);
  QTest::keyClick(g, Qt::Key_Down, Qt::ControlModifier);  // only scrolls
  QVERIFY(!pokazano());
  QCOMPARE(g->BiezacyWiersz(), 2);
  QTest::keyClick(g, Qt::Key_End, Qt::ControlModifier);
  QVERIFY(pokazano());
  QCOMPARE(o.stan.WybranyBlad, 2);
  QCOMPARE(o.w.MemoLiniaNew->toPlainText(), QStringLiteral("?abc?"));
  QTest::keyClick(g, Qt::Key_Down);  // last row
  QVERIFY(!pokazano());
  QTest::keyClick(g, Qt::Key_PageUp);
  QVERIFY(pokazano());
  QCOMPARE(o.stan.WybranyBlad, 0);
  // Typing does not jump to a row whose text starts with the key.
  QTest::keyClick(g, Qt::Key_5);
  QVERIFY(!pokazano());
  QCOMPARE(o.stan.WybranyBlad, 0);
}

void TestSprawdzanie::wyborMyszaIKolkiem() {
  TOkno o;
  o.Sprawdz(o.Plik("lista.txt", kZBledami));
  auto* g = o.w.StringGridBledy;
  QWidget* v = g->viewport();

  QTest::mouseClick(v, Qt::LeftButton, {}, SrodekKomorki(g, 3, 2));
  QCOMPARE(o.stan.WybranyBlad, 2);
  QCOMPARE(o.w.MemoLiniaNew->toPlainText(), QStringLiteral("?abc?"));

  // The press makes the cell current; the details follow the release.
  QTest::mousePress(v, Qt::LeftButton, {}, SrodekKomorki(g, 1, 1));
  QCOMPARE(g->BiezacyWiersz(), 1);
  QCOMPARE(o.stan.WybranyBlad, 2);
  QTest::mouseRelease(v, Qt::LeftButton, {}, SrodekKomorki(g, 1, 1));
  QCOMPARE(o.stan.WybranyBlad, 0);

  // With Shift the press only marks a range; the current row stays.
  QTest::mouseClick(v, Qt::LeftButton, Qt::ShiftModifier, SrodekKomorki(g, 3, 3));
  QCOMPARE(g->BiezacyWiersz(), 1);
  QCOMPARE(o.stan.WybranyBlad, 0);
  QCOMPARE(g->selectionModel()->selectedIndexes().size(), 9);

  // The "Lp" column, the header row, the right button and the space below
  // the rows do nothing.
  o.w.MemoLiniaOrg->clear();
  QTest::mouseClick(g->verticalHeader()->viewport(), Qt::LeftButton, {},
                    QPoint(5, g->rowViewportPosition(1) + 3));
  QTest::mouseClick(g->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseClick(v, Qt::RightButton, {}, SrodekKomorki(g, 2, 2));
  QTest::mouseClick(v, Qt::LeftButton, {}, QPoint(5, v->height() - 3));
  QCOMPARE(g->BiezacyWiersz(), 1);
  QVERIFY(o.w.MemoLiniaOrg->toPlainText().isEmpty());

  // A wheel notch moves one row while the list has the focus.
  o.w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&o.w));
  g->setFocus();
  QVERIFY(g->hasFocus());
  const auto kolko = [&](int delta) {
    const QPoint p = SrodekKomorki(g, 1, 1);
    QWheelEvent e(p, v->mapToGlobal(p), {}, QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(v, &e);
  };
  kolko(-120);
  QCOMPARE(o.stan.WybranyBlad, 1);
  kolko(-240);  // two notches, the second past the last row
  QCOMPARE(o.stan.WybranyBlad, 2);
  QCOMPARE(g->BiezacyWiersz(), 3);
  kolko(120);
  QCOMPARE(o.stan.WybranyBlad, 1);

  // Code that moves the current row shows its details; staying does not.
  o.w.MemoLiniaOrg->clear();
  g->UstawBiezacyWiersz(2);
  QVERIFY(o.w.MemoLiniaOrg->toPlainText().isEmpty());
  g->setCurrentIndex(g->model()->index(0, 1));
  QCOMPARE(o.stan.WybranyBlad, 0);
  QCOMPARE(o.w.MemoLiniaOrg->toPlainText(), T("x\x96y\xB7z"));
}

void TestSprawdzanie::dlugieNumery() {
  TOkno o;
  std::string tresc;
  for (int i = 0; i < 120000; ++i) tresc += i % 10 == 9 ? "\x01\n" : "a\n";
  o.Sprawdz(o.Plik("dlugi.txt", tresc));
  auto* g = o.w.StringGridBledy;
  QCOMPARE(g->model()->rowCount(), 12000);
  // Numbers wider than the layout's columns widen them rather than being
  // cut short.
  const int lp = g->verticalHeader()->fontMetrics().horizontalAdvance(QStringLiteral("12000"));
  const int nr = g->fontMetrics().horizontalAdvance(QStringLiteral("120000"));
  QVERIFY(g->verticalHeader()->width() > lp);
  QVERIFY(g->columnWidth(0) > nr);
  QVERIFY(g->verticalHeader()->width() >= o.w.Skaluj(40));
  QCOMPARE(g->columnWidth(1), o.w.Skaluj(200));
  QCOMPARE(g->model()->data(g->model()->index(11999, 0)).toString(), QStringLiteral("120000"));
}

void TestSprawdzanie::modele() {
  Typy::TStan stan;
  for (const char* l : {"ok", "a\x01", "", "b\x02\x03"}) stan.LinieOrg.push_back(l);
  stan.Bledy.DopiszLinie(1);
  stan.Bledy.DopiszLinie(2);
  stan.Bledy.DopiszLinie(3);

  ui::TModelBledow bledy(stan.Bledy);
  QAbstractItemModelTester tb(&bledy, QAbstractItemModelTester::FailureReportingMode::QtTest);
  QCOMPARE(bledy.rowCount(), 1);
  QCOMPARE(bledy.headerData(0, Qt::Vertical).toString(), QStringLiteral("Lp"));
  QCOMPARE(bledy.data(bledy.index(0, 2)).toString(), T(Cp("Błędne znaki")));
  bledy.UstawRekordy(3);
  QCOMPARE(bledy.rowCount(), 3);
  QCOMPARE(bledy.data(bledy.index(2, 0)).toString(), QStringLiteral("4"));
  QCOMPARE(bledy.data(bledy.index(2, 2)).toString(), QStringLiteral(u"\u2402,\u2403"));
  QCOMPARE(bledy.data(bledy.index(1, 1)).toString(), T(Typy::teksty::CiagPusty));
  QVERIFY(!bledy.data(bledy.index(0, 0), Qt::EditRole).isValid());
  bledy.UstawSamNaglowek();
  stan.Bledy.clear();
  QCOMPARE(bledy.rowCount(), 1);

  ui::TModelZnakow znaki;
  QAbstractItemModelTester tz(&znaki, QAbstractItemModelTester::FailureReportingMode::QtTest);
  QCOMPARE(znaki.rowCount(), 0);
  znaki.Ustaw({{'\t', 3}, {'\x8C', 10}});
  QCOMPARE(znaki.rowCount(), 2);
  QCOMPARE(znaki.data(znaki.index(0, 0)).toString(), QStringLiteral(u"\u2409"));
  QCOMPARE(znaki.data(znaki.index(1, 0)).toString(), QStringLiteral(u"\u015A"));
  QCOMPARE(znaki.data(znaki.index(1, 1)).toString(), QStringLiteral("10"));
  QCOMPARE(znaki.headerData(1, Qt::Vertical).toString(), QStringLiteral("2"));
}

namespace {

// The darkest grey of a part of a grid's picture: the colour of its text.
int NajciemniejszySzary(const QImage& obraz, const QRect& czesc) {
  int najciemniejszy = 255;
  for (int y = czesc.top(); y <= czesc.bottom(); ++y)
    for (int x = czesc.left(); x <= czesc.right(); ++x)
      najciemniejszy = std::min(najciemniejszy, qGray(obraz.pixel(x, y)));
  return najciemniejszy;
}

}  // namespace

void TestSprawdzanie::naroznikJakInneNaglowki() {
  // The corner title "Lp" is a fixed cell like the others: its text in the
  // same colour as "Nr linii" or "Znak", not greyed.
  TOkno o;
  o.Sprawdz(o.Plik("lista.txt", kZBledami));
  for (ui::TSiatka* g : {static_cast<ui::TSiatka*>(o.w.StringGridBledy), o.w.StringGridZnaki}) {
    const QImage obraz = g->grab().toImage();
    auto* rog = g->findChild<QAbstractButton*>();
    QVERIFY(rog);
    const QHeaderView* h = g->horizontalHeader();
    const QRect naglowek(h->geometry().topLeft(), QSize(h->sectionSize(0), h->height()));
    const int tekstRogu = NajciemniejszySzary(obraz, rog->geometry());
    const int tekstNaglowka = NajciemniejszySzary(obraz, naglowek);
    QVERIFY2(tekstNaglowka < 100, qPrintable(g->objectName()));
    QVERIFY2(std::abs(tekstRogu - tekstNaglowka) < 30,
             qPrintable(QStringLiteral("%1: corner %2, header %3")
                            .arg(g->objectName())
                            .arg(tekstRogu)
                            .arg(tekstNaglowka)));
  }
}

// A file named on the command line or dropped on the window is checked as
// if the open dialog had returned it: same calls, same list, same report.
void TestSprawdzanie::plikZWierszaPolecenIUpuszczony() {
  TOkno zDialogu;
  const std::string sciezka = zDialogu.Plik("lista.txt", kZBledami);
  zDialogu.Sprawdz(sciezka);
  auto wywolania = zDialogu.m.Wywolania;
  wywolania.erase(wywolania.begin());  // the open dialog's question
  QCOMPARE(zDialogu.m.Wywolania.front().rodzaj, Rodzaj::Otworz);

  const auto upusc = [&](TOkno& o, const QList<QUrl>& adresy) {
    QMimeData dane;
    dane.setUrls(adresy);
    QDragEnterEvent wejscie(QPoint(10, 10), Qt::CopyAction, &dane, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&o.w, &wejscie);
    if (!wejscie.isAccepted()) return false;
    QDropEvent upuszczenie(QPointF(10, 10), Qt::CopyAction, &dane, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&o.w, &upuszczenie);
    QCoreApplication::processEvents();
    return true;
  };
  TOkno upuszczony;
  QVERIFY(upusc(upuszczony, {QUrl::fromLocalFile(QString::fromStdString(sciezka))}));
  QCOMPARE(upuszczony.m.Wywolania, wywolania);
  QCOMPARE(upuszczony.log.RichEditLOG->Raport(), zDialogu.log.RichEditLOG->Raport());
  QCOMPARE(upuszczony.w.LabelIleBledow->text(), zDialogu.w.LabelIleBledow->text());
  // Two files, or something not a file, are not taken.
  TOkno inny;
  const QUrl plik = QUrl::fromLocalFile(QString::fromStdString(sciezka));
  QVERIFY(!upusc(inny, {plik, plik}));
  QVERIFY(!upusc(inny, {QUrl(QStringLiteral("https://bank.example/lista.txt"))}));
  QVERIFY(inny.m.Wywolania.empty());

  TOkno zPolecenia;
  zPolecenia.w.SprawdzWskazanyPlik(sciezka);
  QCOMPARE(zPolecenia.m.Wywolania, wywolania);
  // A name that is gone: the error box, as for a file the dialog returned.
  zPolecenia.w.SprawdzWskazanyPlik(zPolecenia.Sciezka("brak.txt"));
  QCOMPARE(zPolecenia.m.Teksty(Rodzaj::Blad).size(), std::size_t{1});
  // Every way of naming a file leaves it for the open dialog; a file that
  // could not be read does not.
  for (const TOkno* o : {&zDialogu, &upuszczony, &zPolecenia})
    QCOMPARE(o->m.Sprawdzone, std::vector<std::string>{sciezka});

#ifndef Q_OS_WIN
  // The command line's name: its own bytes (a Windows-1250 name too), made
  // absolute against the working folder; no name, no check.
  const std::string katalog = QFile::encodeName(QDir::currentPath()).toStdString();
  char program[] = "Tarmeko_weryfikacja_pliku";
  char wzgledna[] =
      "b\xB3\xEA"
      "dny.txt";
  char bezwzgledna[] = "/tmp/lista.txt";
  char pusta[] = "";
  const struct {
    std::vector<char*> argv;
    std::optional<std::string> plik;
  } przypadki[] = {
      {{program}, std::nullopt},
      {{program, pusta}, std::nullopt},
      {{program, wzgledna},
       katalog + "/b\xB3\xEA"
                 "dny.txt"},
      {{program, bezwzgledna}, "/tmp/lista.txt"},
  };
  for (const auto& p : przypadki) {
    auto argv = p.argv;
    QCOMPARE(TAplikacja::PlikZWierszaPolecen(static_cast<int>(argv.size()), argv.data()), p.plik);
  }
#endif
}

QTEST_MAIN(TestSprawdzanie)
#include "test_sprawdzanie.moc"
