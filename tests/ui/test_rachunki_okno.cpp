// The window's part of the account and field checks: the count and the
// "Pokaż…" button in the list strip after the outcome, never moving what
// the strip already holds; the question after the outcome dialog that opens
// the list; the list of findings and warnings with its line, copying and
// keys, and the sums above it.
//
// With ZRZUT_EKRANU set to a path prefix, the main window and the list are
// also saved as PREFIX-rachunki.png and PREFIX-lista-rachunkow.png.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

#include "OknoTestowe.h"
#include "Settings.h"
#include "okno_rachunkow/FormRachunki.h"
#include "rachunki/WykazBankow.h"
#include "typy/Teksty.h"

using Rodzaj = ui::TRecordingUserMessages::Rodzaj;

namespace {

std::string Przyklad(const char* nazwa) {
  return test::Odczytaj(std::string(EXAMPLES_DIR) + "/" + nazwa);
}

// Runs `krok` with the list window once it shows, then closes it with Esc.
void ZOknemListy(test::TOkno& o, const std::function<void(TFormRachunki&)>& krok) {
  bool bylo = false;
  QTimer::singleShot(0, &o.w, [&] {
    TFormRachunki* f = o.w.FormRachunki();
    QVERIFY(f && f->isVisible());
    krok(*f);
    bylo = true;
    QTest::keyClick(f->ListaUwag, Qt::Key_Escape);
  });
  QTest::mouseClick(o.w.ButtonPokazRachunki, Qt::LeftButton);
  QVERIFY(bylo);
  QVERIFY(!o.w.FormRachunki()->isVisible());
}

}  // namespace

class TestRachunkiOkno : public QObject {
  Q_OBJECT
 private slots:
  void tylkoRachunki_ocenaZnakowPotemPasek();
  void listaUwag_wierszeLiniaKopiowanieKlawisze();
  void bledneZnakiIRachunki_paskiObokSiebie();
  void poprawnaLista_sumaBezPytania();
  void pytanieTak_otwieraListeZSumaIOstrzezeniami();
  void wykazBankow_nazwyINowszyWykazZapamietany();
};

void TestRachunkiOkno::tylkoRachunki_ocenaZnakowPotemPasek() {
  test::TOkno o;
  const QRect label1 = o.w.Label1->geometry();
  const QPoint licznik = o.w.LabelIleBledow->pos();
  bool paskaPrzyDialogu = true;
  o.m.PrzyDialogu = [&] { paskaPrzyDialogu = o.w.LabelRachunki->isVisible(); };
  o.Sprawdz(o.Plik("zlecenia.txt", Przyklad("zlecenia-bledne.txt")));
  test::Zrzut(o.w, "rachunki");

  // The characters' outcome as for any clean file, then the strip.
  QCOMPARE(o.m.Teksty(Rodzaj::Informacja),
           std::vector<std::string>{Typy::teksty::PlikPoprawny.str()});
  QVERIFY(!paskaPrzyDialogu);
  QCOMPARE(o.w.LabelIleBledow->text(), QStringLiteral("0"));
  QCOMPARE(o.w.LabelIleBledow->palette().color(QPalette::WindowText), QColor(0, 128, 0));
  QVERIFY(!o.w.ButtonZapiszNew->isEnabled());

  QVERIFY(o.w.LabelRachunki->isVisible());
  QCOMPARE(o.w.LabelRachunki->text(),
           test::T(test::Cp("Błędne numery rachunków i pola przelewów: 4")));
  QCOMPARE(o.w.LabelRachunki->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  QVERIFY(o.w.ButtonPokazRachunki->isVisible());
  QCOMPARE(o.w.ButtonPokazRachunki->text(), test::T(test::Cp("Pokaż…")));
  // Right of the count, the button right of the text, all inside the strip;
  // nothing specified has moved.
  QVERIFY(o.w.LabelRachunki->x() > o.w.LabelIleBledow->geometry().right());
  QVERIFY(o.w.ButtonPokazRachunki->x() > o.w.LabelRachunki->geometry().right());
  QVERIFY(o.w.ButtonPokazRachunki->geometry().right() < o.w.Panel3->width());
  QVERIFY(
      o.w.ButtonPokazRachunki->width() >=
      o.w.ButtonPokazRachunki->fontMetrics().horizontalAdvance(o.w.ButtonPokazRachunki->text()));
  QCOMPARE(o.w.Label1->geometry(), label1);
  QCOMPARE(o.w.LabelIleBledow->pos(), licznik);
  // Right after the outcome dialog, the question that opens the list
  // (answered No here: the strip stays).
  QCOMPARE(o.Rodzaje().back(), Rodzaj::Pytanie);
  QVERIFY(o.m.Wywolania.back().tekst.starts_with(
      test::Cp("W pliku są błędne numery rachunków lub pola przelewów: 4.")));
  QVERIFY(!o.w.FormRachunki() || !o.w.FormRachunki()->isVisible());

  // The next check starts without the findings: a good list shows its sum.
  o.Sprawdz(o.Plik("dobra.txt", Przyklad("zlecenia.txt")));
  QVERIFY(o.w.LabelRachunki->text().startsWith(QStringLiteral("Przelewów: 6, razem: ")));
  QVERIFY(o.w.LabelRachunki->palette().color(QPalette::WindowText) != QColor(255, 0, 0));
}

void TestRachunkiOkno::listaUwag_wierszeLiniaKopiowanieKlawisze() {
  test::TOkno o;
  const std::string plik = Przyklad("zlecenia-bledne.txt");
  o.Sprawdz(o.Plik("zlecenia.txt", plik));
  ZOknemListy(o, [&](TFormRachunki& f) {
    test::Zrzut(f, "lista-rachunkow");
    QAbstractItemModel* m = f.ListaUwag->model();
    QCOMPARE(m->rowCount(), 4);
    const char* const oczekiwane[4][3] = {{"1", "62", "78102052262664737828830069"},
                                          {"2", "62", "73109010141623306697058715"},
                                          {"3", "182", "11402005"},
                                          {"4", "14", "5020,00"}};
    for (int w = 0; w < 4; ++w) {
      QCOMPARE(m->data(m->index(w, 0)).toString(), QString::fromUtf8(oczekiwane[w][0]));
      QCOMPARE(m->data(m->index(w, 1)).toString(), QString::fromUtf8(oczekiwane[w][1]));
      QCOMPARE(m->data(m->index(w, 4)).toString(), QString::fromUtf8(oczekiwane[w][2]));
    }
    QCOMPARE(m->data(m->index(3, 2)).toString(), QStringLiteral("kwota"));

    // The first row is selected, its whole line below; the keys move on.
    QCOMPARE(f.ListaUwag->currentIndex().row(), 0);
    QCOMPARE(f.MemoLinia->toPlainText(), test::T(plik.substr(0, plik.find('\r'))));
    QCOMPARE(f.LabelLinia->text(),
             test::T(test::Cp("Linia nr 1, kolumna 62, bank: Powszechna Kasa Oszczędności Bank "
                              "Polski Spółka Akcyjna")));
    for (int i = 0; i < 3; ++i) QTest::keyClick(f.ListaUwag, Qt::Key_Down);
    QCOMPARE(f.LabelLinia->text(), QStringLiteral("Linia nr 4, kolumna 14"));
    QCOMPARE(f.MemoLinia->textCursor().position(), 13);

    // Ctrl+C copies the selected rows with a header; with all selected,
    // every row.
    QTest::keyClick(f.ListaUwag, Qt::Key_C, Qt::ControlModifier);
    QStringList linie = QGuiApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(linie.size(), 2);
    QVERIFY(linie[1].startsWith(QStringLiteral("4\t14\tkwota\t")));
    QVERIFY(linie[1].endsWith(QStringLiteral("\t5020,00\t")));
    QTest::keyClick(f.ListaUwag, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(f.ListaUwag, Qt::Key_C, Qt::ControlModifier);
    linie = QGuiApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(linie.size(), 5);
  });
  // Opened again, it shows the same from its first row.
  ZOknemListy(o, [](TFormRachunki& f) { QCOMPARE(f.ListaUwag->currentIndex().row(), 0); });
}

void TestRachunkiOkno::bledneZnakiIRachunki_paskiObokSiebie() {
  test::TOkno o;
  // UTF-8 letters (the encoding hint) and a mistyped account number.
  const std::string plik =
      "1;Zdzisław Mańkowski;PL61 1090 1014 0000 0712 1981 2875;1234,56\r\n"
      "2;Urszula Śliwińska;Zwrot kosztów podróży;210,00\r\n";
  o.Sprawdz(o.Plik("lista.txt", plik));
  test::Zrzut(o.w, "rachunki-i-kodowanie");
  const auto rodzaje = o.Rodzaje();
  QCOMPARE(std::vector(rodzaje.end() - 2, rodzaje.end()),
           (std::vector{Rodzaj::Ostrzezenie, Rodzaj::Pytanie}));
  QCOMPARE(o.w.LabelIleBledow->text(), QStringLiteral("2"));
  QVERIFY(o.w.LabelRachunki->isVisible());
  // A strip too short for both sentences shortens them, never the count.
  QVERIFY(o.w.LabelRachunki->text().endsWith(QStringLiteral(": 1")));
  QCOMPARE(o.w.LabelRachunki->accessibleName(),
           test::T(test::Cp("Błędne numery rachunków i pola przelewów: 1")));
  if (o.w.ButtonPoprawAutomatycznie->isVisible())
    QVERIFY(o.w.LabelRachunki->x() > o.w.ButtonPoprawAutomatycznie->geometry().right());
  QVERIFY(o.w.ButtonPokazRachunki->geometry().right() < o.w.Panel3->width());
}

void TestRachunkiOkno::poprawnaLista_sumaBezPytania() {
  test::TOkno o;
  o.Sprawdz(o.Plik("dobra.txt", Przyklad("zlecenia.txt")));
  QCOMPARE(o.m.Teksty(Rodzaj::Informacja),
           std::vector<std::string>{Typy::teksty::PlikPoprawny.str()});
  QCOMPARE(o.Rodzaje().back(), Rodzaj::Informacja);  // nothing to ask about
  QVERIFY(o.w.LabelRachunki->isVisible());
  QVERIFY(o.w.ButtonPokazRachunki->isVisible());
  ZOknemListy(o, [](TFormRachunki& f) {
    QCOMPARE(f.ListaUwag->model()->rowCount(), 0);
    QVERIFY(f.MemoPodsumowanie->isVisible());
  });
  // A file of no transfers has nothing to show.
  o.Sprawdz(o.Plik("tekst.txt", test::Cp("Ala ma kota\r\n")));
  QVERIFY(!o.w.LabelRachunki->isVisible());
  QVERIFY(!o.w.ButtonPokazRachunki->isVisible());
}

void TestRachunkiOkno::pytanieTak_otwieraListeZSumaIOstrzezeniami() {
  test::TOkno o;
  // The wrong list with its fifth transfer, a right one, written again at
  // the end.
  std::string plik = Przyklad("zlecenia-bledne.txt");
  std::size_t piata = 0;
  for (int i = 0; i < 4; ++i) piata = plik.find("\r\n", piata) + 2;
  plik += plik.substr(piata, plik.find("\r\n", piata) + 2 - piata);
  const int linii = static_cast<int>(std::count(plik.begin(), plik.end(), '\n'));
  o.m.OdpowiedziPytanie.push_back(true);
  bool bylo = false;
  QTimer::singleShot(0, &o.w, [&] {
    TFormRachunki* f = o.w.FormRachunki();
    QVERIFY(f && f->isVisible());
    // Closed whatever is found, or the check would never return.
    const std::unique_ptr<TFormRachunki, void (*)(TFormRachunki*)> zamknij(
        f, [](TFormRachunki* x) { QTest::keyClick(x->ListaUwag, Qt::Key_Escape); });
    test::Zrzut(*f, "lista-z-suma");
    // The sum above the list, as the checker prints it.
    QVERIFY(f->MemoPodsumowanie->isVisible());
    QVERIFY(f->MemoPodsumowanie->geometry().bottom() < f->Panel1->geometry().top());
    const QString suma = f->MemoPodsumowanie->toPlainText();
    QVERIFY(suma.startsWith(QStringLiteral("Przelewów: ") + QString::number(linii)));
    QVERIFY(suma.contains(test::T(test::Cp("Ostrzeżenia: 1"))));
    // The findings and, in its line's place, the warning naming the first.
    QAbstractItemModel* m = f->ListaUwag->model();
    QCOMPARE(m->rowCount(), 5);
    const int w = m->rowCount() - 1;
    QCOMPARE(m->data(m->index(w, 0)).toString(), QString::number(linii));
    QCOMPARE(m->data(m->index(w, 3)).toString(),
             test::T(test::Cp("ostrzeżenie: ten sam przelew co w linii 5")));
    QCOMPARE(m->data(m->index(w, 0), Qt::ForegroundRole).value<QColor>(), QColor(176, 88, 0));
    bylo = true;
  });
  o.Sprawdz(o.Plik("zlecenia.txt", plik));
  QVERIFY(bylo);
  QCOMPARE(o.w.LabelRachunki->accessibleName(),
           test::T(test::Cp("Błędne numery rachunków i pola przelewów: 4, ostrzeżenia: 1")));
}

void TestRachunkiOkno::wykazBankow_nazwyINowszyWykazZapamietany() {
  test::TOkno o;
  ui::TSettings ustawienia(QString::fromStdString(o.Sciezka("ustawienia.ini")));
  o.w.UzyjUstawien(&ustawienia);
  o.Sprawdz(o.Plik("zlecenia.txt", Przyklad("zlecenia-bledne.txt")));
  // A newer list naming only two banks: every other sort code of the file,
  // the payer's among them, is no longer a bank's.
  const std::string wykaz =
      o.Plik("wykaz.json",
             "{\"date\": \"2027-01-31\", \"entries\": [{\"name\": \"Bank \\u0141\\u00f3d\\u017a\", "
             "\"bank_codes\": [\"10205226\", \"10901014\"]}]}");
  ZOknemListy(o, [&](TFormRachunki& f) {
    QAbstractItemModel* m = f.ListaUwag->model();
    QCOMPARE(m->headerData(5, Qt::Horizontal).toString(), QStringLiteral("Bank"));
    QCOMPARE(m->data(m->index(0, 5)).toString(),
             test::T(test::Cp("Powszechna Kasa Oszczędności Bank Polski Spółka Akcyjna")));
    QCOMPARE(m->data(m->index(3, 5)).toString(), QString());
    QVERIFY(f.LabelLinia->text().endsWith(
        test::T(test::Cp("bank: Powszechna Kasa Oszczędności Bank Polski Spółka Akcyjna"))));
    QCOMPARE(f.LabelWykaz->text(), test::T(test::Cp("Wykaz banków NBP: stan na 02.07.2026")));
    // The bank column, scrolled into view.
    f.ListaUwag->scrollTo(m->index(0, 5));
    test::Zrzut(f, "lista-rachunkow-banki");
    QVERIFY(f.ButtonWykaz->isVisible());
    QVERIFY(f.ButtonWykaz->geometry().right() < f.LabelWykaz->x());
    QVERIFY(f.LabelWykaz->geometry().right() < f.ButtonZamknij->x());

    o.m.OdpowiedziOtworz.push_back(wykaz);
    QTest::mouseClick(f.ButtonWykaz, Qt::LeftButton);
    test::Zrzut(f, "lista-rachunkow-wykaz");
    QCOMPARE(f.LabelWykaz->text(), test::T(test::Cp("Wykaz banków NBP: stan na 31.01.2027")));
    // The payer's account now comes first, its bank unknown to the list.
    QCOMPARE(m->data(m->index(0, 1)).toString(), QStringLiteral("33"));
    QCOMPARE(m->data(m->index(0, 5)).toString(), QString());
    QCOMPARE(m->data(m->index(1, 5)).toString(), test::T(test::Cp("Bank Łódź")));
    QVERIFY(m->rowCount() > 4);
    QCOMPARE(o.w.LabelRachunki->accessibleName(),
             test::T(test::Cp("Błędne numery rachunków i pola przelewów: ") +
                     std::to_string(m->rowCount())));
  });
  QCOMPARE(ustawienia.WykazBankow(), wykaz);

  // The next start takes it again; a list gone since is told, and the
  // built-in one checks.
  rachunki::UzyjWykazuBankow(nullptr);
  test::TOkno druga;
  druga.w.UzyjUstawien(&ustawienia);
  QCOMPARE(druga.w.Zasady().wykaz->Data(), std::string("31.01.2027"));
  QFile::remove(QString::fromStdString(wykaz));
  rachunki::UzyjWykazuBankow(nullptr);
  test::TOkno trzecia;
  trzecia.w.UzyjUstawien(&ustawienia);
  QCOMPARE(trzecia.Rodzaje(), std::vector{Rodzaj::Ostrzezenie});
  QVERIFY(!trzecia.w.Zasady().wykaz);
  QCOMPARE(&rachunki::WykazBankow(), &rachunki::TWykazBankow::Wbudowany());
  rachunki::UzyjWykazuBankow(nullptr);
}

QTEST_MAIN(TestRachunkiOkno)
#include "test_rachunki_okno.moc"
