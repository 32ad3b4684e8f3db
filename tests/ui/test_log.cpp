// The report window: what the view shows of the report's bytes, the layout,
// opening and closing, saving (through the real save dialog too) and the
// printed pages on a PDF printer.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtMath>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>

#include <algorithm>
#include "ChildProcess.h"
#include "GeometriaOkna.h"
#include "RecordingUserMessages.h"
#include "kodowanie/Cp1250.h"
#include "messages/QtUserMessages.h"
#include "okno_raportu/LOG.h"
#include "raport/UtworzLOG.h"

using namespace ui;
using namespace Qt::StringLiterals;
using Rodzaj = TRecordingUserMessages::Rodzaj;

namespace {

std::string Czytaj(const QString& sciezka) {
  std::ifstream f(sciezka.toStdString(), std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

void Zapisz(const QString& sciezka, const std::string& bajty) {
  std::ofstream f(sciezka.toStdString(), std::ios::binary);
  f << bajty;
}

std::string Sciezka(const QString& s) {
  return QFile::encodeName(s).toStdString();
}

// A report of `n` numbered lines, each ended by CR LF.
std::string RaportLinii(int n) {
  std::string r;
  for (int i = 1; i <= n; ++i) r += "wiersz " + std::to_string(i) + " raportu\r\n";
  return r;
}

// A report in the check's format, with a Polish letter, a tab and a NUL
// in the quoted line.
std::string PrawdziwyRaport() {
  const std::string linia(
      "b\xB3\x61"
      "d\t\0x",
      7);
  std::string r =
      kodowanie::cp1250::Literal{u8"Lista błędów w pliku /tmp/przelewy.txt"}.str() + "\r\n";
  r += "2024-05-06, 07:08:09\r\n" + std::string(96, '_') + "\r\n\r\n";
  r += kodowanie::cp1250::Literal{u8"Linia 2 zawiera błąd: niedozwolone znaki"}.str() + "\r\n";
  r += kodowanie::cp1250::Literal{u8"  Błędny znak: \""}.str() + "\t\" w kolumnie 5\r\n";
  r += kodowanie::cp1250::Literal{u8"  Błędny znak: \""}.str() + std::string(1, '\0') +
       "\" w kolumnie 6\r\n";
  r +=
      "\r\n" + kodowanie::cp1250::Literal{u8"Treść błędnej linii:"}.str() + "\r\n" + linia + "\r\n";
  r += "*****\r\nKoniec pliku LOG\r\n";
  return r;
}

// Runs `krok` on the application's modal dialog once it is up. A dialog
// that never shows, or a step that leaves it open, is rejected so that the
// test never waits on it.
void NaDialogu(std::function<void(QWidget*)> krok, int proby = 200) {
  QTimer::singleShot(0, [krok = std::move(krok), proby]() mutable {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || !w->isVisible()) {
      if (proby > 0) NaDialogu(std::move(krok), proby - 1);
      return;
    }
    krok(w);
    // A failed check inside the step returns early; the dialog still goes.
    if (w->isVisible()) w->close();
  });
}

// The text of page `n` of a PDF, as pdftotext lays it out.
QStringList StronaPdf(const QString& pdf, int n) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"),
          {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(n),
           QStringLiteral("-l"), QString::number(n), pdf, QStringLiteral("-")});
  if (!p.waitForFinished(-1) || p.exitCode() != 0) return {QStringLiteral("<pdftotext failed>")};
  QStringList linie = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'));
  QStringList out;
  for (QString l : linie) {
    l = l.trimmed();
    l.remove(QChar(u'\f'));
    if (!l.isEmpty()) out << l;
  }
  return out;
}

// The width in points of the first word of page 1 that starts with
// `poczatek`, as pdftotext places it; -1 when there is none.
double SzerokoscSlowaPdf(const QString& pdf, const QString& poczatek) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"),
          {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
           QStringLiteral("1"), pdf, QStringLiteral("-")});
  if (!p.waitForFinished(-1) || p.exitCode() != 0) return -1;
  static const QRegularExpression slowo(
      QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\"[^>]*>([^<]*)<"));
  for (const auto& m : slowo.globalMatch(QString::fromUtf8(p.readAllStandardOutput())))
    if (m.captured(3).startsWith(poczatek))
      return m.captured(2).toDouble() - m.captured(1).toDouble();
  return -1;
}

int StronyPdf(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdfinfo"), {pdf});
  if (!p.waitForFinished(-1)) return -1;
  for (const QString& l : QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n')))
    if (l.startsWith(QStringLiteral("Pages:"))) return l.mid(6).trimmed().toInt();
  return -1;
}

std::unique_ptr<QPrinter> DrukarkaPdf(const QString& plik) {
  auto d = std::make_unique<QPrinter>(QPrinter::HighResolution);
  d->setOutputFormat(QPrinter::PdfFormat);
  d->setOutputFileName(plik);
  d->setPageSize(QPageSize(QPageSize::A4));
  return d;
}

}  // namespace

class TestLog : public QObject {
  Q_OBJECT

 private slots:
  void widokPokazujeBajtyRaportu();
  void widokDzieliLinie();
  void kursorKlawiszami();
  void strona();
  void myszIZaznaczenie();
  void dlugieLinie();
  void kopiowanie();
  void zaznaczenieTylkoZFokusem();
  void nowyRaportOdPoczatku();
  void uklad();
  void otwieranieIZamykanie();
  void zapisBajtZaBajt();
  void zapisAnulowanyIBledy();
  void zapisBezPrawaZapisu();
  void nieudanyZapisZostawiaStaryPlik();
  void dialogZapisu();
  void drukKrotkiNaJednejStronie();
  void drukDlugiCiaglyNaWieluStronach();
  void drukBezDrukarkiINiewazna();
};

void TestLog::widokPokazujeBajtyRaportu() {
  TRecordingUserMessages m;
  TFormLOG log(m);
  const std::string raport = PrawdziwyRaport();
  log.RichEditLOG->UstawRaport(raport);
  QCOMPARE(log.RichEditLOG->Raport(), raport);

  // Each CR LF ends a line; the last one starts no empty line.
  const QString tekst = log.RichEditLOG->Tekst();
  const QStringList linie = tekst.split(QLatin1Char('\n'));
  QCOMPARE(linie.size(), static_cast<qsizetype>(std::count(raport.begin(), raport.end(), '\n')));
  QVERIFY(!tekst.contains(QChar(u'\r')));
  // Polish letters decoded; the tab and the NUL of the quoted line shown as
  // their control pictures instead of vanishing.
  QVERIFY(linie.front().startsWith(QString::fromUtf8("Lista błędów w pliku ")));
  QVERIFY(linie.contains(QString::fromUtf8("bład\u2409\u2400x")));
  QVERIFY(linie.contains(QString::fromUtf8("  Błędny znak: \"\u2409\" w kolumnie 5")));
  QCOMPARE(linie.back(), QStringLiteral("Koniec pliku LOG"));

  // A lone CR or LF inside a line is shown, not taken for a line end; the
  // undefined bytes of the code page still show as something.
  QCOMPARE(TRichEditLOG::TekstWidoku(std::string("a\rb\nc\x81\r\n")),
           QString::fromUtf8("a\u240Db\u240Ac\u0081"));
  QCOMPARE(TRichEditLOG::TekstWidoku({}), QString());

  // A big report is set in one step: every line there, caret at the start.
  std::string duzy;
  for (int i = 0; i < 100000; ++i) duzy += "Linia " + std::to_string(i) + " zawiera\r\n";
  log.RichEditLOG->UstawRaport(duzy);
  QCOMPARE(log.RichEditLOG->IleLinii(), 100000);
  QCOMPARE(log.RichEditLOG->TekstLinii(99999), QStringLiteral("Linia 99999 zawiera"));
  QCOMPARE(log.RichEditLOG->Kursor(), 0);
  QCOMPARE(log.RichEditLOG->Raport().size(), duzy.size());
}

void TestLog::widokDzieliLinie() {
  // Only a CR LF pair ends a line: a lone CR or LF, a NUL or a tab is a
  // character of its line. The report's last CR LF starts no empty line;
  // an empty report is one empty line.
  const struct {
    std::string bajty;
    QStringList linie;
    qsizetype najdluzsza;
  } przypadki[] = {
      {"", {u""_s}, 0},
      {"\r\n", {u""_s}, 0},
      {"\r\n\r\n", {u""_s, u""_s}, 0},
      {"ab\r\nc\r\n", {u"ab"_s, u"c"_s}, 2},
      {"ab\r\nc", {u"ab"_s, u"c"_s}, 2},
      {"x\r\n\r\n", {u"x"_s, u""_s}, 1},
      {"a\rb\nc\r\n", {u"a\u240Db\u240Ac"_s}, 5},
      {"\r\r\n\n\r\n", {u"\u240D"_s, u"\u240A"_s}, 1},
      {"\n\r", {u"\u240A\u240D"_s}, 2},
      {std::string("a\0b\tc\r\nd", 8), {u"a\u2400b\u2409c"_s, u"d"_s}, 5},
      {"kr\xF3tka\r\n" + std::string(70, 'w') + "\r\nz",
       {u"krótka"_s, QString(70, u'w'), u"z"_s},
       70},
  };
  TRichEditLOG v;
  for (const auto& p : przypadki) {
    v.UstawRaport(p.bajty);
    QStringList linie;
    for (qsizetype i = 0; i < v.IleLinii(); ++i) linie << v.TekstLinii(i);
    QCOMPARE(linie, p.linie);
    QCOMPARE(v.NajdluzszaLinia(), p.najdluzsza);
    // The painted lines and the whole text (printed) agree.
    QCOMPARE(v.Tekst(), p.linie.join(QLatin1Char('\n')));
  }

  // Each line's start and end, found again from positions; a position in
  // a CR LF or past the end takes the nearest place before it.
  v.UstawRaport("ab\r\n\r\ncd\rx\r\n");
  QCOMPARE(v.IleLinii(), 3);
  const std::pair<qsizetype, qsizetype> kursory[] = {{-5, 0},  {0, 0},   {2, 2},   {3, 2},
                                                     {4, 4},   {5, 4},   {6, 6},   {10, 10},
                                                     {11, 10}, {12, 10}, {999, 10}};
  for (auto [dana, oczekiwana] : kursory) {
    v.UstawKursor(dana);
    QCOMPARE(v.Kursor(), oczekiwana);
    QCOMPARE(v.Kotwica(), oczekiwana);
  }
  QCOMPARE(v.LiniaPozycji(0), 0);
  QCOMPARE(v.LiniaPozycji(4), 1);
  QCOMPARE(v.LiniaPozycji(6), 2);
  QCOMPARE(v.LiniaPozycji(10), 2);
}

void TestLog::kursorKlawiszami() {
  TRichEditLOG v;
  v.resize(300, 200);
  // Lines "abcdef" 0-6, "ab" 8-10, "abcdefgh" 12-20.
  v.UstawRaport("abcdef\r\nab\r\nabcdefgh\r\n");
  const struct {
    Qt::Key klawisz;
    Qt::KeyboardModifiers mod;
    qsizetype kursor;
    qsizetype kotwica;
  } kroki[] = {
      {Qt::Key_Left, {}, 0, 0},  // nothing before the start
      {Qt::Key_Up, {}, 0, 0},
      {Qt::Key_End, {}, 6, 6},
      {Qt::Key_Right, {}, 8, 8},   // past the line end to the next line
      {Qt::Key_Left, {}, 6, 6},    // and back to the end of the one before
      {Qt::Key_Down, {}, 10, 10},  // a short line takes the caret to its end
      {Qt::Key_Down, {}, 18, 18},  // the column aimed at comes back
      {Qt::Key_Up, {}, 10, 10},
      {Qt::Key_Up, {}, 6, 6},
      {Qt::Key_Home, {}, 0, 0},
      {Qt::Key_End, Qt::ControlModifier, 20, 20},  // before the final CR LF
      {Qt::Key_Right, {}, 20, 20},
      {Qt::Key_Down, {}, 20, 20},
      {Qt::Key_Home, Qt::ControlModifier, 0, 0},
      {Qt::Key_Down, Qt::ShiftModifier, 8, 0},  // Shift keeps the anchor
      {Qt::Key_End, Qt::ShiftModifier, 10, 0},
      {Qt::Key_Left, Qt::ShiftModifier, 9, 0},
      {Qt::Key_Right, {}, 10, 10},  // a plain move drops the selection
      {Qt::Key_Home, Qt::ShiftModifier | Qt::ControlModifier, 0, 10},
      {Qt::Key_A, {}, 0, 10},  // typing changes nothing
      {Qt::Key_Delete, {}, 0, 10},
  };
  for (const auto& k : kroki) {
    QTest::keyClick(&v, k.klawisz, k.mod);
    QCOMPARE(v.Kursor(), k.kursor);
    QCOMPARE(v.Kotwica(), k.kotwica);
  }
  QCOMPARE(v.Raport(), std::string("abcdef\r\nab\r\nabcdefgh\r\n"));
  QCOMPARE(v.ZaznaczonyTekst(), QStringLiteral("abcdef\r\nab"));

  // Up and Down keep the caret's place across the view, not its column:
  // characters differ in width.
  v.UstawRaport("WW\r\niiiiiiiiiiiiiiiiiiii\r\nWW\r\n");
  QTest::keyClick(&v, Qt::Key_End);
  const int x = v.ProstokatKursora().x();
  QTest::keyClick(&v, Qt::Key_Down);
  const int polI = qCeil(QFontMetricsF(v.font()).horizontalAdvance(QLatin1Char('i')) / 2);
  QVERIFY2(std::abs(v.ProstokatKursora().x() - x) <= polI + 1,
           qPrintable(QString::number(v.Kursor())));
  QVERIFY(v.Kursor() > 4 + 2 && v.Kursor() < 4 + 20);
  QTest::keyClick(&v, Qt::Key_Down);
  QCOMPARE(v.Kursor(), 4 + 20 + 2 + 2);
}

void TestLog::strona() {
  // Page keys turn the view by a page and keep the caret in sight; the
  // caret placed anywhere, and brought into sight, is inside the viewport.
  TRecordingUserMessages m;
  TFormLOG log(m);
  log.show();
  TRichEditLOG* v = log.RichEditLOG;
  v->UstawRaport(RaportLinii(500) + std::string(400, 'x') + "\r\n" + RaportLinii(3));
  const int strona = v->WidoczneLinie();
  QVERIFY(strona > 5 && strona < 100);
  const QRect widok = v->viewport()->rect();

  QTest::keyClick(v, Qt::Key_PageDown);
  QCOMPARE(v->LiniaPozycji(v->Kursor()), strona);
  QCOMPARE(v->PierwszaWidocznaLinia(), strona);
  QTest::keyClick(v, Qt::Key_PageDown, Qt::ShiftModifier);
  QCOMPARE(v->LiniaPozycji(v->Kursor()), 2 * strona);
  QCOMPARE(v->Kotwica(), v->Raport().find("wiersz " + std::to_string(strona + 1) + " "));
  QTest::keyClick(v, Qt::Key_PageUp);
  QCOMPARE(v->LiniaPozycji(v->Kursor()), strona);
  QVERIFY(widok.contains(v->ProstokatKursora()));
  for (int i = 0; i < 30; ++i) QTest::keyClick(v, Qt::Key_PageDown);
  QCOMPARE(v->LiniaPozycji(v->Kursor()), v->IleLinii() - 1);
  QCOMPARE(v->PierwszaWidocznaLinia(), v->IleLinii() - strona);
  for (int i = 0; i < 30; ++i) QTest::keyClick(v, Qt::Key_PageUp);
  QCOMPARE(v->Kursor(), 0);
  QCOMPARE(v->PierwszaWidocznaLinia(), 0);

  // Into sight at places far down, far right and back at the start.
  const qsizetype dluga = static_cast<qsizetype>(v->Raport().find(std::string(400, 'x')));
  for (qsizetype p : {dluga + 400, dluga + 200, dluga, qsizetype{30},
                      static_cast<qsizetype>(v->Raport().size()) - 2, qsizetype{0}}) {
    v->UstawKursor(p);
    v->PokazKursor();
    QVERIFY2(widok.contains(v->ProstokatKursora()), qPrintable(QString::number(p)));
  }
  QCOMPARE(v->horizontalScrollBar()->value(), 0);
  QCOMPARE(v->verticalScrollBar()->value(), 0);
  // The long line's end is as far right as the bar goes.
  v->UstawKursor(dluga + 400);
  v->PokazKursor();
  QCOMPARE(v->horizontalScrollBar()->value(), v->horizontalScrollBar()->maximum());
}

// A line of 1,024 characters and more finds its columns through an index of
// every 1,024th column: at the columns around the index's steps the caret
// stands where the widths before it add up to, and a click there puts it
// back on the same column.
void TestLog::dlugieLinie() {
  TRichEditLOG v;
  v.resize(400, 200);
  v.show();
  QVERIFY(QTest::qWaitForWindowExposed(&v));
  // Characters of different widths, so that a column off by one shows.
  std::string wzor;
  for (int i = 0; i < 3100; ++i) wzor += "aW\xB9mo"[i % 5];
  const qsizetype dlugosci[] = {1023, 1024, 1025, 2049, 3100};
  std::string raport;
  for (const qsizetype n : dlugosci) raport += wzor.substr(0, static_cast<std::size_t>(n)) + "\r\n";
  v.UstawRaport(raport);
  const QFontMetricsF fm(v.font());
  qsizetype start = 0;
  for (const qsizetype n : dlugosci) {
    for (const qsizetype k :
         {qsizetype{0}, qsizetype{1}, qsizetype{1023}, qsizetype{1024}, qsizetype{1025},
          qsizetype{2047}, qsizetype{2048}, qsizetype{2049}, n - 1, n}) {
      if (k > n) continue;
      qreal x = 0;
      for (qsizetype i = 0; i < k; ++i)
        x += fm.horizontalAdvance(
            QString(QChar(static_cast<char16_t>(kodowanie::cp1250::VisibleCodePoint(
                static_cast<unsigned char>(wzor[static_cast<std::size_t>(i)]))))));
      const QString gdzie = QStringLiteral("line of %1, column %2").arg(n).arg(k);
      v.UstawKursor(start + k);
      const QRect r = v.ProstokatKursora();
      QVERIFY2(r.x() + v.horizontalScrollBar()->value() == 3 + qFloor(x), qPrintable(gdzie));
      v.UstawKursor(0);
      v.UstawKursor(start + k);
      QTest::mouseClick(v.viewport(), Qt::LeftButton, {}, QPoint(r.x(), r.center().y()));
      QVERIFY2(v.Kursor() == start + k, qPrintable(gdzie));
    }
    start += n + 2;
  }
}

void TestLog::myszIZaznaczenie() {
  TRecordingUserMessages m;
  TFormLOG log(m);
  log.show();
  TRichEditLOG* v = log.RichEditLOG;
  v->UstawRaport(RaportLinii(100));
  QWidget* vp = v->viewport();
  // Where the caret is drawn for a position is where a click puts it.
  auto punkt = [v](qsizetype p) {
    v->UstawKursor(p);
    return v->ProstokatKursora().center() + QPoint(1, 0);
  };
  const qsizetype p1 = static_cast<qsizetype>(v->Raport().find("3 raportu"));
  const qsizetype p2 = static_cast<qsizetype>(v->Raport().find("5 raportu")) + 5;
  const QPoint a = punkt(p1);
  const QPoint b = punkt(p2);
  const QPoint c = punkt(p1 + 1);
  v->UstawKursor(0);

  QTest::mouseClick(vp, Qt::LeftButton, {}, a);
  QCOMPARE(v->Kursor(), p1);
  QCOMPARE(v->Kotwica(), p1);
  // A click left of the text and one right of a line's end.
  QTest::mouseClick(vp, Qt::LeftButton, {}, QPoint(0, a.y()));
  QCOMPARE(v->Kursor(), p1 - 7);
  QTest::mouseClick(vp, Qt::LeftButton, {}, QPoint(vp->width() - 2, a.y()));
  QCOMPARE(v->Kursor(), p1 + 9);

  // Dragging selects; the selection is copied as it is shown.
  QTest::mousePress(vp, Qt::LeftButton, {}, a);
  QMouseEvent ruch(QEvent::MouseMove, b, vp->mapToGlobal(b), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(vp, &ruch);
  QTest::mouseRelease(vp, Qt::LeftButton, {}, b);
  QCOMPARE(v->Kotwica(), p1);
  QCOMPARE(v->Kursor(), p2);
  QCOMPARE(v->ZaznaczonyTekst(), QStringLiteral("3 raportu\r\nwiersz 4 raportu\r\nwiersz 5 rap"));
  // Shift and a click move only the caret's end of it.
  QTest::mouseClick(vp, Qt::LeftButton, Qt::ShiftModifier, c);
  QCOMPARE(v->Kotwica(), p1);
  QCOMPARE(v->ZaznaczonyTekst(), QStringLiteral("3"));
  // Dragging below the view scrolls it with the caret.
  QTest::mousePress(vp, Qt::LeftButton, {}, a);
  const QPoint pod(a.x(), vp->height() + 40);
  QMouseEvent wDol(QEvent::MouseMove, pod, vp->mapToGlobal(pod), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  for (int i = 0; i < 10; ++i) QApplication::sendEvent(vp, &wDol);
  QTest::mouseRelease(vp, Qt::LeftButton, {}, pod);
  QVERIFY(v->PierwszaWidocznaLinia() > 0);
  QVERIFY(vp->rect().contains(v->ProstokatKursora()));
  QCOMPARE(v->Kotwica(), p1);
}

void TestLog::kopiowanie() {
  TRichEditLOG v;
  const std::string raport = PrawdziwyRaport();
  v.UstawRaport(raport);
  QClipboard* schowek = QApplication::clipboard();
  schowek->setText(QStringLiteral("przed"));
  // Nothing selected: the clipboard keeps what it had.
  QTest::keyClick(&v, Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(schowek->text(), QStringLiteral("przed"));

  // Everything, as shown: CR LF between lines, none after the last, the tab
  // and the NUL as their pictures.
  QTest::keyClick(&v, Qt::Key_A, Qt::ControlModifier);
  QCOMPARE(v.Kotwica(), 0);
  QCOMPARE(v.Kursor(), static_cast<qsizetype>(raport.size() - 2));
  QTest::keyClick(&v, Qt::Key_C, Qt::ControlModifier);
  const QString wszystko = schowek->text();
  QCOMPARE(wszystko,
           TRichEditLOG::TekstWidoku(raport).replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
  QVERIFY(wszystko.contains(QString::fromUtf8("bład\u2409\u2400x\r\n*****")));
  QVERIFY(wszystko.endsWith(QStringLiteral("*****\r\nKoniec pliku LOG")));

  // A selection made backwards copies the same text.
  const qsizetype ostatnia = static_cast<qsizetype>(raport.find("Koniec"));
  v.UstawKursor(ostatnia + 6);
  v.UstawKursor(ostatnia - 7, true);
  QTest::keyClick(&v, Qt::Key_Insert, Qt::ControlModifier);
  QCOMPARE(schowek->text(), QStringLiteral("*****\r\nKoniec"));
}

void TestLog::zaznaczenieTylkoZFokusem() {
  TRecordingUserMessages m;
  TFormLOG log(m);
  log.show();
  log.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&log));
  TRichEditLOG* v = log.RichEditLOG;
  v->UstawRaport(PrawdziwyRaport());
  const QColor podswietlenie = v->palette().color(QPalette::Active, QPalette::Highlight);
  auto podswietlone = [&] {
    const QImage obraz = v->viewport()->grab().toImage();
    int n = 0;
    for (int y = 0; y < obraz.height(); ++y)
      for (int x = 0; x < obraz.width(); ++x) n += obraz.pixelColor(x, y) == podswietlenie;
    return n;
  };
  v->setFocus();
  QCOMPARE(podswietlone(), 0);
  QTest::keyClick(v, Qt::Key_A, Qt::ControlModifier);
  QVERIFY(podswietlone() > 1000);
  log.Button2->setFocus();
  QCOMPARE(podswietlone(), 0);
  // The selection is still there when the focus comes back.
  v->setFocus();
  QVERIFY(podswietlone() > 1000);
  QCOMPARE(v->Kotwica(), 0);
}

void TestLog::nowyRaportOdPoczatku() {
  TRecordingUserMessages m;
  TFormLOG log(m);
  log.show();
  log.RichEditLOG->UstawRaport(RaportLinii(500) + std::string(400, 'x') + "\r\n");
  QVERIFY(log.RichEditLOG->horizontalScrollBar()->maximum() > 0);  // no wrap
  log.RichEditLOG->UstawKursor(log.RichEditLOG->Raport().size());
  log.RichEditLOG->PokazKursor();
  QVERIFY(log.RichEditLOG->verticalScrollBar()->value() > 0);
  QVERIFY(log.RichEditLOG->horizontalScrollBar()->value() > 0);

  log.RichEditLOG->UstawRaport(RaportLinii(500));
  QCOMPARE(log.RichEditLOG->Kursor(), 0);
  QCOMPARE(log.RichEditLOG->verticalScrollBar()->value(), 0);
  QCOMPARE(log.RichEditLOG->horizontalScrollBar()->value(), 0);

  // Read-only for typing, but the caret and selection still move.
  QTest::keyClicks(log.RichEditLOG, QStringLiteral("abc"));
  QCOMPARE(log.RichEditLOG->Raport(), RaportLinii(500));
  QCOMPARE(log.RichEditLOG->Kursor(), 0);
  log.RichEditLOG->setFocus();
  QTest::keyClick(log.RichEditLOG, Qt::Key_Right, Qt::ShiftModifier);
  QCOMPARE(log.RichEditLOG->ZaznaczonyTekst(), QStringLiteral("w"));
}

void TestLog::uklad() {
  TRecordingUserMessages m;
  TFormLOG log(m);
  log.show();
  QCOMPARE(log.objectName(), QStringLiteral("FormLOG"));
  QCOMPARE(log.windowTitle(), QStringLiteral("Plik LOG"));
  if (QFontMetrics(log.font()).height() == 13) {
    const QString geometria = test::GeometriaOkna(log);
    QCOMPARE(geometria, test::Wzor(QStringLiteral("log.txt"), geometria));
  }
  QCOMPARE(log.Button2->text(), QStringLiteral("Zapi&sz plik LOG"));
  QCOMPARE(log.Button3->text(), QStringLiteral("&Drukuj"));
  QCOMPARE(log.Button1->text(), QStringLiteral("&Zamknij"));

  // The view shows the report in the window's font and size: a short
  // report, its 96-character rules included, needs no horizontal scrolling.
  QCOMPARE(QFontInfo(log.RichEditLOG->font()).family(), QFontInfo(log.font()).family());
  QCOMPARE(log.RichEditLOG->font().pointSizeF(), log.font().pointSizeF());
  log.RichEditLOG->UstawRaport(PrawdziwyRaport());
  QCOMPARE(log.RichEditLOG->horizontalScrollBar()->maximum(), 0);

  // The four labels exist with their texts and never show.
  const std::pair<QLabel*, const char*> etykiety[] = {
      {log.Label1, "Linia:"}, {log.LiniaIdx, "0"}, {log.Label2, "Kolumna:"}, {log.KolumnaIdx, "0"}};
  for (auto [l, t] : etykiety) {
    QCOMPARE(l->text(), QString::fromLatin1(t));
    QVERIFY(!l->isVisible());
  }

  // Resizing: the bars keep their height, the view fills the rest, and the
  // close button keeps its distance from the left edge.
  log.resize(900, 700);
  QCOMPARE(log.Panel2->geometry(), QRect(0, 659, 900, 41));
  QCOMPARE(log.RichEditLOG->geometry(), QRect(6, 6, 888, 606));
  QCOMPARE(log.Button1->pos(), QPoint(596, 8));

  // The Alt accelerators press their buttons; nothing is the default.
  for (QPushButton* b : {log.Button1, log.Button2, log.Button3}) QVERIFY(!b->isDefault());
}

void TestLog::otwieranieIZamykanie() {
  TRecordingUserMessages m;
  TFormLOG log(m);
  log.RichEditLOG->UstawRaport(RaportLinii(300));
  m.Zajety(true);

  bool esc = false;
  // Esc does nothing; "&Zamknij" closes.
  NaDialogu([&](QWidget* w) {
    QCOMPARE(w, static_cast<QWidget*>(&log));
    QTest::keyClick(log.RichEditLOG, Qt::Key_Escape);
    esc = log.isVisible();
    log.RichEditLOG->UstawKursor(2000);
    log.RichEditLOG->PokazKursor();
    log.move(300, 200);
    log.Button1->click();
  });
  log.PokazModalnie();
  QVERIFY(esc);
  QVERIFY(!log.isVisible());
  // The busy cursor that was on before is on again.
  QVERIFY(m.CzyZajety());
  const int przewiniecie = log.RichEditLOG->verticalScrollBar()->value();
  QVERIFY(przewiniecie > 0);

  // The second opening: same place, text, caret and scroll; the close box
  // (a close event) ends it too.
  QPoint pozycja;
  NaDialogu([&](QWidget*) {
    pozycja = log.pos();
    // Enter in the view reaches no button; on the focused "&Zamknij" it
    // presses that button.
    QTest::keyClick(log.RichEditLOG, Qt::Key_Return);
    QVERIFY(log.isVisible());
    log.Button1->setFocus();
    QTest::keyClick(log.Button1, Qt::Key_Return);
    QVERIFY(!log.isVisible());
    QCOMPARE(log.RichEditLOG->Kursor(), 2000);
    QCOMPARE(log.RichEditLOG->verticalScrollBar()->value(), przewiniecie);
    log.close();
  });
  log.PokazModalnie();
  QCOMPARE(pozycja, QPoint(300, 200));
  QCOMPARE(log.RichEditLOG->Raport(), RaportLinii(300));
}

void TestLog::zapisBajtZaBajt() {
  QTemporaryDir dir;
  TRecordingUserMessages m;
  TFormLOG log(m);
  const std::string raport = PrawdziwyRaport();
  log.RichEditLOG->UstawRaport(raport);

  // Onto a longer file: only the report stays.
  const QString plik = dir.filePath(QStringLiteral("raport.TXT"));
  Zapisz(plik, std::string(100000, 'z'));
  m.OdpowiedziZapisz = {Sciezka(plik)};
  log.Button2->click();
  QVERIFY(m.Teksty(Rodzaj::Blad).empty());
  QCOMPARE(Czytaj(plik), raport);
  QVERIFY(raport.ends_with("Koniec pliku LOG\r\n"));
  QVERIFY(raport.find(std::string(96, '_') + "\r\n") != std::string::npos);
  // Nothing beside it: no temporary file left.
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("raport.TXT")});
  // The window stays open and the view keeps its text.
  QCOMPARE(log.RichEditLOG->Raport(), raport);
}

void TestLog::zapisAnulowanyIBledy() {
  QTemporaryDir dir;
  TRecordingUserMessages m;
  TFormLOG log(m);
  log.RichEditLOG->UstawRaport(RaportLinii(3));

  log.Button2->click();  // the dialog is cancelled
  QCOMPARE(m.Teksty(Rodzaj::Zapisz).size(), 1u);
  QVERIFY(m.Teksty(Rodzaj::Blad).empty());
  QVERIFY(QDir(dir.path()).isEmpty());

  // A folder that is not there: the error names the full path and the
  // system's reason, and reaches the error box with its final ".".
  const QString brak = dir.filePath(QStringLiteral("brak/r.TXT"));
  m.OdpowiedziZapisz = {Sciezka(brak)};
  log.Button2->click();
  QCOMPARE(m.Teksty(Rodzaj::Blad),
           std::vector<std::string>{"Cannot create file \"" + Sciezka(brak) +
                                    "\". No such file or directory."});
}

void TestLog::zapisBezPrawaZapisu() {
  // A folder only root may write to, and the save made by "nobody" in a
  // child process: root itself would be let in.
  QTemporaryDir dir;
  // Read and enter only: nobody but root may create a file in it.
  QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                                QFile::ExeGroup | QFile::ReadOther |
                                                QFile::ExeOther));
  const std::string cel = Sciezka(dir.filePath(QStringLiteral("r.TXT")));
  const auto wynik = test_support::RunAsNobody([&]() -> std::string {
    raport::ZapiszRaport(cel, "raport\r\n");
    return "saved";
  });
  QVERIFY(wynik.ended);
  QCOMPARE(wynik.message, "exception: Cannot create file \"" + cel + "\". Permission denied");
  QVERIFY(QDir(dir.path()).isEmpty());
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestLog::nieudanyZapisZostawiaStaryPlik() {
  // A file-size limit makes the write fail part-way, as a full disk would.
  QTemporaryDir dir;
  TRecordingUserMessages m;
  TFormLOG log(m);
  const std::string raport(1 << 20, 'r');
  log.RichEditLOG->UstawRaport(raport);
  const QString plik = dir.filePath(QStringLiteral("stary.TXT"));
  Zapisz(plik, "stara tresc\r\n");

  rlimit stary{};
  QVERIFY(getrlimit(RLIMIT_FSIZE, &stary) == 0);
  rlimit maly = stary;
  maly.rlim_cur = 4096;
  const auto sygnal = std::signal(SIGXFSZ, SIG_IGN);
  QVERIFY(setrlimit(RLIMIT_FSIZE, &maly) == 0);
  m.OdpowiedziZapisz = {Sciezka(plik)};
  log.Button2->click();
  setrlimit(RLIMIT_FSIZE, &stary);
  std::signal(SIGXFSZ, sygnal);

  QCOMPARE(m.Teksty(Rodzaj::Blad), std::vector<std::string>{"Failed to Save Stream."});
  QCOMPARE(Czytaj(plik), std::string("stara tresc\r\n"));
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
           QStringList{QStringLiteral("stary.TXT")});
}

void TestLog::dialogZapisu() {
  // The real save dialog, driven from inside its own event loop.
  QTemporaryDir dir;
  TQtUserMessages m;
  TFormLOG log(m);
  log.RichEditLOG->UstawRaport(RaportLinii(2));

  // A name typed without an extension gets ".TXT"; the filter is the one
  // described.
  QStringList filtry;
  NaDialogu([&](QWidget* w) {
    auto* d = qobject_cast<QFileDialog*>(w);
    if (!d) {
      w->close();
      return;
    }
    filtry = d->nameFilters();
    d->setDirectory(dir.path());
    d->selectFile(QStringLiteral("raport"));
    QMetaObject::invokeMethod(d, "accept");
  });
  log.Button2->click();
  QCOMPARE(filtry, QStringList{QStringLiteral("Pliki tekstowe (*.TXT)")});
  const QString plik = dir.filePath(QStringLiteral("raport.TXT"));
  QCOMPARE(Czytaj(plik), RaportLinii(2));

  // The next opening presets that name; replacing it asks first, and a
  // "No" writes nothing.
  log.RichEditLOG->UstawRaport(RaportLinii(5));
  QStringList preset;
  bool zapytal = false;
  NaDialogu([&](QWidget* w) {
    auto* d = qobject_cast<QFileDialog*>(w);
    if (!d) {
      w->close();
      return;
    }
    preset = d->selectedFiles();
    NaDialogu([&](QWidget* p) {
      auto* pytanie = qobject_cast<QMessageBox*>(p);
      zapytal = pytanie != nullptr;
      if (pytanie) pytanie->button(QMessageBox::No)->click();
    });
    QMetaObject::invokeMethod(d, "accept");
  });
  log.Button2->click();
  QCOMPARE(preset, QStringList{plik});
  QVERIFY(zapytal);
  QCOMPARE(Czytaj(plik), RaportLinii(2));

  // "Yes" replaces it.
  NaDialogu([&](QWidget* w) {
    auto* d = qobject_cast<QFileDialog*>(w);
    if (!d) {
      w->close();
      return;
    }
    NaDialogu([](QWidget* p) {
      if (auto* pytanie = qobject_cast<QMessageBox*>(p)) pytanie->button(QMessageBox::Yes)->click();
    });
    QMetaObject::invokeMethod(d, "accept");
  });
  log.Button2->click();
  QCOMPARE(Czytaj(plik), RaportLinii(5));
}

void TestLog::drukKrotkiNaJednejStronie() {
  QTemporaryDir dir;
  TRecordingUserMessages m;
  TFormLOG log(m);
  log.RichEditLOG->UstawRaport(PrawdziwyRaport());
  const QString pdf = dir.filePath(QStringLiteral("krotki.pdf"));
  auto d = DrukarkaPdf(pdf);
  QCOMPARE(log.Drukuj(*d), 1);
  QCOMPARE(d->docName(), QStringLiteral("Plik LOG"));
  QCOMPARE(StronyPdf(pdf), 1);
  const QStringList s = StronaPdf(pdf, 1);
  QVERIFY(!s.isEmpty());
  // From the first character on; no header of our own before it.
  QVERIFY(s.front().startsWith(QString::fromUtf8("Lista błędów w pliku /tmp/przelewy.txt")));
  QCOMPARE(s.back(), QStringLiteral("Koniec pliku LOG"));
  // The page area is the whole printable area: no margins of our own.
  QCOMPARE(d->pageLayout().margins(), QMarginsF(0, 0, 0, 0));
  // In the view's font and size, the window's: the 96-character rule is as
  // wide on paper as that font makes it (a monospaced face would make it
  // nearly twice as wide).
  const QFont f(log.RichEditLOG->font(), d.get());
  QCOMPARE(QFontInfo(f).family(), QFontInfo(log.font()).family());
  const double punkty = QFontMetricsF(f, d.get()).horizontalAdvance(QString(96, QLatin1Char('_'))) *
                        72.0 / d->logicalDpiX();
  const double naPapierze = SzerokoscSlowaPdf(pdf, QStringLiteral("____"));
  QVERIFY2(
      std::abs(naPapierze - punkty) < 0.05 * punkty,
      qPrintable(QStringLiteral("%1 pt on paper, %2 pt expected").arg(naPapierze).arg(punkty)));
}

void TestLog::drukDlugiCiaglyNaWieluStronach() {
  QTemporaryDir dir;
  TRecordingUserMessages m;
  TFormLOG log(m);
  // Numbered lines, and one line far wider than the page, which wraps.
  std::string raport = RaportLinii(150);
  std::string szeroka;
  for (int i = 0; i < 60; ++i) szeroka += "kol" + std::to_string(100 + i) + "_";
  raport += szeroka + "\r\n" + RaportLinii(150).replace(0, 1, "W");
  log.RichEditLOG->UstawRaport(raport);
  const QString pdf = dir.filePath(QStringLiteral("dlugi.pdf"));
  auto d = DrukarkaPdf(pdf);
  const int strony = log.Drukuj(*d);
  QVERIFY2(strony >= 3, qPrintable(QString::number(strony)));
  QCOMPARE(StronyPdf(pdf), strony);

  // Read page by page, the pages give back every line in order, each page
  // beginning right after the last line of the page before.
  QStringList wszystkie;
  for (int n = 1; n <= strony; ++n) {
    const QStringList s = StronaPdf(pdf, n);
    QVERIFY2(!s.isEmpty(), qPrintable(QStringLiteral("page %1 empty").arg(n)));
    wszystkie += s;
  }
  // The wide line comes back whole once its pieces are joined.
  QString zlozona;
  int i = 150;
  while (i < wszystkie.size() && !wszystkie[i].startsWith(QStringLiteral("Wiersz")))
    zlozona += wszystkie[i++];
  QVERIFY2(i - 150 >= 2, "the wide line did not wrap");
  QCOMPARE(zlozona, QString::fromStdString(szeroka));
  QStringList oczekiwane;
  for (int k = 1; k <= 150; ++k) oczekiwane << QStringLiteral("wiersz %1 raportu").arg(k);
  QCOMPARE(wszystkie.mid(0, 150), oczekiwane);
  oczekiwane[0] = QStringLiteral("Wiersz 1 raportu");
  QCOMPARE(wszystkie.mid(i), oczekiwane);
}

void TestLog::drukBezDrukarkiINiewazna() {
  QTemporaryDir dir;
  TRecordingUserMessages m;
  TFormLOG log(m);
  log.RichEditLOG->UstawRaport(RaportLinii(3));

  // No print server: the error comes before any dialog.
  log.Button3->click();
  QCOMPARE(m.Teksty(Rodzaj::Blad),
           std::vector<std::string>{"There is no default printer currently selected."});
  QVERIFY(m.Teksty(Rodzaj::Drukarka).empty());

  // A printer that cannot be drawn on prints nothing.
  const QString pdf = dir.filePath(QStringLiteral("brak/x.pdf"));
  auto d = DrukarkaPdf(pdf);
  QVERIFY_THROWS_EXCEPTION(std::runtime_error, log.Drukuj(*d));
  try {
    log.Drukuj(*d);
  } catch (const std::runtime_error& e) {
    QCOMPARE(std::string(e.what()), std::string("Printer selected is not valid"));
  }
  QVERIFY(!QFile::exists(pdf));
  QPrinter usunieta;
  usunieta.setPrinterName(QStringLiteral("usunieta-drukarka"));
  QVERIFY_THROWS_EXCEPTION(std::runtime_error, log.Drukuj(usunieta));
}

int main(int argc, char** argv) {
  // These tests never reach a print server: printing goes to PDF files and
  // the "no printer" case must find none.
  setenv("CUPS_SERVER", "/nonexistent/cups-for-tests.sock", 1);
  unsetenv("PRINTER");
  unsetenv("LPDEST");
  QApplication app(argc, argv);
  TestLog t;
  return QTest::qExec(&t, argc, argv);
}

#include "test_log.moc"
