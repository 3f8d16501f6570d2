// What the panel puts on the wire with a controller that answers at once: the read of each poll tick and the
// writes of a knob click, the run/stop switch and a SET/ENT entry, step by step. The expected trace in
// data/wire_trace_good_controller.txt was recorded from the panel as it stood before writes learned to wait
// for a read in flight, to be repeated, and to be matched with their own echo: with a controller that answers
// within a tick none of that may change a byte or move a frame to another tick. The knob click's value alone
// was recorded again when a key press came to turn a knob by 1 % of its scale (five presses: 50, was 1).
#include <QCheckBox>
#include <QFile>
#include <QtTest>

#include "panel/form1.h"
#include "panel_on_line.h"
#include "widgets/ti_analog_output.h"
#include "widgets/ti_knob.h"
#include "widgets/ti_line_editor.h"
#include "widgets/ti_switch_led.h"

using namespace lq;
using Bytes = std::vector<std::uint8_t>;

namespace {

// The controller's answer: a read of ten registers gets ten zeros, a write its own echo.
Bytes Answer(const Bytes& request) {
    if (request.size() != 8) return {};
    return request[1] == 0x06 ? request : test::PanelOnLine::ReadReply({});
}

QString Hex(const Bytes& frame) {
    QStringList bytes;
    for (std::uint8_t b : frame)
        bytes << QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    return bytes.join(' ');
}

} // namespace

class WireTraceTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::PanelOnLine> rig_;
    QStringList trace_;
    int deliveries_ = 0;

    TForm1& Form() { return rig_->Form(); }

    // Every frame the step put on the line, each answered and its answer handled before the next step.
    void Record(const QString& step) {
        QStringList frames;
        for (;;) {
            // A frame reaches the far side within milliseconds; a quiet spell this long means the step is
            // done.
            const Bytes frame = rig_->Line().Read(8, std::chrono::milliseconds(150));
            if (frame.empty()) break;
            frames << Hex(frame);
            const int before = deliveries_;
            rig_->Line().Write(Answer(frame));
            QTRY_VERIFY(deliveries_ > before);
        }
        trace_ << step + ": " + (frames.isEmpty() ? QStringLiteral("-") : frames.join(" | "));
    }

    void Tick(int n) {
        Form().Timer1Timer();
        Record(QStringLiteral("tick %1").arg(n));
        Form().Timer2Timer();
    }

  private slots:
    void aGoodControllerSeesTheSameFramesInTheSameTicks() {
        rig_ = std::make_unique<test::PanelOnLine>();
        QVERIFY(rig_->Activate());
        QVERIFY(rig_->OpenLine());
        auto handler = Form().Comm1->OnReceiveData;
        Form().Comm1->OnReceiveData = [this, handler](TComm* c, const std::uint8_t* b, std::uint16_t n) {
            handler(c, b, n);
            ++deliveries_;
        };

        int tick = 0;
        for (int k = 0; k < 5; ++k)
            Tick(++tick);

        // The operator turns the maximum-output knob five steps up by keys (1 % of its scale each), then
        // clicks it on its rim.
        Form().iKnob2->setFocus();
        for (int k = 0; k < 5; ++k)
            QTest::keyClick(Form().iKnob2, Qt::Key_Up);
        QTest::mouseClick(Form().iKnob2, Qt::LeftButton, {}, QPoint(3, 3));
        Record(QStringLiteral("knob click"));
        Tick(++tick);
        Tick(++tick);

        QTest::mouseClick(Form().iSwitchLed1, Qt::LeftButton);
        Record(QStringLiteral("run/stop"));
        Tick(++tick);

        QTest::mouseClick(Form().iSwitchLed2, Qt::LeftButton);
        Record(QStringLiteral("SET"));
        QTest::mouseClick(Form().iAnalogOutput3->Editor(), Qt::LeftButton);
        QTest::keyClick(Form().iAnalogOutput3->Editor(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(Form().iAnalogOutput3->Editor(), "42.5");
        QTest::mouseClick(Form().iSwitchLed2, Qt::LeftButton);
        Record(QStringLiteral("ENT"));
        for (int k = 0; k < 4; ++k)
            Tick(++tick);

        QFile expected(QFINDTESTDATA("data/wire_trace_good_controller.txt"));
        if (qEnvironmentVariableIsSet("LQ_RECORD_WIRE_TRACE")) {
            QVERIFY(expected.open(QIODevice::WriteOnly | QIODevice::Truncate));
            expected.write((trace_.join('\n') + '\n').toUtf8());
            QSKIP("trace recorded");
        }
        QVERIFY(expected.open(QIODevice::ReadOnly));
        const QStringList want = QString::fromUtf8(expected.readAll()).trimmed().split('\n');
        QCOMPARE(trace_, want);
    }
};

QTEST_MAIN(WireTraceTest)
#include "wire_trace_test.moc"
