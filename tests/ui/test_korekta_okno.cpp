// Character correction and the corrected file as the user does them in the
// main window: picking a position in the corrected line by mouse and keys,
// confirming a new character, refused positions, and saving.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <filesystem>

#include "OknoTestowe.h"
#include "raport/ZapiszPoprawiony.h"
#include "typy/Teksty.h"
#include "typy/Typy.h"

using namespace test;
using Rodzaj = ui::TRecordingUserMessages::Rodzaj;

namespace {

// Clicks on the character at a 0-based offset of the corrected line.
void KliknijZnak(TFormGlow& w, int offset) {
  QTextCursor c(w.MemoLiniaNew->document());
  c.setPosition(offset);
  const QRect r = w.MemoLiniaNew->cursorRect(c);
  QTest::mouseClick(w.MemoLiniaNew->viewport(), Qt::LeftButton, {},
                    QPoint(r.left() + 2, r.center().y()));
}

void Wpisz(TFormGlow& w, const QString& znak) {
  w.EditZnakNew->clear();
  w.EditZnakNew->insert(znak);  // as typing or a paste does
}

std::string Zawartosc(const std::string& sciezka) {
  std::ifstream f(sciezka, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

}  // namespace

class TestKorektaOkno : public QObject {
  Q_OBJECT

 private slots:
  void wyborPozycji();
  void zatwierdzanie();
  void poleNowegoZnaku();
  void zapisPoprawionego();
  void zapisNieudany();
};

void TestKorektaOkno::wyborPozycji() {
  TOkno o;
  o.Sprawdz(o.Plik("lista.txt", kZBledami));
  auto& w = o.w;

  KliknijZnak(w, 1);
  QCOMPARE(o.stan.WybranaPozycja, 2);
  QCOMPARE(w.EditZnakOrg->text(), T("\x96"));
  QCOMPARE(w.EditZnakNew->text(), QStringLiteral("?"));

  // Each key released in the view picks where the caret now stands.
  QTest::keyClick(w.MemoLiniaNew, Qt::Key_Right);
  QCOMPARE(o.stan.WybranaPozycja, 3);
  QCOMPARE(w.EditZnakOrg->text(), QStringLiteral("y"));
  QCOMPARE(w.EditZnakNew->text(), QStringLiteral("y"));
  QTest::keyClick(w.MemoLiniaNew, Qt::Key_Right);
  QCOMPARE(w.EditZnakOrg->text(), T("\xB7"));

  // With text selected, the first selected position counts.
  QTest::keyClick(w.MemoLiniaNew, Qt::Key_Left, Qt::ShiftModifier);
  QTest::keyClick(w.MemoLiniaNew, Qt::Key_Left, Qt::ShiftModifier);
  QCOMPARE(o.stan.WybranaPozycja, 2);

  // A click inside the selection drops it there and picks the clicked
  // character, not the selection's old start.
  KliknijZnak(w, 3);
  QCOMPARE(w.MemoLiniaNew->textCursor().position(), 3);
  QCOMPARE(o.stan.WybranaPozycja, 4);

  // After the last byte there is no character: both fields empty.
  QTest::keyClick(w.MemoLiniaNew, Qt::Key_End);
  QCOMPARE(o.stan.WybranaPozycja, 6);
  QVERIFY(w.EditZnakOrg->text().isEmpty());
  QVERIFY(w.EditZnakNew->text().isEmpty());

  // A control byte shows as its picture, at its own offset.
  w.StringGridBledy->UstawBiezacyWiersz(3);
  KliknijZnak(w, 4);
  QCOMPARE(o.stan.WybranaPozycja, 5);
  QCOMPARE(w.EditZnakOrg->text(), QStringLiteral(u"\u2421"));
  QCOMPARE(w.EditZnakNew->text(), QStringLiteral("?"));
}

void TestKorektaOkno::zatwierdzanie() {
  TOkno o;
  o.Sprawdz(o.Plik("lista.txt", kZBledami));
  auto& w = o.w;
  const std::string raport = o.log.RichEditLOG->Raport();
  const std::size_t przed = o.m.Wywolania.size();

  KliknijZnak(w, 1);
  Wpisz(w, QStringLiteral(u"ą"));
  QTest::mouseClick(w.BitBtn1, Qt::LeftButton);
  QCOMPARE(w.MemoLiniaNew->toPlainText(), QStringLiteral(u"xąy?z"));
  QCOMPARE(o.stan.LinieNew[1], "x\xB9y?z");
  // The caret stays at the picked place; the fields keep their texts.
  QCOMPARE(w.MemoLiniaNew->textCursor().position(), 1);
  QCOMPARE(w.EditZnakNew->text(), QStringLiteral(u"ą"));

  // Again at the same position: the second character stays.
  Wpisz(w, QStringLiteral("B"));
  QTest::keyClick(w.EditZnakNew, Qt::Key_Return);  // the default button
  QCOMPARE(o.stan.LinieNew[1], "xBy?z");

  // A control picture puts in its control byte; "?" goes in as it is.
  QTest::keyClick(w.MemoLiniaNew, Qt::Key_Right);
  QTest::keyClick(w.MemoLiniaNew, Qt::Key_Right);
  QCOMPARE(o.stan.WybranaPozycja, 4);
  Wpisz(w, QStringLiteral(u"\u2409"));
  QTest::mouseClick(w.BitBtn1, Qt::LeftButton);
  QCOMPARE(o.stan.LinieNew[1], "xBy\tz");
  QCOMPARE(w.MemoLiniaNew->toPlainText(), QStringLiteral(u"xBy\u2409z"));

  // An empty field changes nothing.
  w.EditZnakNew->clear();
  QTest::mouseClick(w.BitBtn1, Qt::LeftButton);
  QCOMPARE(o.stan.LinieNew[1], "xBy\tz");
  QVERIFY(o.m.Teksty(Rodzaj::Komunikat).empty());

  // A byte that is not faulty in the line as read is refused.
  KliknijZnak(w, 0);
  QCOMPARE(w.EditZnakNew->text(), QStringLiteral("x"));
  Wpisz(w, QStringLiteral("Q"));
  QTest::mouseClick(w.BitBtn1, Qt::LeftButton);
  QCOMPARE(o.m.Teksty(Rodzaj::Komunikat),
           std::vector<std::string>{Typy::teksty::TylkoBledneZnaki.str()});
  QCOMPARE(o.stan.LinieNew[1], "xBy\tz");

  // A pick kept from line 5 (position 5) in another error's line: position
  // 5 of line 2 is "z", not faulty, so refused; in line 5 it is taken.
  w.StringGridBledy->UstawBiezacyWiersz(3);
  KliknijZnak(w, 4);
  w.StringGridBledy->UstawBiezacyWiersz(1);
  Wpisz(w, QStringLiteral("!"));
  QTest::mouseClick(w.BitBtn1, Qt::LeftButton);
  QCOMPARE(o.m.Teksty(Rodzaj::Komunikat).size(), std::size_t{2});
  QCOMPARE(o.stan.LinieNew[1], "xBy\tz");
  w.StringGridBledy->UstawBiezacyWiersz(3);
  QTest::mouseClick(w.BitBtn1, Qt::LeftButton);
  QCOMPARE(o.stan.LinieNew[4], "?abc!");

  // The list and the report keep describing the file as read.
  QCOMPARE(w.StringGridBledy->model()->data(w.StringGridBledy->model()->index(0, 2)).toString(),
           T("\x96,\xB7"));
  QCOMPARE(o.log.RichEditLOG->Raport(), raport);
  // Nothing but the two refusals was said.
  for (std::size_t i = przed; i < o.m.Wywolania.size(); ++i)
    QCOMPARE(o.m.Wywolania[i].rodzaj, Rodzaj::Komunikat);
}

void TestKorektaOkno::poleNowegoZnaku() {
  TOkno o;
  QLineEdit* e = o.w.EditZnakNew;
  const struct {
    const char16_t* tekst;
    bool przyjety;
  } przypadki[] = {
      {u"ż", true},           {u"€", true},       {u"\u2400", true},   // NUL's picture
      {u"\u2421", true},      {u"?", true},       {u"\u2192", false},  // an arrow
      {u"\U0001F600", false}, {u"\u0430", false},                      // Cyrillic a
  };
  for (const auto& p : przypadki) {
    e->clear();
    e->insert(QString::fromUtf16(p.tekst));
    QVERIFY2(e->text().isEmpty() != p.przyjety, qPrintable(QString::fromUtf16(p.tekst)));
  }
}

void TestKorektaOkno::zapisPoprawionego() {
  TOkno o;
  const std::string zrodlo = o.Plik("lista.txt", kZBledami);
  o.Sprawdz(zrodlo);
  KliknijZnak(o.w, 3);
  Wpisz(o.w, QStringLiteral(u"ś"));
  QTest::mouseClick(o.w.BitBtn1, Qt::LeftButton);

  const std::size_t przed = o.m.Wywolania.size();
  QTest::mouseClick(o.w.ButtonZapiszNew, Qt::LeftButton);
  const std::string nowy = o.Sciezka("lista_nowy.txt");
  const std::string oczekiwane = "Ala ma kota\r\nx?y\x9Cz\r\n\r\n" + Cp("zażółć") + "\r\n?abc?\r\n";
  QCOMPARE(Zawartosc(nowy), oczekiwane);
  QCOMPARE(Zawartosc(zrodlo), kZBledami);
  const std::string komunikat = Cp("Zmieniony zbiór zapisano do pliku o nazwie ") +
                                std::filesystem::absolute(nowy).string() +
                                Cp(" w tym samym katalogu co zbiór źródłowy");
  const std::vector<ui::TRecordingUserMessages::Wywolanie> wywolania(
      o.m.Wywolania.begin() + static_cast<std::ptrdiff_t>(przed), o.m.Wywolania.end());
  const std::vector<ui::TRecordingUserMessages::Wywolanie> spodziewane{
      {Rodzaj::Zajety, "1"}, {Rodzaj::Komunikat, komunikat}, {Rodzaj::Zajety, "0"}};
  QCOMPARE(wywolania, spodziewane);

  // Saving again replaces the file with the lines as they stand now.
  KliknijZnak(o.w, 1);
  Wpisz(o.w, QStringLiteral("-"));
  QTest::mouseClick(o.w.BitBtn1, Qt::LeftButton);
  QTest::mouseClick(o.w.ButtonZapiszNew, Qt::LeftButton);
  QCOMPARE(Zawartosc(nowy), "Ala ma kota\r\nx-y\x9Cz\r\n\r\n" + Cp("zażółć") + "\r\n?abc?\r\n");

  // An empty file gives no lines: the save does nothing at all.
  o.Sprawdz(o.Plik("pusty.txt", ""));
  const std::size_t poPustym = o.m.Wywolania.size();
  o.w.ButtonZapiszNewClick(o.w.ButtonZapiszNew);
  QCOMPARE(o.m.Wywolania.size(), poPustym);
  QVERIFY(!std::filesystem::exists(o.Sciezka("pusty_nowy.txt")));
}

void TestKorektaOkno::zapisNieudany() {
  TOkno o;
  const std::string zrodlo = o.Plik("lista.txt", kZBledami);
  o.Sprawdz(zrodlo);
  // A folder holds the corrected file's name: the save fails and says so.
  std::filesystem::create_directory(o.Sciezka("lista_nowy.txt"));
  const std::size_t przed = o.m.Wywolania.size();
  QTest::mouseClick(o.w.ButtonZapiszNew, Qt::LeftButton);
  QCOMPARE(o.m.Teksty(Rodzaj::Blad).size(), std::size_t{1});
  QVERIFY(o.m.Teksty(Rodzaj::Komunikat).empty());
  QVERIFY(!o.m.CzyZajety());
  QCOMPARE(o.m.Wywolania.back().rodzaj, Rodzaj::Blad);
  QVERIFY(o.m.Wywolania.size() > przed);
  QVERIFY(std::filesystem::is_directory(o.Sciezka("lista_nowy.txt")));
  QCOMPARE(Zawartosc(zrodlo), kZBledami);
}

QTEST_MAIN(TestKorektaOkno)
#include "test_korekta_okno.moc"
