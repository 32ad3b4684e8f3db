// The window's part of the automatic correction: the sentence and the
// button in the error list's strip, the question, the written file, the
// message and the check of the written file.
//
// With ZRZUT_EKRANU set to a path prefix, the window is also saved as
// PREFIX-po-sprawdzeniu.png and PREFIX-po-poprawce.png, to be looked at.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "OknoTestowe.h"
#include "messages/QtUserMessages.h"
#include "raport/ZapiszPoprawiony.h"
#include "typy/Teksty.h"

using Rodzaj = ui::TRecordingUserMessages::Rodzaj;

namespace {

// A payroll list as a program of today exports it: UTF-8, with a dash.
const std::string kUtf8 =
    "1;Zdzisław Mańkowski;Wynagrodzenie za październik – premia;1234,56\r\n"
    "2;Urszula Śliwińska;Zwrot kosztów podróży;210,00\r\n"
    "3;Jan Kowalski;Zaliczka\t;100,00\r\n";

}  // namespace

class TestPoprawkaKodowania : public QObject {
  Q_OBJECT
 private slots:
  void plikUtf8_zdanieIPrzyciskObokLicznika();
  void plikPoprawnyIZwykleBledy_nicNowego();
  void potwierdzenie_zapisujeSprawdzaIMowiGdzie();
  void odmowa_niczegoNieZapisuje();
  void czystyPlikCp852_wskazowkaIPoprawneLitery();
  void dwaOdczyty_uzytkownikWybiera();
};

void TestPoprawkaKodowania::plikUtf8_zdanieIPrzyciskObokLicznika() {
  test::TOkno o;
  const QRect label1 = o.w.Label1->geometry();
  const QPoint licznik = o.w.LabelIleBledow->pos();
  o.Sprawdz(o.Plik("lista.txt", kUtf8));
  test::Zrzut(o.w, "po-sprawdzeniu");

  QVERIFY(o.w.LabelKodowanie->isVisible());
  QCOMPARE(o.w.LabelKodowanie->text(),
           QStringLiteral("Plik wygląda na zapisany w kodowaniu UTF-8."));
  QVERIFY(o.w.ButtonPoprawAutomatycznie->isVisible());
  QCOMPARE(o.w.ButtonPoprawAutomatycznie->text(), QStringLiteral("Popraw automatycznie…"));
  // Nothing specified moves; the new elements sit right of the count, inside the strip.
  QCOMPARE(o.w.Label1->geometry(), label1);
  QCOMPARE(o.w.LabelIleBledow->pos(), licznik);
  QCOMPARE(o.w.LabelIleBledow->text(), QStringLiteral("3"));
  QVERIFY(o.w.LabelKodowanie->x() > o.w.LabelIleBledow->geometry().right());
  QVERIFY(o.w.ButtonPoprawAutomatycznie->x() > o.w.LabelKodowanie->geometry().right());
  QVERIFY(o.w.ButtonPoprawAutomatycznie->geometry().right() < o.w.Panel3->width());
  QVERIFY(o.w.ButtonPoprawAutomatycznie->geometry().bottom() < o.w.Panel3->height());
  QVERIFY(o.w.ButtonPoprawAutomatycznie->width() >=
          o.w.ButtonPoprawAutomatycznie->sizeHint().width());
  QVERIFY(o.w.LabelKodowanie->toolTip().isEmpty());

  // A narrow window shortens the sentence, never the button; the whole
  // sentence is still there for the pointer and a screen reader.
  o.w.resize(o.w.Skaluj(560), o.w.height());
  o.Sprawdz(o.Plik("lista.txt", kUtf8));
  const QString zdanie = QStringLiteral("Plik wygląda na zapisany w kodowaniu UTF-8.");
  QVERIFY(o.w.LabelKodowanie->text().endsWith(QStringLiteral("…")));
  QCOMPARE(o.w.LabelKodowanie->toolTip(), zdanie);
  QCOMPARE(o.w.LabelKodowanie->accessibleName(), zdanie);
  QVERIFY(o.w.ButtonPoprawAutomatycznie->width() >=
          o.w.ButtonPoprawAutomatycznie->sizeHint().width());
  QVERIFY(o.w.ButtonPoprawAutomatycznie->x() > o.w.LabelKodowanie->geometry().right());
  QVERIFY(o.w.ButtonPoprawAutomatycznie->geometry().right() < o.w.Panel3->width());
}

void TestPoprawkaKodowania::plikPoprawnyIZwykleBledy_nicNowego() {
  test::TOkno o;
  o.Sprawdz(o.Plik("lista.txt", kUtf8));
  QVERIFY(o.w.ButtonPoprawAutomatycznie->isVisible());
  // A clean file, and one whose faults are only a tab and a control byte.
  for (const std::string& bajty : {test::Cp("Zapłata\r\n"), test::Cp("Zapłata\t1\r\n\x01\r\n")}) {
    o.Sprawdz(o.Plik("inna.txt", bajty));
    QVERIFY(!o.w.LabelKodowanie->isVisible());
    QVERIFY(!o.w.ButtonPoprawAutomatycznie->isVisible());
  }
}

void TestPoprawkaKodowania::potwierdzenie_zapisujeSprawdzaIMowiGdzie() {
  test::TOkno o;
  const std::string zrodlo = o.Plik("lista.txt", kUtf8);
  o.Sprawdz(zrodlo);
  const std::size_t od = o.m.Wywolania.size();
  o.m.OdpowiedziPytanie.push_back(true);
  QString licznikPrzyDialogu;
  QColor kolorPrzyDialogu;
  o.m.PrzyDialogu = [&] {
    licznikPrzyDialogu = o.w.LabelIleBledow->text();
    kolorPrzyDialogu = o.w.LabelIleBledow->palette().color(QPalette::WindowText);
  };
  QTest::mouseClick(o.w.ButtonPoprawAutomatycznie, Qt::LeftButton);
  test::Zrzut(o.w, "po-poprawce");
  if (std::getenv("ZRZUT_EKRANU")) {
    // The real question dialog with the text asked, pictured and answered No.
    QTimer::singleShot(200, [] {
      if (QWidget* pytanie = QApplication::activeModalWidget()) {
        test::Zrzut(*pytanie, "pytanie");
        pytanie->close();
      }
    });
    ui::TQtUserMessages().Pytanie(o.m.Teksty(Rodzaj::Pytanie).back());
  }

  // The question, then one message: where the file went and what is left,
  // over the new file's count in its colour; the busy cursor off at the end.
  std::vector<Rodzaj> okna;
  for (Rodzaj r : o.Rodzaje(od))
    if (r != Rodzaj::Zajety) okna.push_back(r);
  QCOMPARE(okna, (std::vector<Rodzaj>{Rodzaj::Pytanie, Rodzaj::Komunikat}));
  QCOMPARE(licznikPrzyDialogu, QStringLiteral("1"));
  QCOMPARE(kolorPrzyDialogu, QColor(255, 0, 0));
  QVERIFY(!o.m.CzyZajety());
  const std::string pytanie = kodowanie::cp1250::ToUtf8(o.m.Teksty(Rodzaj::Pytanie).back());
  QVERIFY(pytanie.starts_with("Plik zostanie odczytany jako UTF-8"));
  QVERIFY(pytanie.find("Zmienionych znaków: 1") != std::string::npos);

  const std::string poprawiony = o.Sciezka("lista_nowy.txt");
  QCOMPARE(test::Odczytaj(zrodlo), kUtf8);
  QCOMPARE(test::Odczytaj(poprawiony),
           test::Cp("1;Zdzisław Mańkowski;Wynagrodzenie za październik - "
                    "premia;1234,56\r\n2;Urszula Śliwińska;Zwrot kosztów "
                    "podróży;210,00\r\n3;Jan Kowalski;Zaliczka\t;100,00\r\n"));
  const std::string komunikat = o.m.Teksty(Rodzaj::Komunikat).back();
  QCOMPARE(komunikat, raport::KomunikatZapisano(poprawiony) + "\r\n\r\n" +
                          test::Cp("Pozostało błędnych linii: 1"));
  // The written file is now the checked one, as if the user had chosen it.
  QCOMPARE(o.stan.NazwaPliku, poprawiony);
  // The tab is left for the user to see; the correction never guesses at structure.
  QCOMPARE(o.w.LabelIleBledow->text(), QStringLiteral("1"));
  QVERIFY(!o.w.ButtonPoprawAutomatycznie->isVisible());

  // Faulty before, clean after: the message stands over a green "0", never
  // a red one left from the source's check.
  o.Sprawdz(o.Plik("utf8.txt",
                   "Zap\xC5\x82"
                   "ata\r\n"));
  QCOMPARE(o.w.LabelIleBledow->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  o.m.OdpowiedziPytanie.push_back(true);
  QTest::mouseClick(o.w.ButtonPoprawAutomatycznie, Qt::LeftButton);
  QCOMPARE(o.m.Wywolania.back().rodzaj, Rodzaj::Komunikat);
  QCOMPARE(licznikPrzyDialogu, QStringLiteral("0"));
  QCOMPARE(kolorPrzyDialogu, QColor(0, 128, 0));
}

void TestPoprawkaKodowania::odmowa_niczegoNieZapisuje() {
  test::TOkno o;
  const std::string zrodlo = o.Plik("lista.txt", kUtf8);
  o.Sprawdz(zrodlo);
  QTest::mouseClick(o.w.ButtonPoprawAutomatycznie, Qt::LeftButton);  // the recorder answers No
  QCOMPARE(o.m.Teksty(Rodzaj::Pytanie).size(), std::size_t{1});
  QVERIFY(!QFile::exists(QString::fromStdString(o.Sciezka("lista_nowy.txt"))));
  QCOMPARE(o.stan.NazwaPliku, zrodlo);
  QVERIFY(o.w.ButtonPoprawAutomatycznie->isVisible());
}

// A DOS program's list whose only Polish letter is "ą" (A5, the Windows-1250
// "Ą") is clean to the check: the check's verdict stays, the strip says what
// the letters are, and the correction writes the right ones.
void TestPoprawkaKodowania::czystyPlikCp852_wskazowkaIPoprawneLitery() {
  test::TOkno o;
  const std::string zrodlo = o.Plik("dos.txt", "1;Przelewy wymagaj\xA5 podpisu;100,00\r\n");
  o.Sprawdz(zrodlo);
  test::Zrzut(o.w, "czysty-cp852");
  QCOMPARE(o.m.Teksty(Rodzaj::Informacja).back(), Typy::teksty::PlikPoprawny.str());
  QCOMPARE(o.w.LabelIleBledow->text(), QStringLiteral("0"));
  QVERIFY(o.w.LabelKodowanie->isVisible());
  QCOMPARE(o.w.LabelKodowanie->accessibleName(),
           QStringLiteral("Plik wygląda na zapisany w kodowaniu CP852."));
  QVERIFY(o.w.ButtonPoprawAutomatycznie->isVisible());

  o.m.OdpowiedziPytanie.push_back(true);
  // Clean after the correction: never a red count, and no outcome dialog
  // after the message, which already says nothing is left.
  QColor kolorPrzyDialogu;
  o.m.PrzyDialogu = [&] {
    kolorPrzyDialogu = o.w.LabelIleBledow->palette().color(QPalette::WindowText);
  };
  QTest::mouseClick(o.w.ButtonPoprawAutomatycznie, Qt::LeftButton);
  QCOMPARE(o.m.Wywolania.back().rodzaj, Rodzaj::Komunikat);
  QCOMPARE(kolorPrzyDialogu, QColor(0, 128, 0));
  QVERIFY(kodowanie::cp1250::ToUtf8(o.m.Teksty(Rodzaj::Pytanie).back())
              .starts_with("Plik zostanie odczytany jako CP852"));
  QCOMPARE(test::Odczytaj(o.Sciezka("dos_nowy.txt")),
           test::Cp("1;Przelewy wymagają podpisu;100,00\r\n"));
  test::Zrzut(o.w, "czysty-cp852-po-poprawce");
  QVERIFY(!o.w.ButtonPoprawAutomatycznie->isVisible());
}

// Two readings as likely: the button offers each in turn; a No to both
// writes nothing. A clean file's Windows-1250 reading is no correction. (A
// DOS "ą" in a word, which Windows-1250 reads "wymagajĄ", against two "ś"
// that DOS reads "ť"; "MAĆKOWIAK" is a Polish name either way.)
void TestPoprawkaKodowania::dwaOdczyty_uzytkownikWybiera() {
  test::TOkno o;
  const std::string zrodlo = o.Plik("blisko.txt",
                                    "1;Przelewy wymagaj\xA5 podpisu;100,00\r\n"
                                    "2;Ko\x9Cmider Jan;Kra\x9Cnik\r\n"
                                    "3;MA\x8FKOWIAK;100,00\r\n");
  o.Sprawdz(zrodlo);
  test::Zrzut(o.w, "dwa-odczyty");
  QCOMPARE(o.w.LabelKodowanie->accessibleName(),
           QStringLiteral("Kodowanie pliku: Windows-1250 albo CP852."));
  // There is room for it whole: a sentence is shortened only when it must be.
  QCOMPARE(o.w.LabelKodowanie->text(), o.w.LabelKodowanie->accessibleName());
  QTest::mouseClick(o.w.ButtonPoprawAutomatycznie, Qt::LeftButton);  // No
  QCOMPARE(o.m.Teksty(Rodzaj::Pytanie).size(), std::size_t{1});
  QVERIFY(kodowanie::cp1250::ToUtf8(o.m.Teksty(Rodzaj::Pytanie).back())
              .starts_with("Nie da się rozstrzygnąć, czy plik jest zapisany w kodowaniu CP852, "
                           "czy Windows-1250."));
  QVERIFY(!QFile::exists(QString::fromStdString(o.Sciezka("blisko_nowy.txt"))));

  // "MAĆKOWIAK" with a tab: a faulty file, where both readings are
  // corrections; the second is taken.
  o.Sprawdz(o.Plik("blisko2.txt", "MA\x8FKOWIAK\t100,00\r\n"));
  o.m.OdpowiedziPytanie.push_back(false);
  o.m.OdpowiedziPytanie.push_back(true);
  QTest::mouseClick(o.w.ButtonPoprawAutomatycznie, Qt::LeftButton);
  QVERIFY(
      kodowanie::cp1250::ToUtf8(o.m.Teksty(Rodzaj::Pytanie).back()).find("odczytany jako CP852") !=
      std::string::npos);
  QCOMPARE(test::Odczytaj(o.Sciezka("blisko2_nowy.txt")), std::string("MA\xC6KOWIAK\t100,00\r\n"));
}

QTEST_MAIN(TestPoprawkaKodowania)
#include "test_poprawka_kodowania.moc"
