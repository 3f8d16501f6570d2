// Operator commands at their edges, on the real window with its port on a pseudo-terminal: what the far
// end of the line receives is what the panel sent.
#include <QTextEdit>
#include <QWheelEvent>
#include <QtTest>

#include "modbus/request_frames.h"
#include "panel/form1.h"
#include "panel_on_line.h"
#include "widgets/ti_analog_output.h"
#include "widgets/ti_knob.h"
#include "widgets/ti_line_editor.h"
#include "widgets/ti_switch_led.h"

using namespace lq;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes WriteFrame(std::uint8_t reg, std::uint16_t value) {
    return test::PanelOnLine::WriteFrame(1, reg, value);
}

} // namespace

class CommandEdgesTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::PanelOnLine> rig_;

    TForm1& Form() { return rig_->Form(); }

  private slots:
    void init() {
        rig_ = std::make_unique<test::PanelOnLine>();
        QVERIFY(rig_->Activate());
        QVERIFY(rig_->OpenLine());
    }

    void cleanup() { rig_.reset(); }

    // Keys and the wheel turn a focused knob without a click, so nothing is written until the next click,
    // which writes the turned position.
    void aKnobTurnedByKeysOrWheelSendsNothing_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("written");
        QTest::newRow("arrow key, five presses") << "arrows" << 550;
        QTest::newRow("page up") << "page" << 600;
        QTest::newRow("wheel notch") << "wheel" << 501;
    }

    void aKnobTurnedByKeysOrWheelSendsNothing() {
        QFETCH(QString, how);
        QFETCH(int, written);
        TiKnob* knob = Form().iKnob2;
        knob->SetPosition(500);
        knob->setFocus();
        if (how == "arrows")
            for (int i = 0; i < 5; ++i)
                QTest::keyClick(knob, Qt::Key_Right);
        else if (how == "page")
            QTest::keyClick(knob, Qt::Key_PageUp);
        else
            test::PanelOnLine::TurnByWheel(knob);
        QVERIFY(knob->Position() > 500);
        QVERIFY(rig_->FramesSentSoFar().empty());
        QTest::mouseClick(knob, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(rig_->FramesSentSoFar(),
                 std::vector<Bytes>{WriteFrame(4, static_cast<std::uint16_t>(written))});
    }

    // The pairs are independent: closing one writes its own register and leaves the other open.
    void twoSetEntPairsOpenAtOnce() {
        QTest::mouseClick(Form().iSwitchLed2, Qt::LeftButton);
        QTest::mouseClick(Form().iSwitchLed3, Qt::LeftButton);
        QVERIFY(!Form().iAnalogOutput3->isHidden() && !Form().iAnalogOutput5->isHidden());
        test::PanelOnLine::TypeInto(Form().iAnalogOutput3, "61.5");
        test::PanelOnLine::TypeInto(Form().iAnalogOutput5, "85");

        QTest::mouseClick(Form().iSwitchLed3, Qt::LeftButton);
        QCOMPARE(Form().iSwitchLed3->Caption(), QStringLiteral("SET"));
        QCOMPARE(Form().iSwitchLed2->Caption(), QStringLiteral("ENT"));
        QVERIFY(!Form().iAnalogOutput3->isHidden());
        QCOMPARE(rig_->FramesSentSoFar(), std::vector<Bytes>{WriteFrame(39, 850)});

        QTest::mouseClick(Form().iSwitchLed2, Qt::LeftButton);
        QCOMPARE(Form().iSwitchLed2->Caption(), QStringLiteral("SET"));
        QVERIFY(Form().iAnalogOutput3->isHidden());
        QCOMPARE(rig_->FramesSentSoFar(), std::vector<Bytes>{WriteFrame(36, 615)});
    }

    // Space toggles the switch on its release, which is a change like a click's: the command goes out.
    void runStopToggledWithTheSpaceKey_data() {
        QTest::addColumn<int>("reg3");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("memo");
        QTest::newRow("running: stop") << 1 << 1 << "1111";
        QTest::newRow("stopped: run") << 0 << 0 << "3333";
    }

    void runStopToggledWithTheSpaceKey() {
        QFETCH(int, reg3);
        QFETCH(int, value);
        QFETCH(QString, memo);
        Form().Master().Registers().Set(3, static_cast<std::uint16_t>(reg3));
        Form().Timer2Timer();
        Form().iSwitchLed1->setFocus();
        QTest::keyPress(Form().iSwitchLed1, Qt::Key_Space);
        QVERIFY(rig_->FramesSentSoFar().empty());
        QTest::keyRelease(Form().iSwitchLed1, Qt::Key_Space);
        QCOMPARE(rig_->FramesSentSoFar(),
                 std::vector<Bytes>{WriteFrame(3, static_cast<std::uint16_t>(value))});
        QCOMPARE(Form().Memo13->toPlainText(), memo);
    }
};

QTEST_MAIN(CommandEdgesTest)
#include "command_edges_test.moc"
