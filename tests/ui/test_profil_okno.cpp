// The bank profile in the main window: chosen in the bar's free room,
// remembered in the settings store, the open file checked again by the new
// rules, and a remembered profile that cannot be used told, not ignored.
//
// With ZRZUT_EKRANU set to a path prefix, the window is also saved as
// PREFIX-profil.png (a profile chosen, a refused character found) and
// PREFIX-profil-po-restarcie.png (a new window, the profile still chosen).
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <algorithm>

#include "OknoTestowe.h"
#include "Settings.h"
#include "okno_glowne/WyborProfilu.h"
#include "profile/RegulaZnakow.h"
#include "typy/Teksty.h"

using Rodzaj = ui::TRecordingUserMessages::Rodzaj;

namespace {

// The rule is the process's: every test leaves it at the default.
struct TDomyslnyPoTescie {
  ~TDomyslnyPoTescie() { profile::UzyjProfilu(profile::Domyslny()); }
};

QString Ini(const test::TOkno& o) {
  return QDir(o.katalog.path()).filePath(QStringLiteral("ustawienia.ini"));
}

// A transfer record with "&" in a name and ";" in a street, inside quoted
// fields, and a line ended by LF alone.
const std::string kLista =
    "110,20240328,325000,10500015,0,\"15105000159303642621299722\","
    "\"73109010146123306697058715\",\"Firma & Syn|ul. Prosta 1\","
    "\"Jan Kowalski|ul. Lesna; 5\",0,10901014,\"Wynagrodzenie\",\"\",\"\",\"51\"\r\n"
    "Ala ma kota\n";

}  // namespace

class TestProfilOkno : public QObject {
  Q_OBJECT
 private slots:
  void wybranyProfil_sprawdzaPonownieIZostajePoRestarcie();
  void zapamietanyPlikProfilu_zepsuty_mowiIWracaDoDomyslnego();
  void bankUtf8_listaWindows1250PoprawionaDoUtf8();
};

void TestProfilOkno::wybranyProfil_sprawdzaPonownieIZostajePoRestarcie() {
  TDomyslnyPoTescie domyslny;
  test::TOkno o;
  ui::TSettings ustawienia(Ini(o));
  o.w.UzyjUstawien(&ustawienia);
  // The default first: the list passes, as it always did.
  QCOMPARE(o.w.ComboProfil->currentText(), test::T(test::Cp("Zasady ogólne")));
  QVERIFY(o.w.ComboProfil->isVisible());
  QVERIFY(o.w.ComboProfil->x() > o.w.ButtonPokazLog->geometry().right());
  QVERIFY(o.w.ComboProfil->geometry().right() < o.w.Panel1->width());
  o.Sprawdz(o.Plik("lista.txt", kLista));
  QCOMPARE(o.m.Teksty(Rodzaj::Informacja),
           std::vector<std::string>{Typy::teksty::PlikPoprawny.str()});

  // Another profile: the open file is checked again at once.
  const std::size_t przed = o.m.Wywolania.size();
  o.w.ComboProfil->setCurrentIndex(
      o.w.ComboProfil->findText(test::T(test::Cp("Najostrzejsze wspólne"))));
  const auto rodzaje = o.Rodzaje(przed);
  QVERIFY(std::find(rodzaje.begin(), rodzaje.end(), Rodzaj::Ostrzezenie) != rodzaje.end());
  QCOMPARE(o.w.LabelIleBledow->text(), QStringLiteral("1"));
  QCOMPARE(o.stan.Bledy[0].BadChars, std::string("&,;"));
  QCOMPARE(o.stan.Bledy[0].BadPositions, std::string("97,140"));
  // The LF-ended line is one finding beside the account findings.
  QVERIFY(o.w.LabelRachunki->isVisible());
  QCOMPARE(ustawienia.Profil(), test::T(test::Cp("Najostrzejsze wspólne")));
  test::Zrzut(o.w, "profil");

  // A new window over the same store: the profile is still chosen and used.
  profile::UzyjProfilu(profile::Domyslny());
  test::TOkno po;
  ui::TSettings ponownie(Ini(o));
  po.w.UzyjUstawien(&ponownie);
  QCOMPARE(po.w.ComboProfil->currentText(), test::T(test::Cp("Najostrzejsze wspólne")));
  QCOMPARE(po.w.Zasady().profil->nazwa, test::Cp("Najostrzejsze wspólne"));
  po.Sprawdz(o.Sciezka("lista.txt"));
  QCOMPARE(po.w.LabelIleBledow->text(), QStringLiteral("1"));
  // The check put the profile it was given in use, for what reads it after.
  QCOMPARE(profile::AktywnyProfil().nazwa, test::Cp("Najostrzejsze wspólne"));
  test::Zrzut(po.w, "profil-po-restarcie");

  // Back to the default: remembered as no choice at all.
  po.w.ComboProfil->setCurrentIndex(0);
  QCOMPARE(ponownie.Profil(), QString());
  QCOMPARE(po.w.LabelIleBledow->text(), QStringLiteral("0"));
}

void TestProfilOkno::zapamietanyPlikProfilu_zepsuty_mowiIWracaDoDomyslnego() {
  TDomyslnyPoTescie domyslny;
  test::TOkno o;
  const std::string plik = o.Plik("bank.toml", "nazwa = \"Mój bank\"\nkodowanie = \"UTF-16\"\n");
  ui::TSettings ustawienia(Ini(o));
  ustawienia.UstawProfil(QString::fromStdString(plik));
  o.w.UzyjUstawien(&ustawienia);
  const auto bledy = o.m.Teksty(Rodzaj::Blad);
  QCOMPARE(bledy.size(), std::size_t{1});
  QVERIFY(bledy[0].find("bank.toml:2") != std::string::npos);
  QVERIFY(profile::CzyDomyslny(*o.w.Zasady().profil));
  QCOMPARE(o.w.ComboProfil->currentIndex(), 0);

  // The same file put right is listed under its own name and used.
  o.Plik("bank.toml", "nazwa = \"Mój bank\"\nzabronione = \"#\"\n");
  test::TOkno po;
  po.w.UzyjUstawien(&ustawienia);
  QCOMPARE(po.w.ComboProfil->currentText(), QStringLiteral("Mój bank"));
  QCOMPARE(po.w.Zasady().profil->zabronione, std::string("#"));
}

void TestProfilOkno::bankUtf8_listaWindows1250PoprawionaDoUtf8() {
  // A UTF-8 bank: its list as written is correct; a Windows-1250 one is
  // diagnosed and corrected into UTF-8 with the same letters.
  TDomyslnyPoTescie domyslny;
  test::TOkno o;
  ui::TSettings ustawienia(Ini(o));
  o.w.UzyjUstawien(&ustawienia);
  o.w.ComboProfil->setCurrentIndex(
      o.w.ComboProfil->findText(test::T(test::Cp("Import firmowy, UTF-8"))));
  const std::string utf8 = test::Odczytaj(std::string(EXAMPLES_DIR) + "/zlecenia.txt");
  const std::string tekst = kodowanie::cp1250::ToUtf8(utf8);
  o.Sprawdz(o.Plik("utf8.txt", tekst));
  QCOMPARE(o.w.LabelIleBledow->text(), QStringLiteral("0"));
  QVERIFY(!o.w.ButtonPoprawAutomatycznie->isVisible());

  o.Sprawdz(o.Plik("w1250.txt", utf8));
  QVERIFY(o.w.LabelIleBledow->text() != QStringLiteral("0"));
  QVERIFY(o.w.ButtonPoprawAutomatycznie->isVisible());
  // The sentence whole (the strip may shorten what it shows).
  QCOMPARE(o.w.LabelKodowanie->accessibleName(),
           QStringLiteral("Plik wygląda na zapisany w kodowaniu Windows-1250."));
  o.m.OdpowiedziPytanie.push_back(true);
  QTest::mouseClick(o.w.ButtonPoprawAutomatycznie, Qt::LeftButton);
  const std::string pytanie = kodowanie::cp1250::ToUtf8(o.m.Teksty(Rodzaj::Pytanie).back());
  QVERIFY(pytanie.find("i zapisany w kodowaniu UTF-8") != std::string::npos);
  QCOMPARE(test::Odczytaj(o.Sciezka("w1250_nowy.txt")), tekst);
  // The written copy, checked in its place, is correct.
  QCOMPARE(o.w.LabelIleBledow->text(), QStringLiteral("0"));
}

QTEST_MAIN(TestProfilOkno)
#include "test_profil_okno.moc"
