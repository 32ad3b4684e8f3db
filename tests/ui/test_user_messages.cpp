// The message facility: the title and error-box rules, the dialogs' layout
// and clipboard text, the busy cursor, and the real dialogs driven from a
// timer so nothing waits for a person.
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <stdexcept>

#include "Cp1250Text.h"
#include "GeometriaOkna.h"
#include "QtTranslation.h"
#include "RecordingUserMessages.h"
#include "Settings.h"
#include "kodowanie/Cp1250.h"
#include "messages/AppTitle.h"
#include "messages/BusyCursor.h"
#include "messages/ErrorBoundary.h"
#include "messages/MessageLayout.h"
#include "messages/OknoKomunikatu.h"
#include "messages/QtUserMessages.h"
#include "platform/InOutError.h"

using namespace ui;
using Typy::bledy::TekstBledu;

namespace {

// Runs `f` on the modal window that opens next, once the nested event loop
// is running. A window that `f` left open, a failed check among the
// reasons, is closed so the test never hangs.
void NaOknieModalnym(std::function<void(QWidget*)> f) {
  QTimer::singleShot(0, qApp, [f] {
    QWidget* okno = QApplication::activeModalWidget();
    QVERIFY(okno);
    QPointer<QWidget> straznik(okno);
    f(okno);
    if (straznik && straznik->isVisible()) straznik->close();
  });
}

// The names of a window's parts as assistive technology reads them, in
// the order it walks them; parts without a name are left out.
QStringList TekstyDostepne(QWidget* okno) {
  QStringList teksty;
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(okno);
  for (int i = 0; a && i < a->childCount(); ++i) {
    const QString nazwa = a->child(i)->text(QAccessible::Name);
    if (!nazwa.isEmpty()) teksty.push_back(nazwa);
  }
  return teksty;
}

std::string S(const QString& s) {
  return DoCp1250(s);
}

}  // namespace

class TestUserMessages : public QObject {
  Q_OBJECT

 private slots:
  void tytulZNazwyPliku();
  void kropkaWOknieBledu();
  void tekstDoSchowka();
  void ukladKomunikatu();
  void kursorJednoUstawienie();
  void kursorPrzyOknieModalnym();
  void strazZamieniaWyjatkiNaOknoBledu();
  void prawdziweOknaKomunikatow();
  void prawdziweOknoBledu();
  void dialogOtwarciaPokazujeMaleLiteryIPamieta();
  void dialogOtwarciaZaczynaPrzyPlikachUzytkownika();
  // Last: the translation stays installed for the rest of the process.
  void tlumaczenieQtNieZmieniaTekstowProgramu();
};

void TestUserMessages::tytulZNazwyPliku() {
  QCOMPARE(TytulZeSciezki("/opt/bank/Tarmeko_weryfikacja_pliku"), "Tarmeko_weryfikacja_pliku");
  QCOMPARE(TytulZeSciezki("/opt/bank/Tarmeko_weryfikacja_pliku.exe"), "Tarmeko_weryfikacja_pliku");
  // Several dots: the part before the first one; dots in folders do not count.
  QCOMPARE(TytulZeSciezki("/home/a.b/prog.v2.final.bin"), "prog");
  // All capitals: the first letter stays, the rest go down, Polish ones too.
  QCOMPARE(TytulZeSciezki("/x/WERYFIKACJA.EXE"), "Weryfikacja");
  constexpr kodowanie::cp1250::Literal lodz{u8"/x/ŁÓDŹ_ŚĆ.EXE"};
  constexpr kodowanie::cp1250::Literal oczekiwany{u8"Łódź_ść"};
  QCOMPARE(TytulZeSciezki(lodz.view()), oczekiwany.str());
  // A first character that is a lower-case letter stays as it is.
  QCOMPARE(TytulZeSciezki("aBC"), "abc");
  QCOMPARE(TytulZeSciezki("/x/.ukryty"), "");
}

void TestUserMessages::kropkaWOknieBledu() {
  QCOMPARE(TekstBledu("File not found"), "File not found.");
  QCOMPARE(TekstBledu("Cannot create file:"), "Cannot create file:.");
  QCOMPARE(TekstBledu("Done."), "Done.");
  QCOMPARE(TekstBledu("Stop!"), "Stop!");
  QCOMPARE(TekstBledu("(code 5)"), "(code 5)");
  QCOMPARE(TekstBledu("I/O error 5"), "I/O error 5.");  // digits sort after "."
  QCOMPARE(TekstBledu("a-"), "a-");                     // "-" sorts before "."
  QCOMPARE(TekstBledu(""), "");
  // A Polish letter is a byte above 0x7F and so sorts after ".".
  constexpr kodowanie::cp1250::Literal zl{u8"błąd"};
  QCOMPARE(TekstBledu(zl.str()), zl.str() + ".");
}

void TestUserMessages::tekstDoSchowka() {
  const std::string kreska(27, '-');
  const std::string oczekiwany = kreska + "\r\nTarmeko_weryfikacja_pliku\r\n" + kreska +
                                 "\r\nWolno\r\n" + kreska + "\r\nOK   \r\n" + kreska + "\r\n";
  QCOMPARE(TekstDoSchowka("Tarmeko_weryfikacja_pliku", "Wolno", {"OK"}), oczekiwany);
  // Accelerator marks go, each button is followed by three spaces.
  const std::string dwa = TekstDoSchowka("T", "x", {"&Tak", "&Nie"});
  QVERIFY(dwa.find("\r\nTak   Nie   \r\n") != std::string::npos);
}

void TestUserMessages::ukladKomunikatu() {
  // The message dialog's geometry for a short text with and without an
  // icon, a text wider than half the screen, which wraps, and a caption
  // wider than the button's least width.
  QFont f(QStringLiteral("DejaVu Sans"), 9);
  QString dlugi;
  for (int i = 0; i < 60; ++i) dlugi += QStringLiteral("slowo ");
  const struct {
    const char* nazwa;
    QString tekst;
    bool zIkona;
    int ekran;
    QString przycisk;
  } przypadki[] = {
      {"krotki z ikona", QStringLiteral("Gotowe"), true, 1000, QStringLiteral("OK")},
      {"krotki bez ikony", QStringLiteral("Gotowe"), false, 1000, QStringLiteral("OK")},
      {"zawiniety", dlugi, false, 800, QStringLiteral("OK")},
      {"szeroki przycisk", QStringLiteral("x"), false, 1000,
       QStringLiteral("Bardzo dlugi napis przycisku")},
  };
  const auto r = [](const QRect& q) {
    return QStringLiteral("%1,%2 %3x%4").arg(q.x()).arg(q.y()).arg(q.width()).arg(q.height());
  };
  QString geometria;
  for (const auto& p : przypadki) {
    const TMessageLayout u = ObliczUkladKomunikatu(f, p.tekst, p.zIkona, p.ekran, p.przycisk);
    geometria += QStringLiteral("%1: ikona %2, tekst %3, przycisk %4, wnetrze %5x%6\n")
                     .arg(QString::fromLatin1(p.nazwa), r(u.Ikona), r(u.Tekst), r(u.Przycisk))
                     .arg(u.Wnetrze.width())
                     .arg(u.Wnetrze.height());
  }
  QCOMPARE(geometria, test::Wzor(QStringLiteral("komunikat.txt"), geometria));
}

void TestUserMessages::kursorJednoUstawienie() {
  {
    TQtUserMessages m;
    QVERIFY(!QGuiApplication::overrideCursor());
    m.Zajety(true);
    QVERIFY(QGuiApplication::overrideCursor());
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    m.Zajety(true);  // not a count: one "off" ends it
    m.Zajety(false);
    QVERIFY(!m.CzyZajety());
    QVERIFY(!QGuiApplication::overrideCursor());
    m.Zajety(false);
    QVERIFY(!QGuiApplication::overrideCursor());
    m.Zajety(true);
  }
  // The facility leaves no wait cursor behind.
  QVERIFY(!QGuiApplication::overrideCursor());
}

void TestUserMessages::kursorPrzyOknieModalnym() {
  TBusyCursor k;
  // On when the window opens, untouched meanwhile: back on afterwards.
  k.Ustaw(true);
  k.ModalneOtwarte();
  QVERIFY(!k.Pokazany());
  k.ModalneZamkniete();
  QVERIFY(k.Pokazany());
  // Turned off while the window was open: stays off.
  k.ModalneOtwarte();
  k.Ustaw(false);
  k.ModalneZamkniete();
  QVERIFY(!k.Pokazany());
  QVERIFY(!k.Wlaczony());
  // Turned on while a window was open: the normal cursor still shows over
  // it, and stays after it, since something touched the setting.
  k.ModalneOtwarte();
  k.Ustaw(true);
  QVERIFY(!k.Pokazany());
  k.ModalneZamkniete();
  QVERIFY(!k.Pokazany());
  // Off at opening: off afterwards.
  k.ModalneOtwarte();
  k.ModalneZamkniete();
  QVERIFY(!k.Pokazany());
  // Nested windows: only the outermost close brings it back.
  k.Ustaw(true);
  k.ModalneOtwarte();
  k.ModalneOtwarte();
  k.ModalneZamkniete();
  QVERIFY(!k.Pokazany());
  k.ModalneZamkniete();
  QVERIFY(k.Pokazany());
}

void TestUserMessages::strazZamieniaWyjatkiNaOknoBledu() {
  using R = TRecordingUserMessages;
  R m;
  m.Zajety(true);
  Chron(m,
        [] { throw platform::EInOutError(platform::io_codes::kFileNotFound, "File not found"); });
  QVERIFY(!m.CzyZajety());
  // The cursor goes off before the box is shown.
  QCOMPARE(m.Wywolania.size(), std::size_t{3});
  QCOMPARE(m.Wywolania[1], (R::Wywolanie{R::Rodzaj::Zajety, "0"}));
  QCOMPARE(m.Wywolania[2], (R::Wywolanie{R::Rodzaj::Blad, "File not found."}));

  Chron(m, [] { throw std::bad_alloc(); });
  Chron(m, [] { throw std::runtime_error("Printer selected is not valid"); });
  Chron(m, [] { throw 42; });
  bool wykonany = false;
  Chron(m, [&] { wykonany = true; });
  QVERIFY(wykonany);
  const auto bledy = m.Teksty(R::Rodzaj::Blad);
  QCOMPARE(bledy.size(), std::size_t{4});
  QCOMPARE(bledy[1], "Out of memory.");
  QCOMPARE(bledy[2], "Printer selected is not valid.");
}

void TestUserMessages::prawdziweOknaKomunikatow() {
  UstawTytulAplikacji("Tarmeko_weryfikacja_pliku");
  TQtUserMessages m;
  m.Zajety(true);
  constexpr kodowanie::cp1250::Literal tekst{u8"Wolno zmieniać tylko błędne znaki"};

  // Plain message: the title as caption, no icon, OK focused; Ctrl+C
  // copies the block; Enter closes.
  QString schowek;
  QString tytul;
  bool bylaIkona = true;
  bool okFocus = false;
  bool kursorNormalny = false;
  QSize wnetrze;
  QStringList czytane;
  NaOknieModalnym([&](QWidget* okno) {
    tytul = okno->windowTitle();
    bylaIkona = okno->findChild<QLabel*>(QStringLiteral("Ikona")) != nullptr;
    auto* ok = okno->findChild<QPushButton*>(QStringLiteral("OK"));
    QVERIFY(ok);
    okFocus = ok->hasFocus() || okno->focusWidget() == ok;
    kursorNormalny = !QGuiApplication::overrideCursor();
    wnetrze = okno->size();
    czytane = TekstyDostepne(okno);
    QTest::keyClick(okno->focusWidget() ? okno->focusWidget() : okno, Qt::Key_C,
                    Qt::ControlModifier);
    schowek = QGuiApplication::clipboard()->text();
    QTest::keyClick(okno->focusWidget() ? okno->focusWidget() : okno, Qt::Key_Return);
  });
  m.Komunikat(tekst.str());
  QCOMPARE(tytul, QStringLiteral("Tarmeko_weryfikacja_pliku"));
  QVERIFY(!bylaIkona);
  QVERIFY(okFocus);
  QVERIFY(kursorNormalny);
  const QScreen* ekran = QGuiApplication::primaryScreen();
  const TMessageLayout u =
      ObliczUkladKomunikatu(QApplication::font("QMessageBox"), ZCp1250(tekst.view()), false,
                            ekran->geometry().width(), QStringLiteral("OK"));
  QCOMPARE(wnetrze, u.Wnetrze);
  // A screen reader finds the message and the button.
  QCOMPARE(czytane, QStringList({ZCp1250(tekst.view()), QStringLiteral("OK")}));
  const std::string kreska(27, '-');
  QCOMPARE(S(schowek), kreska + "\r\nTarmeko_weryfikacja_pliku\r\n" + kreska + "\r\n" +
                           tekst.str() + "\r\n" + kreska + "\r\nOK   \r\n" + kreska + "\r\n");
  // The busy cursor is back: it was on and nothing touched it.
  QVERIFY(QGuiApplication::overrideCursor());
  m.Zajety(false);

  // Warning: its caption and icon; Esc closes it.
  NaOknieModalnym([&](QWidget* okno) {
    tytul = okno->windowTitle();
    bylaIkona = okno->findChild<QLabel*>(QStringLiteral("Ikona")) != nullptr;
    QTest::keyClick(okno->focusWidget() ? okno->focusWidget() : okno, Qt::Key_Escape);
  });
  m.Ostrzezenie("Wczytany plik zawiera bledy");
  QCOMPARE(tytul, QStringLiteral("Warning"));
  QVERIFY(bylaIkona);

  // Information: the close box closes it too.
  NaOknieModalnym([&](QWidget* okno) {
    tytul = okno->windowTitle();
    okno->close();
  });
  m.Informacja("Format kodowania wczytanej listy jest poprawny.");
  QCOMPARE(tytul, QStringLiteral("Information"));
  QVERIFY(!QApplication::activeModalWidget());
}

void TestUserMessages::prawdziweOknoBledu() {
  UstawTytulAplikacji("Tarmeko_weryfikacja_pliku");
  TQtUserMessages m;
  QString tytul;
  QString tekst;
  QString schowek;
  QMessageBox::Icon ikona = QMessageBox::NoIcon;
  NaOknieModalnym([&](QWidget* okno) {
    auto* box = qobject_cast<QMessageBox*>(okno);
    QVERIFY(box);
    tytul = box->windowTitle();
    tekst = box->text();
    ikona = box->icon();
    // Ctrl+C copies the box's text block, as the message dialog's does.
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_C, Qt::ControlModifier);
    schowek = QGuiApplication::clipboard()->text();
    box->button(QMessageBox::Ok)->click();
  });
  m.Zajety(true);
  PokazBlad(m, "File not found");
  QCOMPARE(tytul, QStringLiteral("Tarmeko_weryfikacja_pliku"));
  QCOMPARE(tekst, QStringLiteral("File not found."));
  QCOMPARE(ikona, QMessageBox::Critical);
  const std::string kreska(27, '-');
  QCOMPARE(S(schowek), kreska + "\r\nTarmeko_weryfikacja_pliku\r\n" + kreska +
                           "\r\nFile not found.\r\n" + kreska + "\r\nOK   \r\n" + kreska + "\r\n");
  // After an error box that interrupted a long operation: normal cursor.
  QVERIFY(!QGuiApplication::overrideCursor());
}

void TestUserMessages::dialogOtwarciaPokazujeMaleLiteryIPamieta() {
#ifdef Q_OS_WIN
  QSKIP("the system's own dialog has no widgets to drive");
#endif
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  for (const char* nazwa : {"lista.txt", "DUZA.TXT", "inne.csv"}) {
    QFile f(dir.filePath(QString::fromLatin1(nazwa)));
    QVERIFY(f.open(QIODevice::WriteOnly));
  }
  TQtUserMessages m;

  QStringList widoczne;
  QStringList filtry;
  NaOknieModalnym([&](QWidget* okno) {
    auto* d = qobject_cast<QFileDialog*>(okno);
    QVERIFY(d);
    filtry = d->nameFilters();
    auto* model = d->findChild<QFileSystemModel*>();
    QVERIFY(model);
    QSignalSpy zaladowany(model, &QFileSystemModel::directoryLoaded);
    d->setDirectory(dir.path());
    if (zaladowany.isEmpty()) QVERIFY(zaladowany.wait());
    auto* lista = d->findChild<QListView*>(QStringLiteral("listView"));
    QVERIFY(lista);
    // The folder is read on the dialog's own worker and shown in batches:
    // wait for what should be there rather than for the first signal.
    (void)QTest::qWaitFor([&] { return lista->model()->rowCount(lista->rootIndex()) >= 2; }, 10000);
    for (int r = 0; r < lista->model()->rowCount(lista->rootIndex()); ++r)
      widoczne << lista->model()->index(r, 0, lista->rootIndex()).data().toString();
    // The user switches to every file, types the name and confirms.
    auto* typy = d->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    QVERIFY(typy);
    typy->setCurrentIndex(1);
    emit typy->activated(1);
    auto* nazwa = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(nazwa);
    nazwa->setText(QStringLiteral("lista.txt"));
    static_cast<QDialog*>(d)->accept();
  });
  const auto wybor = m.OtworzPlik(nullptr);
  QVERIFY(wybor.has_value());
  QCOMPARE(QString::fromStdString(*wybor), dir.filePath(QStringLiteral("lista.txt")));
  QCOMPARE(filtry, (QStringList{QStringLiteral("Pliki TXT (*.TXT)"),
                                QStringLiteral("Wszystkie pliki (*)")}));
  widoczne.sort();
  QCOMPARE(widoczne, (QStringList{QStringLiteral("DUZA.TXT"), QStringLiteral("lista.txt")}));

  // The next opening presets the last file and filter; cancelling returns
  // nothing.
  QString katalog;
  QString filtr;
  NaOknieModalnym([&](QWidget* okno) {
    auto* d = qobject_cast<QFileDialog*>(okno);
    QVERIFY(d);
    katalog = d->directory().absolutePath();
    filtr = d->selectedNameFilter();
    d->reject();
  });
  QVERIFY(!m.OtworzPlik(nullptr).has_value());
  QCOMPARE(katalog, QDir(dir.path()).absolutePath());
  QCOMPARE(filtr, QStringLiteral("Wszystkie pliki"));
}

void TestUserMessages::dialogOtwarciaZaczynaPrzyPlikachUzytkownika() {
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  // The settings in a file of the test's own, never the user's.
  const QString ini = dir.filePath(QStringLiteral("ustawienia.ini"));
  const QString listy = dir.filePath(QStringLiteral("przelewy ł"));
  QVERIFY(QDir().mkpath(listy));
  const std::string plik = SciezkaDlaRdzenia(listy + QStringLiteral("/lista.txt"));
  QCOMPARE(SciezkaZRdzenia(plik), listy + QStringLiteral("/lista.txt"));

  // Nothing checked yet: the Documents folder (or home without one), never
  // the working folder, which is the program's own when the Start menu
  // starts it.
  const QString dokumenty = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  const QString bezNiczego = QFileInfo(dokumenty).isDir() ? dokumenty : QDir::homePath();
  for (const QString& zapamietany :
       {QString(), dir.filePath(QStringLiteral("usuniety")), QStringLiteral("?:/nie ma")})
    QCOMPARE(FolderPoczatkowy(zapamietany), bezNiczego);
  QCOMPARE(FolderPoczatkowy(listy), listy);
  {
    TSettings ustawienia(ini);
    TQtUserMessages m(&ustawienia);
    QCOMPARE(TDialogiPlikow(&ustawienia).FolderOtwarcia(), bezNiczego);
#ifndef Q_OS_WIN
    // The real dialog opens there.
    QString katalog;
    NaOknieModalnym([&](QWidget* okno) {
      katalog = qobject_cast<QFileDialog*>(okno)->directory().absolutePath();
      static_cast<QDialog*>(okno)->reject();
    });
    QVERIFY(!m.OtworzPlik(nullptr).has_value());
    QCOMPARE(katalog, QDir(bezNiczego).absolutePath());
#endif
    m.PlikSprawdzony(plik);
  }
  // After a restart (a new store over the same file) the folder of the
  // file checked last; once that folder is gone, Documents again.
  TSettings poRestarcie(ini);
  QCOMPARE(poRestarcie.OstatniFolder(), listy);
  TDialogiPlikow dialogi(&poRestarcie);
  QCOMPARE(dialogi.FolderOtwarcia(), listy);
  QVERIFY(QDir(listy).removeRecursively());
  QCOMPARE(dialogi.FolderOtwarcia(), bezNiczego);
  // Without a store the choice lasts for the run only.
  TDialogiPlikow bezUstawien;
  bezUstawien.PlikSprawdzony(SciezkaDlaRdzenia(ini));
  QCOMPARE(bezUstawien.FolderOtwarcia(), dir.path());
}

void TestUserMessages::tlumaczenieQtNieZmieniaTekstowProgramu() {
  QVERIFY2(ZaladujTlumaczenieQt(), "qtbase_pl.qm not found (scripts/install-deps.sh installs it)");
  UstawTytulAplikacji("Tarmeko_weryfikacja_pliku");
  TQtUserMessages m;
  // Qt's own buttons speak Polish; No is still the default.
  QStringList przyciski;
  bool nieDomyslne = false;
  NaOknieModalnym([&](QWidget* okno) {
    auto* box = qobject_cast<QMessageBox*>(okno);
    QVERIFY(box);
    for (auto* b : box->buttons()) przyciski << b->text().remove(QLatin1Char('&'));
    nieDomyslne = box->defaultButton() == box->button(QMessageBox::No);
    box->button(QMessageBox::No)->click();
  });
  QVERIFY(!m.Pytanie("Zapisac?"));
  przyciski.sort();
  QCOMPARE(przyciski, (QStringList{QStringLiteral("Nie"), QStringLiteral("Tak")}));
  QVERIFY(nieDomyslne);
  // The question whose No would hide findings: Enter answers Yes.
  NaOknieModalnym([&](QWidget* okno) {
    auto* box = qobject_cast<QMessageBox*>(okno);
    QVERIFY(box);
    QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
    QTest::keyClick(box, Qt::Key_Return);
  });
  QVERIFY(m.PytanieTakDomyslnie("Pokazac je teraz?"));

  // The program's fixed English words stay: the captions and "OK".
  QString tytul;
  QString ok;
  NaOknieModalnym([&](QWidget* okno) {
    tytul = okno->windowTitle();
    auto* przycisk = okno->findChild<QPushButton*>(QStringLiteral("OK"));
    QVERIFY(przycisk);
    ok = przycisk->text();
    przycisk->click();
  });
  m.Ostrzezenie("Wczytany plik zawiera bledy");
  QCOMPARE(tytul, QStringLiteral("Warning"));
  QCOMPARE(ok, QStringLiteral("OK"));
  NaOknieModalnym([&](QWidget* okno) {
    auto* box = qobject_cast<QMessageBox*>(okno);
    QVERIFY(box);
    ok = box->button(QMessageBox::Ok)->text();
    box->button(QMessageBox::Ok)->click();
  });
  PokazBlad(m, "File not found");
  QCOMPARE(ok, QStringLiteral("OK"));
}

QTEST_MAIN(TestUserMessages)
#include "test_user_messages.moc"
