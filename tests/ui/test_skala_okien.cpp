// Both windows with a window font 16 pixels high (run under a private
// fontconfig file, see CMakeLists.txt): the layouts, given for 13 pixels,
// scale by 16/13, as at a larger system font or display scaling.
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "BudowaOkna.h"
#include "LOG.h"
#include "RecordingUserMessages.h"
#include "glow.h"
#include "stan/Typy.h"

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
    QPoint pozycja;
    QTimer::singleShot(0, &log, [&] {
      pozycja = log.pos();
      log.close();
    });
    log.PokazModalnie();
    QCOMPARE(pozycja, QPoint(S(402), S(221)));

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
};

QTEST_MAIN(TestSkalaOkien)
#include "test_skala_okien.moc"
