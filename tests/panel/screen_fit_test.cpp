// The main window on a 1024 x 768 screen, as on many panel PCs: all of it must be on the screen. Run on the
// offscreen platform with a screen of that size (see CMakeLists.txt).
#include <QScreen>
#include <QtTest>

#include "panel/form1.h"
#include "panel/screen_fit.h"

using namespace lq;

class ScreenFitTest : public QObject {
    Q_OBJECT

  private slots:
    void aFrameIsMovedJustEnoughAndNeverResized_data() {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QPoint>("placed");
        const QRect screen(0, 0, 1024, 768);
        QTest::newRow("fits: stays") << QRect(100, 50, 809, 590) << screen << QPoint(100, 50);
        QTest::newRow("designed place on 1024 x 768")
            << QRect(352, 105, 809, 590) << screen << QPoint(215, 105);
        QTest::newRow("below the bottom") << QRect(10, 500, 809, 590) << screen << QPoint(10, 178);
        QTest::newRow("left of the area") << QRect(-40, -20, 809, 590) << screen << QPoint(0, 0);
        QTest::newRow("larger than the area: top left on it")
            << QRect(300, 300, 1200, 900) << screen << QPoint(0, 0);
        QTest::newRow("area with a panel on top")
            << QRect(352, 0, 600, 400) << QRect(0, 30, 1024, 738) << QPoint(352, 30);
    }

    void aFrameIsMovedJustEnoughAndNeverResized() {
        QFETCH(QRect, frame);
        QFETCH(QRect, area);
        QFETCH(QPoint, placed);
        QCOMPARE(PlaceInside(frame, area), placed);
    }

    void aFrameIsShrunkToTheAreaButNotBelowItsMinimum_data() {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QSize>("minimum");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QRect>("fitted");
        const QRect screen(0, 0, 1024, 768);
        QTest::newRow("fits: as it is")
            << QRect(100, 50, 809, 590) << QSize(400, 300) << screen << QRect(100, 50, 809, 590);
        QTest::newRow("wider than the area: as wide as it")
            << QRect(360, 105, 1184, 564) << QSize(600, 400) << screen << QRect(0, 105, 1024, 564);
        QTest::newRow("150 % on 1024 x 768: both ways")
            << QRect(108, 0, 803, 558) << QSize() << QRect(0, 0, 683, 512) << QRect(0, 0, 683, 512);
        QTest::newRow("minimum wider than the area: top left on it")
            << QRect(50, 50, 900, 600) << QSize(700, 300) << QRect(0, 0, 683, 512) << QRect(0, 0, 700, 512);
        QTest::newRow("area with a panel on top")
            << QRect(0, 0, 600, 800) << QSize() << QRect(0, 30, 1024, 738) << QRect(0, 30, 600, 738);
    }

    void aFrameIsShrunkToTheAreaButNotBelowItsMinimum() {
        QFETCH(QRect, frame);
        QFETCH(QSize, minimum);
        QFETCH(QRect, area);
        QFETCH(QRect, fitted);
        QCOMPARE(FitInside(frame, minimum, area), fitted);
    }

    void theWindowOpensWhollyOnA1024x768Screen() {
        QScreen* screen = QGuiApplication::primaryScreen();
        QCOMPARE(screen->availableGeometry(), QRect(0, 0, 1024, 768));
        TForm1 form;
        const QSize designed = form.size();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY2(screen->availableGeometry().contains(form.frameGeometry()),
                 qPrintable(QStringLiteral("frame at %1,%2 size %3x%4")
                                .arg(form.frameGeometry().x())
                                .arg(form.frameGeometry().y())
                                .arg(form.frameGeometry().width())
                                .arg(form.frameGeometry().height())));
        QCOMPARE(form.size(), designed);
    }
};

QTEST_MAIN(ScreenFitTest)
#include "screen_fit_test.moc"
