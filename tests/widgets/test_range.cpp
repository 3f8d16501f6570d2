#include "widgets/ti_knob.h"
#include "widgets/ti_led_bar.h"
#include "widgets/ti_linear_gauge.h"
#include "widgets/ti_number.h"
#include "widgets/ti_thermometer.h"

#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <limits>
#include <stdexcept>

using namespace lq;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Mean height of the pixels that are clearly the gauge's blue pointer; -1 when none is drawn.
double PointerRow(TiLinearGauge& gauge) {
    const QImage img = gauge.grab().toImage();
    double sum = 0;
    int count = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.blue() > 150 && c.red() < 90 && c.green() < 90) {
                sum += y;
                ++count;
            }
        }
    return count ? sum / count : -1;
}

} // namespace

class RangeTest : public QObject {
    Q_OBJECT
    QWidget* host_ = nullptr;
    TiKnob* knob_ = nullptr;
    int clicks_ = 0;
    int finished_ = 0;

    // True when the knob took the event; one it leaves unaccepted goes on to its parent.
    bool SendWheel(int delta, quint64 timestampMs) {
        const QPointF at(75, 75);
        QWheelEvent e(at, knob_->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        e.setTimestamp(timestampMs);
        QApplication::sendEvent(knob_, &e);
        return e.isAccepted();
    }

  private slots:
    void init() {
        host_ = new QWidget;
        host_->resize(300, 200);
        knob_ = new TiKnob(host_);
        knob_->OnClick = [this](TiComponent*) { ++clicks_; };
        knob_->OnPositionChangeFinished = [this](TiComponent*) { ++finished_; };
        clicks_ = finished_ = 0;
        host_->show();
        QVERIFY(QTest::qWaitForWindowActive(host_));
    }
    void cleanup() { delete host_; }

    void clamping_data() {
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<double>("set");
        QTest::addColumn<double>("expected");
        QTest::newRow("inside") << 0.0 << 100.0 << 42.5 << 42.5;
        QTest::newRow("above") << 0.0 << 100.0 << 150.0 << 100.0;
        QTest::newRow("below") << 0.0 << 100.0 << -5.0 << 0.0;
        QTest::newRow("nan") << 10.0 << 100.0 << kNaN << 10.0;
        QTest::newRow("+inf") << 0.0 << 100.0 << kInf << 100.0;
        QTest::newRow("-inf") << 0.0 << 100.0 << -kInf << 0.0;
        QTest::newRow("empty span") << 0.0 << 0.0 << 7.0 << 0.0;
        QTest::newRow("inverted span") << 10.0 << 5.0 << 7.0 << 10.0;
    }
    void clamping() {
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(double, set);
        QFETCH(double, expected);
        TiLinearGauge gauge;
        gauge.SetPositionMax(max);
        gauge.SetPositionMin(min);
        gauge.SetPosition(set);
        QCOMPARE(gauge.Position(), expected);
        QVERIFY(gauge.RelativePosition() >= 0 && gauge.RelativePosition() <= 1);
    }

    void reclampOnRangeChange() {
        TiLinearGauge gauge;
        int changes = 0;
        gauge.OnPositionChange = [&](TiComponent*) { ++changes; };
        gauge.SetPosition(80);
        QCOMPARE(changes, 1);
        gauge.SetPositionMax(50);
        QCOMPARE(gauge.Position(), 50.0);
        QCOMPARE(changes, 2);
        gauge.SetPositionMax(200);
        gauge.SetPosition(50);
        QCOMPARE(changes, 2);
        gauge.SetPositionMin(60);
        QCOMPARE(gauge.Position(), 60.0);
        QCOMPARE(changes, 3);
        gauge.SetPositionMin(0);
        gauge.SetPositionMax(0);
        QCOMPARE(gauge.Position(), 0.0);
        QCOMPARE(gauge.RelativePosition(), 0.0);
    }

    void loadingStoresUnclamped() {
        TiThermometer t;
        int changes = 0;
        t.OnPositionChange = [&](TiComponent*) { ++changes; };
        t.BeginLoading();
        t.SetPosition(150);
        t.SetPositionMax(120);
        t.EndLoading();
        QCOMPARE(t.Position(), 150.0);
        QCOMPARE(t.RelativePosition(), 1.0);
        QCOMPARE(changes, 0);
    }

    void gaugePointerFollowsPosition() {
        TiLinearGauge gauge(host_);
        gauge.resize(60, 96);
        gauge.SetPositionMax(380);
        gauge.SetPosition(0);
        const double atMin = PointerRow(gauge);
        gauge.SetPosition(380);
        const double atMax = PointerRow(gauge);
        gauge.SetPosition(190);
        const double atMid = PointerRow(gauge);
        QVERIFY(atMin > 0 && atMax > 0);
        QVERIFY(atMax < atMid && atMid < atMin);
        QVERIFY(std::abs(atMid - (atMin + atMax) / 2) < 1.5);
        gauge.SetPositionMax(0);
        QVERIFY(std::abs(PointerRow(gauge) - atMin) < 0.5);
    }

    void dragTurnsByAngle() {
        QTest::mousePress(knob_, Qt::LeftButton, {}, QPoint(95, 75)); // east of the centre
        QTest::mouseMove(knob_, QPoint(75, 95));                      // south: 90 degrees clockwise
        QCOMPARE(knob_->Position(), 100.0 / 3);
        QTest::mouseMove(knob_, QPoint(55, 75)); // west
        QCOMPARE(knob_->Position(), 200.0 / 3);
        QTest::mouseMove(knob_, QPoint(75, 55)); // north, across the atan2 seam
        QCOMPARE(knob_->Position(), 100.0);
        QTest::mouseMove(knob_, QPoint(95, 75)); // beyond the end stays at the end
        QCOMPARE(knob_->Position(), 100.0);
        QTest::mouseMove(knob_, QPoint(75, 55)); // counter-clockwise lowers again
        QCOMPARE(knob_->Position(), 200.0 / 3);
        QTest::mouseRelease(knob_, Qt::LeftButton, {}, QPoint(75, 55));
        QCOMPARE(clicks_, 1);
        QCOMPARE(finished_, 1);
    }

    void dragEndingOutsideChangesWithoutClick() {
        int order = 0, clickAt = 0, finishedAt = 0;
        knob_->OnClick = [&](TiComponent*) { clickAt = ++order; };
        knob_->OnPositionChangeFinished = [&](TiComponent*) { finishedAt = ++order; };
        QTest::mousePress(knob_, Qt::LeftButton, {}, QPoint(95, 75));
        QTest::mouseMove(knob_, QPoint(75, 95));
        QTest::mouseMove(knob_, QPoint(75, 180));
        QTest::mouseRelease(knob_, Qt::LeftButton, {}, QPoint(75, 180));
        QCOMPARE(knob_->Position(), 100.0 / 3);
        QCOMPARE(clickAt, 0);
        QCOMPARE(finishedAt, 1);

        QTest::mousePress(knob_, Qt::LeftButton, {}, QPoint(95, 75));
        QTest::mouseMove(knob_, QPoint(75, 95));
        QTest::mouseRelease(knob_, Qt::LeftButton, {}, QPoint(75, 95));
        QVERIFY(clickAt > 0 && clickAt < finishedAt);
    }

    void gripRadius_data() {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<bool>("drags");
        QTest::newRow("34 px") << QPoint(75 + 34, 75) << true;
        QTest::newRow("35 px") << QPoint(75 + 35, 75) << false;
        QTest::newRow("33.94 rounds to 34") << QPoint(75 + 24, 75 + 24) << true;
        QTest::newRow("34.66 rounds to 35") << QPoint(75 + 24, 75 + 25) << false;
        QTest::newRow("rim") << QPoint(75, 75 - 50) << false;
    }
    void gripRadius() {
        QFETCH(QPoint, press);
        QFETCH(bool, drags);
        knob_->SetPosition(50);
        QTest::mousePress(knob_, Qt::LeftButton, {}, press);
        QCOMPARE(knob_->Dragging(), drags);
        QTest::mouseMove(knob_, QPoint(75, 75 + 30));
        QTest::mouseRelease(knob_, Qt::LeftButton, {}, QPoint(75, 75 + 30));
        QCOMPARE(knob_->Position() != 50.0, drags);
        QCOMPARE(clicks_, 1);
    }

    // With an odd height the centre sits on a half pixel, so a press straight below it can be exactly
    // x.5 pixels away; the distance rounds to even before it is compared with the grip radius.
    void gripDistanceTiesToEven_data() {
        QTest::addColumn<int>("radius");
        QTest::addColumn<double>("distance");
        QTest::addColumn<bool>("drags");
        QTest::newRow("34.5 -> 34 inside 35") << 35 << 34.5 << true;
        QTest::newRow("33.5 -> 34 inside 35") << 35 << 33.5 << true;
        QTest::newRow("35.5 -> 36 outside 35") << 35 << 35.5 << false;
        QTest::newRow("22.5 -> 22 inside 23") << 23 << 22.5 << true;
        QTest::newRow("23.5 -> 24 outside 24") << 24 << 23.5 << false;
    }
    void gripDistanceTiesToEven() {
        QFETCH(int, radius);
        QFETCH(double, distance);
        QFETCH(bool, drags);
        knob_->resize(150, 151);
        knob_->SetKnobRadius(radius);
        const QPoint press(75, int(75.5 + distance));
        QCOMPARE(press.y() - 75.5, distance);
        QTest::mousePress(knob_, Qt::LeftButton, {}, press);
        QCOMPARE(knob_->Dragging(), drags);
        QTest::mouseRelease(knob_, Qt::LeftButton, {}, press);
    }

    void keySteps_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<double>("expected");
        QTest::newRow("right") << int(Qt::Key_Right) << 5000.2;
        QTest::newRow("up") << int(Qt::Key_Up) << 5000.2;
        QTest::newRow("left") << int(Qt::Key_Left) << 4999.8;
        QTest::newRow("down") << int(Qt::Key_Down) << 4999.8;
        QTest::newRow("page up") << int(Qt::Key_PageUp) << 5002.0;
        QTest::newRow("page down") << int(Qt::Key_PageDown) << 4998.0;
        QTest::newRow("home") << int(Qt::Key_Home) << 0.0;
        QTest::newRow("end") << int(Qt::Key_End) << 10000.0;
    }
    void keySteps() {
        QFETCH(int, key);
        QFETCH(double, expected);
        knob_->SetPositionMax(10000);
        knob_->SetPosition(5000);
        knob_->setFocus();
        QTest::keyClick(knob_, Qt::Key(key));
        QCOMPARE(knob_->Position(), expected);
        QCOMPARE(finished_, 1);
        QCOMPARE(clicks_, 0);
        knob_->SetUseKeyboard(false);
        QTest::keyClick(knob_, Qt::Key(key));
        QCOMPARE(knob_->Position(), expected);
    }

    // Enter clicks (on its release), Escape puts back where the keys took the knob from since the last
    // click; a mouse press takes the turn over, so Escape after it has nothing to put back.
    void enterClicksAndEscapeTakesBack_data() {
        QTest::addColumn<QString>("keys"); // U: Up, E: Enter, X: Escape, M: a press and release on the rim
        QTest::addColumn<double>("position");
        QTest::addColumn<int>("clicks");
        QTest::newRow("turn, Enter") << "UUE" << 50.4 << 1;
        QTest::newRow("turn, Escape") << "UUX" << 50.0 << 0;
        QTest::newRow("turn, Enter, turn, Escape") << "UEUX" << 50.2 << 1;
        QTest::newRow("turn, click, Escape") << "UMX" << 50.2 << 1;
        QTest::newRow("Escape alone") << "X" << 50.0 << 0;
    }
    void enterClicksAndEscapeTakesBack() {
        QFETCH(QString, keys);
        QFETCH(double, position);
        QFETCH(int, clicks);
        knob_->SetPosition(50);
        knob_->setFocus();
        for (const QChar k : keys) {
            if (k == 'M')
                QTest::mouseClick(knob_, Qt::LeftButton, {}, QPoint(3, 3));
            else
                QTest::keyClick(knob_, k == 'U' ? Qt::Key_Up : k == 'E' ? Qt::Key_Return : Qt::Key_Escape);
        }
        QCOMPARE(knob_->Position(), position);
        QCOMPARE(clicks_, clicks);
    }

    void keyRuleAroundOnKeyDown() {
        knob_->SetPositionMax(10000);
        knob_->SetPosition(5000);
        knob_->setFocus();
        double seen = 0;
        knob_->OnKeyDown = [&](TiComponent*, int, Qt::KeyboardModifiers) {
            seen = knob_->Position();
            throw std::runtime_error("handler failed");
        };
        QTest::keyClick(knob_, Qt::Key_Right);
        QCOMPARE(seen, 5000.1);
        QCOMPARE(knob_->Position(), 5000.2);
        QTest::keyClick(knob_, Qt::Key_Right);
        QCOMPARE(knob_->Position(), 5000.4);
    }

    void wheelNotchFilter_data() {
        QTest::addColumn<QList<int>>("deltas");
        QTest::addColumn<QList<int>>("times");
        QTest::addColumn<double>("expected");
        QTest::newRow("spaced") << QList<int>{120, 120, 120} << QList<int>{1000, 1100, 1200} << 53.0;
        QTest::newRow("burst") << QList<int>{120, 120, 120, 120} << QList<int>{1000, 1010, 1029, 1030}
                               << 52.0;
        QTest::newRow("from last accepted")
            << QList<int>{120, 120, 120} << QList<int>{1000, 1020, 1040} << 52.0;
        QTest::newRow("down, part of a notch") << QList<int>{-120, -15} << QList<int>{1000, 2000} << 49.0;
        QTest::newRow("no delta") << QList<int>{0, 120} << QList<int>{1000, 1001} << 51.0;
        QTest::newRow("touchpad steps add up")
            << QList<int>{15, 15, 15, 15, 15, 15, 15, 15}
            << QList<int>{1000, 1050, 1100, 1150, 1200, 1250, 1300, 1350} << 51.0;
        QTest::newRow("remainder carries") << QList<int>{90, 90, 60} << QList<int>{1000, 1100, 1200} << 52.0;
        QTest::newRow("reversal starts afresh") << QList<int>{90, -120} << QList<int>{1000, 1100} << 49.0;
        QTest::newRow("two notches at once") << QList<int>{240} << QList<int>{1000} << 51.0;
    }
    void wheelNotchFilter() {
        QFETCH(QList<int>, deltas);
        QFETCH(QList<int>, times);
        QFETCH(double, expected);
        knob_->SetPosition(50);
        knob_->setFocus();
        for (int i = 0; i < deltas.size(); ++i)
            QVERIFY(SendWheel(deltas[i], quint64(times[i])));
        QCOMPARE(knob_->Position(), expected);
        QCOMPARE(finished_, int(std::abs(expected - 50)));
    }

    // The wheel belongs to a knob only while it has the focus and its keys are on; otherwise the event is
    // left unaccepted, which sends it on to the parent, and the knob does not move.
    void wheelNeedsFocusAndKeyboard_data() {
        QTest::addColumn<bool>("focused");
        QTest::addColumn<bool>("useKeyboard");
        QTest::addColumn<bool>("taken");
        QTest::newRow("focused") << true << true << true;
        QTest::newRow("pointer passing over") << false << true << false;
        QTest::newRow("keys off") << true << false << false;
    }
    void wheelNeedsFocusAndKeyboard() {
        QFETCH(bool, focused);
        QFETCH(bool, useKeyboard);
        QFETCH(bool, taken);
        knob_->SetPosition(50);
        knob_->SetUseKeyboard(useKeyboard);
        if (focused)
            knob_->setFocus();
        else
            knob_->clearFocus();
        QCOMPARE(knob_->hasFocus(), focused);
        QCOMPARE(SendWheel(120, 1000), taken);
        QCOMPARE(knob_->Position(), taken ? 51.0 : 50.0);
        QCOMPARE(finished_, taken ? 1 : 0);
    }

    void positionDisplayText() {
        knob_->SetPosition(12.34);
        knob_->SetPositionDisplayUnits("V");
        QCOMPARE(knob_->PositionDisplayText(), QString("12.3V"));
        knob_->SetPositionDisplayPrecision(-2);
        QCOMPARE(knob_->PositionDisplayText(), QString("12V"));
    }

    void ledBarSegments_data() {
        QTest::addColumn<int>("height");
        QTest::addColumn<double>("position");
        QTest::addColumn<int>("segments");
        QTest::addColumn<int>("lit");
        QTest::newRow("default length") << 200 << 0.0 << 28 << 0;
        QTest::newRow("panel bar") << 153 << 100.0 << 21 << 21;
        QTest::newRow("too short") << 7 << 50.0 << 0 << 0;
        QTest::newRow("half a segment") << 72 << 5.0 << 10 << 1;
        QTest::newRow("tie 1.5 -> 2") << 72 << 10.0 << 10 << 2;
        QTest::newRow("tie 2.5 -> 2") << 72 << 20.0 << 10 << 2;
        QTest::newRow("3.0") << 72 << 25.0 << 10 << 3;
        QTest::newRow("tie 3.5 -> 4") << 72 << 30.0 << 10 << 4;
        QTest::newRow("full") << 72 << 100.0 << 10 << 10;
    }
    void ledBarSegments() {
        QFETCH(int, height);
        QFETCH(double, position);
        QFETCH(int, segments);
        QFETCH(int, lit);
        TiLedBar bar;
        bar.resize(25, height);
        bar.SetPosition(position);
        QCOMPARE(bar.SegmentCount(), segments);
        QCOMPARE(bar.LitSegmentCount(), lit);
    }

    void ledBarDrawsLitAndDimSegments() {
        TiLedBar bar(host_);
        bar.resize(25, 72);
        bar.SetSectionColor1(clYellow);
        bar.SetPosition(50);
        const QImage img = bar.grab().toImage();
        // Segment 0 sits at the bottom, segment 9 at the top; both are sampled in their middle row.
        const QColor bottom = img.pixelColor(12, 72 - 2 - 7 + 2 + 2);
        const QColor top = img.pixelColor(12, 72 - 2 - 70 + 2 + 2);
        QCOMPARE(bottom, ToQColor(clYellow));
        QCOMPARE(top, ToQColor(DimColor(clYellow)));
    }
};

QTEST_MAIN(RangeTest)
#include "test_range.moc"
