// Both windows with a window font 16 pixels high (run under a private
// fontconfig file, see CMakeLists.txt): the layouts, given for 13 pixels,
// scale by 16/13, as at a larger system font or display scaling.
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "OknoTestowe.h"
#include "RecordingUserMessages.h"
#include "UwagiWszystkichRodzajow.h"
#include "layout/OnScreen.h"
#include "layout/WindowBuilder.h"
#include "okno_glowne/glow.h"
#include "okno_rachunkow/FormRachunki.h"
#include "okno_raportu/LOG.h"
#include "typy/Typy.h"

namespace {

int S(int piksele) {
  return (piksele * 16 + 6) / 13;
}
QRect P(int l, int t, int w, int h) {
  return QRect(S(l), S(t), S(l + w) - S(l), S(t + h) - S(t));
}

}  // namespace

class TestSkalaOkien : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY2(QFontMetrics(ui::CzcionkaOkna()).height() == 16,
             "the private fontconfig file did not give a 16-pixel window font "
             "(scripts/install-deps.sh test installs the face it renames)");
  }

  // A window that would stick out of the work area is moved just inside;
  // one larger than the area keeps its title bar on the screen.
  void polozenieWObszarze() {
    const QRect obszar(0, 0, 1600, 960);  // 1600 x 1000 less a taskbar
    const struct {
      QRect okno;
      QPoint oczekiwane;
    } przypadki[] = {
        {QRect(100, 100, 790, 553), QPoint(100, 100)},   // inside: stays
        {QRect(598, 332, 1045, 817), QPoint(555, 143)},  // 150 %: up and left
        {QRect(-30, -5, 400, 300), QPoint(0, 0)},        // off the top left
        {QRect(500, 400, 1700, 1200), QPoint(0, 0)},     // larger than the area
        {QRect(1000, 900, 600, 60), QPoint(1000, 900)},  // touching the edges
        {QRect(1000, 901, 600, 60), QPoint(1000, 900)},  // one row beyond
    };
    for (const auto& p : przypadki) QCOMPARE(ui::PolozenieWObszarze(p.okno, obszar), p.oczekiwane);
    // A work area that does not start at the origin (a taskbar on top).
    QCOMPARE(ui::PolozenieWObszarze(QRect(10, 0, 100, 100), QRect(0, 40, 1600, 960)),
             QPoint(10, 40));

    // A taskbar the system left inside the work area is taken out, on
    // whichever edge it is docked; one outside it, or not docked on an edge,
    // changes nothing.
    const QRect ekran(0, 0, 1600, 1000);
    const struct {
      QRect obszar, pasek, oczekiwany;
    } paski[] = {
        {ekran, QRect(0, 960, 1600, 40), QRect(0, 0, 1600, 960)},    // bottom
        {ekran, QRect(-2, 958, 1604, 44), QRect(0, 0, 1600, 958)},   // bottom, past the edges
        {ekran, QRect(0, 0, 1600, 40), QRect(0, 40, 1600, 960)},     // top
        {ekran, QRect(0, 0, 60, 1000), QRect(60, 0, 1540, 1000)},    // left
        {ekran, QRect(1540, 0, 60, 1000), QRect(0, 0, 1540, 1000)},  // right
        {QRect(0, 0, 1600, 960), QRect(0, 960, 1600, 40), QRect(0, 0, 1600, 960)},  // left out
        {ekran, QRect(600, 400, 200, 40), ekran},                                   // floating
        {ekran, QRect(0, 0, 1600, 1000), ekran},  // the whole screen
    };
    for (const auto& p : paski) QCOMPARE(ui::ObszarBezPaska(p.obszar, p.pasek), p.oczekiwany);
  }

  // The strip's sentence and button, measured with this font: the button's
  // whole text fits, and both stay inside the strip.
  void pasekListy() {
    test::TOkno o;
    o.Sprawdz(o.Plik("lista.txt",
                     "1;Zdzis\xC5\x82"
                     "aw Ma\xC5\x84kowski;z\xC5\x82ota \xE2\x80\x93 x\r\n"));
    auto* przycisk = o.w.ButtonPoprawAutomatycznie;
    QVERIFY(przycisk->isVisible());
    QVERIFY(przycisk->width() >= przycisk->sizeHint().width());
    QVERIFY(przycisk->x() > o.w.LabelKodowanie->geometry().right());
    QVERIFY(przycisk->geometry().right() < o.w.Panel3->width());
  }

  void oknoGlowne() {
    Typy::TStan stan;
    ui::TRecordingUserMessages m;
    TFormGlow w(stan, m);
    w.show();
    QCOMPARE(w.size(), QSize(962, 647));
    QCOMPARE(w.Button3->geometry(), P(12, 8, 213, 25));
  }

  void oknoRaportu() {
    ui::TRecordingUserMessages m;
    TFormLOG log(m);
    QCOMPARE(log.Skaluj(690), S(690));
    // The first opening shows it at its design position, scaled.
    QRect ramka;
    QTimer::singleShot(0, &log, [&] {
      ramka = log.frameGeometry();
      log.close();
    });
    log.PokazModalnie();
    // Scaled, it would stick out of the 800-pixel test screen: it is moved
    // as far inside as it fits.
    const QRect obszar = log.screen()->availableGeometry();
    QCOMPARE(ramka.topLeft(),
             ui::PolozenieWObszarze(QRect(QPoint(S(402), S(221)), ramka.size()), obszar));

    log.show();
    QCOMPARE(log.size(), QSize(S(690), S(519)));
    const std::pair<QWidget*, QRect> elementy[] = {
        {log.Panel1, QRect(0, 0, S(690), S(41))},
        {log.Button2, P(8, 8, 117, 25)},
        {log.Button3, P(144, 8, 117, 25)},
        {log.Panel2, QRect(0, S(519) - S(41), S(690), S(41))},
        {log.Button1, P(596, 8, 75, 25)},
        {log.Panel3, QRect(0, S(41), S(690), S(519) - 2 * S(41))},
        {log.RichEditLOG, QRect(6, 6, S(690) - 12, S(519) - 2 * S(41) - 12)},
    };
    for (const auto& [w, r] : elementy) QCOMPARE(w->geometry(), r);
    QCOMPARE(log.Label1->pos(), QPoint(S(8), S(4)));
    QCOMPARE(log.KolumnaIdx->pos(), QPoint(S(68), S(20)));

    // The view's text is in the window's font, 16 pixels high too, and a
    // short report still fits across.
    QCOMPARE(QFontMetrics(log.RichEditLOG->font()).height(), 16);
    std::string raport = "Lista\r\n" + std::string(96, '-') + "\r\nKoniec pliku LOG\r\n";
    log.RichEditLOG->UstawRaport(raport);
    QCOMPARE(log.RichEditLOG->horizontalScrollBar()->maximum(), 0);
  }

  void oknoRachunkow() {
    ui::TRecordingUserMessages m;
    {
      TFormRachunki f(m);
      f.show();
      QCOMPARE(f.size(), QSize(S(782), S(420)));
      QCOMPARE(f.Panel2->geometry(), QRect(0, S(420) - S(141), S(782), S(141)));
      QCOMPARE(f.ButtonZamknij->geometry(), P(699, 106, 75, 25));
      QCOMPARE(f.MemoLinia->geometry(), P(8, 26, 766, 69));
      QCOMPARE(f.ListaUwag->columnWidth(3), S(300));
    }

    // Every kind of finding in every field, with a long value, in a face
    // wider than the designed one (bold here; a system that substitutes
    // fonts does the same): the line, column, field and what is wrong hold
    // their header and their widest text whole, as the view itself
    // measures them.
    QFont szersza = ui::CzcionkaOkna();
    szersza.setBold(true);
    TFormRachunki f(m, szersza);
    f.show();
    Typy::TStan stan;
    const std::vector<rachunki::TUwagaLinii> uwagi = test_support::UwagiWszystkichRodzajow(stan);
    f.Ustaw(stan, {uwagi, {}, {}});
    const QAbstractItemView& widok = *f.ListaUwag;
    for (int k = 0; k < ui::TModelUwag::kKolumnyCzytaneCale; ++k) {
      const int potrzeba =
          std::max(widok.sizeHintForColumn(k), f.ListaUwag->horizontalHeader()->sectionSizeHint(k));
      QVERIFY2(f.ListaUwag->columnWidth(k) >= potrzeba,
               qPrintable(QStringLiteral("column %1: %2 < %3")
                              .arg(k)
                              .arg(f.ListaUwag->columnWidth(k))
                              .arg(potrzeba)));
    }
    // A short list keeps the designed widths.
    f.Ustaw(stan, {{uwagi.front()}, {}, {}});
    QCOMPARE(f.ListaUwag->columnWidth(0), S(45));
  }
};

QTEST_MAIN(TestSkalaOkien)
#include "test_skala_okien.moc"
