// The real main window on the offscreen platform, its serial port on a pseudo-terminal whose far side
// plays the controller: every frame the panel sends is read there byte for byte.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>
#include <termios.h>

#include "modbus/request_frames.h"
#include "panel/form1.h"
#include "panel/form2.h"
#include "panel_on_line.h"
#include "widgets/ti_analog_display.h"
#include "widgets/ti_analog_output.h"
#include "widgets/ti_knob.h"
#include "widgets/ti_led.h"
#include "widgets/ti_led_bar.h"
#include "widgets/ti_line_editor.h"
#include "widgets/ti_linear_gauge.h"
#include "widgets/ti_switch_led.h"
#include "widgets/ti_thermometer.h"

using namespace lq;
using Bytes = std::vector<std::uint8_t>;

namespace {

using test::PanelOnLine;
constexpr auto WriteFrame = &PanelOnLine::WriteFrame;

Bytes ReadFrame(std::uint8_t slave, std::uint8_t start) {
    const RequestFrame f = BuildReadRequest(slave, start, 10);
    return Bytes(f.begin(), f.end());
}

speed_t LineSpeed(int fd) {
    termios t{};
    tcgetattr(fd, &t);
    return cfgetospeed(&t);
}

} // namespace

class Form1Test : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::PanelOnLine> rig_;

    TForm1& Form() { return rig_->Form(); }
    void OpenLine() { QVERIFY(rig_->OpenLine()); }
    Bytes NextFrame() { return rig_->Line().Read(8, std::chrono::seconds(2)); }

  private slots:
    void init() {
        rig_ = std::make_unique<test::PanelOnLine>();
        QVERIFY(rig_->Activate());
    }

    void cleanup() { rig_.reset(); }

    void startUpState() {
        TForm1 form;
        TForm2 dialog;
        QCOMPARE(form.windowTitle(), QStringLiteral("LQ_Modbus RTU"));
        QVERIFY(form.Image14->isHidden());
        QVERIFY(!form.Image7->isHidden());
        QVERIFY(form.Image20->isHidden());
        QVERIFY(!form.Image9->isHidden());
        for (TiAnalogOutput* entry : {form.iAnalogOutput3, form.iAnalogOutput5, form.iAnalogOutput6,
                                      form.iAnalogOutput7, form.iAnalogOutput8})
            QVERIFY(entry->isHidden());
        for (TiSwitchLed* sw :
             {form.iSwitchLed2, form.iSwitchLed3, form.iSwitchLed4, form.iSwitchLed5, form.iSwitchLed6})
            QCOMPARE(sw->Caption(), QStringLiteral("SET"));
        QCOMPARE(form.BitBtn7->text(), QStringLiteral("打开串口"));
        QVERIFY(!form.CheckBox2->isChecked());
        QVERIFY(!form.Comm1->Connected());
        QCOMPARE(form.Comm1->CommName, std::string("COM4"));
        QCOMPARE(form.Comm1->BaudRate(), 19200u);
        QCOMPARE(form.ComboBox1->currentText(), QStringLiteral("1"));
        QCOMPARE(form.ComboBox1->count(), 255);
        QCOMPARE(form.Memo12->toPlainText(), QStringLiteral("0"));
        QCOMPARE(form.iThermometer1->Position(), 25.0);
        QVERIFY(form.Timer1->isActive() && form.Timer2->isActive());
        QCOMPARE(form.Timer1->interval(), 500);
        QVERIFY(dialog.isHidden());
    }

    void firstRefreshShowsTheEmptyImage() {
        Form().Timer2Timer();
        QCOMPARE(Form().iSwitchLed1->Caption(), QStringLiteral("RUN"));
        QCOMPARE(Form().iSwitchLed1->ActiveColor(), clRed);
        for (TiLedRound* lamp : Form().iLedRound)
            QCOMPARE(lamp->ActiveColor(), clLime);
        QCOMPARE(Form().iThermometer1->Position(), 0.0);
        QCOMPARE(Form().iLinearGauge1->PositionMax(), 0.0);
    }

    void alarmBitsAboveEightShowNothing() {
        Form().Master().Registers().Set(13, 0xFE00);
        Form().Timer2Timer();
        for (TiLedRound* lamp : Form().iLedRound)
            QCOMPARE(lamp->ActiveColor(), clLime);
    }

    void runBitSetsCaptionAndColour_data() {
        QTest::addColumn<int>("reg3");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<uint>("colour");
        QTest::newRow("1") << 1 << "STOP" << uint(clLime);
        QTest::newRow("0") << 0 << "RUN" << uint(clRed);
        QTest::newRow("3") << 3 << "STOP" << uint(clLime);
        QTest::newRow("2") << 2 << "RUN" << uint(clRed);
    }

    void runBitSetsCaptionAndColour() {
        QFETCH(int, reg3);
        QFETCH(QString, caption);
        QFETCH(uint, colour);
        Form().Master().Registers().Set(3, static_cast<std::uint16_t>(reg3));
        Form().Timer2Timer();
        QCOMPARE(Form().iSwitchLed1->Caption(), caption);
        QCOMPARE(Form().iSwitchLed1->ActiveColor(), TColor(colour));
    }

    void emptyGaugeSpanDrawsWithoutError() {
        Form().Master().Registers().Set(23, 2300);
        Form().Timer2Timer();
        QCOMPARE(Form().iLinearGauge1->PositionMax(), 0.0);
        QCOMPARE(Form().iLinearGauge1->Position(), 0.0);
        QVERIFY(!Form().iLinearGauge1->grab().isNull());
    }

    void typedTextInARefreshedFieldIsReplaced() {
        Form().Master().Registers().Set(12, 36);
        PanelOnLine::TypeInto(Form().iAnalogOutput1, "99");
        Form().Timer2Timer();
        QCOMPARE(Form().iAnalogOutput1->Text(), QStringLiteral("36'C"));
    }

    void pollTickReadsAndTheReplyLightsTheLamp() {
        OpenLine();
        Form().Timer1Timer();
        QCOMPARE(NextFrame(), ReadFrame(1, 0));
        Bytes reply{0x01, 0x03, 0x14};
        for (int k = 1; k <= 10; ++k)
            reply.insert(reply.end(), {0x00, static_cast<std::uint8_t>(k)});
        reply.insert(reply.end(), {0x8F, 0x16});
        rig_->Line().Write(reply);
        QTRY_VERIFY(Form().Master().Answered());
        QVERIFY(!Form().Image14->isHidden());
        QCOMPARE(Form().Master().Registers()[9], 10);
        // Closing the port leaves nothing to be read: the lamp goes dark with it.
        QTest::mouseClick(Form().BitBtn7, Qt::LeftButton);
        QVERIFY(Form().Image14->isHidden());
        QVERIFY(!Form().Image7->isHidden());
    }

    void aReplyRebuildsTheMemoOnlyWhereItWouldChangeIt() {
        OpenLine();
        QTextEdit* memo = Form().Memo12;
        const auto pollTurn = [this] {
            for (int block = 0; block < 4; ++block) {
                Form().Timer1Timer();
                QVERIFY(rig_->AnswerRead({{24, 123}}));
            }
        };
        pollTurn();
        QCOMPARE(memo->toPlainText(), QStringLiteral("123"));
        QSignalSpy rebuilt(memo, &QTextEdit::textChanged);
        pollTurn();
        QCOMPARE(rebuilt.count(), 0);
        // What the operator did in it is undone by the next reply, as always.
        memo->moveCursor(QTextCursor::End);
        pollTurn();
        QCOMPARE(memo->textCursor().position(), 0);
        memo->insertPlainText(QStringLiteral("4"));
        pollTurn();
        QCOMPARE(memo->toPlainText(), QStringLiteral("123"));
    }

    void knobClickWritesItsRoundedPosition_data() {
        QTest::addColumn<int>("knob");
        QTest::addColumn<double>("position");
        QTest::addColumn<int>("reg");
        QTest::addColumn<int>("value");
        QTest::newRow("limit 999.5") << 2 << 999.5 << 4 << 1000;
        QTest::newRow("limit 998.5") << 2 << 998.5 << 4 << 998;
        QTest::newRow("input 5000") << 1 << 5000.0 << 0 << 5000;
        QTest::newRow("minimum 0.5") << 3 << 0.5 << 5 << 0;
    }

    void knobClickWritesItsRoundedPosition() {
        QFETCH(int, knob);
        QFETCH(double, position);
        QFETCH(int, reg);
        QFETCH(int, value);
        OpenLine();
        TiKnob* k = knob == 1 ? Form().iKnob1 : knob == 2 ? Form().iKnob2 : Form().iKnob3;
        k->SetPosition(position);
        // A click on the rim, outside the grip, clicks without turning.
        QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(k->Position(), position);
        QCOMPARE(NextFrame(),
                 WriteFrame(1, static_cast<std::uint8_t>(reg), static_cast<std::uint16_t>(value)));
        QCOMPARE(rig_->Pause().pauses, std::vector<unsigned>{40});
    }

    void theAddressBoxGivesTheSlaveAddress() {
        OpenLine();
        Form().ComboBox1->setEditText("12abc");
        Form().iKnob2->SetPosition(800);
        QTest::mouseClick(Form().iKnob2, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(NextFrame(), WriteFrame(12, 4, 800));
    }

    void setEntWritesTheAcceptedEntry_data() {
        QTest::addColumn<int>("pair");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("reg");
        QTest::addColumn<int>("value");
        QTest::newRow("SV 2.25") << 2 << "2.25" << 36 << 22;
        QTest::newRow("SV 2.35") << 2 << "2.35" << 36 << 24;
        QTest::newRow("SV 6553.5, the largest") << 2 << "6553.5" << 36 << 0xFFFF;
        QTest::newRow("AL1 80") << 3 << "80" << 39 << 800;
        QTest::newRow("P 1.5") << 4 << "1.5" << 40 << 15;
        QTest::newRow("I 0") << 5 << "0" << 41 << 0;
        QTest::newRow("D 7") << 6 << "7" << 42 << 7;
    }

    void setEntWritesTheAcceptedEntry() {
        QFETCH(int, pair);
        QFETCH(QString, typed);
        QFETCH(int, reg);
        QFETCH(int, value);
        OpenLine();
        const std::array<std::pair<TiSwitchLed*, TiAnalogOutput*>, 5> pairs{
            {{Form().iSwitchLed2, Form().iAnalogOutput3},
             {Form().iSwitchLed3, Form().iAnalogOutput5},
             {Form().iSwitchLed4, Form().iAnalogOutput6},
             {Form().iSwitchLed5, Form().iAnalogOutput7},
             {Form().iSwitchLed6, Form().iAnalogOutput8}}};
        auto [sw, entry] = pairs[static_cast<std::size_t>(pair - 2)];

        QTest::mouseClick(sw, Qt::LeftButton);
        QCOMPARE(sw->Caption(), QStringLiteral("ENT"));
        QVERIFY(!entry->isHidden());
        QVERIFY(rig_->Pause().pauses.empty());

        PanelOnLine::TypeInto(entry, typed);
        QTest::mouseClick(sw, Qt::LeftButton);
        QCOMPARE(sw->Caption(), QStringLiteral("SET"));
        QVERIFY(entry->isHidden());
        QCOMPARE(NextFrame(),
                 WriteFrame(1, static_cast<std::uint8_t>(reg), static_cast<std::uint16_t>(value)));
        QCOMPARE(Form().Master().Write().pending, 1);
    }

    void aDoubleClickOnSetOnlyOpensTheEntry() {
        OpenLine();
        // What a widget receives for a double click: press, release, double click, release.
        QTest::mouseClick(Form().iSwitchLed2, Qt::LeftButton);
        QTest::mouseDClick(Form().iSwitchLed2, Qt::LeftButton);
        QTest::mouseRelease(Form().iSwitchLed2, Qt::LeftButton);
        QCOMPARE(Form().iSwitchLed2->Caption(), QStringLiteral("ENT"));
        QVERIFY(!Form().iAnalogOutput3->isHidden());
        QVERIFY(rig_->Pause().pauses.empty());
    }

    void runStopWritesWhatTheCaptionSays_data() {
        QTest::addColumn<int>("reg3");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("memo");
        QTest::newRow("running: stop") << 1 << 1 << "1111";
        QTest::newRow("stopped: run") << 0 << 0 << "3333";
    }

    void runStopWritesWhatTheCaptionSays() {
        QFETCH(int, reg3);
        QFETCH(int, value);
        QFETCH(QString, memo);
        OpenLine();
        Form().Master().Registers().Set(3, static_cast<std::uint16_t>(reg3));
        Form().Timer2Timer();
        QTest::mouseClick(Form().iSwitchLed1, Qt::LeftButton);
        QCOMPARE(NextFrame(), WriteFrame(1, 3, static_cast<std::uint16_t>(value)));
        QCOMPARE(Form().Memo13->toPlainText(), memo);
    }

    void aDoubleClickOnRunStopWritesTwice() {
        OpenLine();
        Form().Master().Registers().Set(3, 1);
        Form().Timer2Timer();
        QTest::mouseClick(Form().iSwitchLed1, Qt::LeftButton);
        QTest::mouseDClick(Form().iSwitchLed1, Qt::LeftButton);
        QTest::mouseRelease(Form().iSwitchLed1, Qt::LeftButton);
        QCOMPARE(NextFrame(), WriteFrame(1, 3, 1));
        QCOMPARE(NextFrame(), WriteFrame(1, 3, 1));
        QCOMPARE(rig_->Pause().pauses.size(), 2u);
    }

    void aCommandWithTheBoxClearSendsNothing() {
        OpenLine();
        Form().CheckBox2->setChecked(false);
        Form().iKnob2->SetPosition(800);
        QTest::mouseClick(Form().iKnob2, Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(rig_->Pause().pauses.empty());
        QCOMPARE(Form().Master().Write().pending, 0);
        QCOMPARE(Form().Master().Statistics().writesNotSent, std::uint64_t{1});
    }

    void typedBaudTextIsAppliedAndAZeroRateKeepsTheLineSpeed() {
        OpenLine();
        QCOMPARE(LineSpeed(rig_->Line().SlaveFd()), speed_t(B19200));
        Form().ComboBox5->setEditText("abc");
        QCOMPARE(Form().Comm1->BaudRate(), 0u);
        QCOMPARE(LineSpeed(rig_->Line().SlaveFd()), speed_t(B19200));
        Form().ComboBox5->setEditText("9600");
        QCOMPARE(Form().Comm1->BaudRate(), 9600u);
        QCOMPARE(LineSpeed(rig_->Line().SlaveFd()), speed_t(B9600));
    }

    void parityWaitsForTheNextApply() {
        OpenLine();
        const std::size_t writtenAtOpen = rig_->Backend().statesWritten.size();
        QCOMPARE(rig_->Backend().statesWritten.back().Parity, 0);
        Form().ComboBox6->setEditText("8_E_1");
        QCOMPARE(Form().Comm1->Parity, TParity::Even);
        QCOMPARE(rig_->Backend().statesWritten.size(), writtenAtOpen);
        Form().ComboBox6->setEditText("8_X_9");
        QCOMPARE(Form().Comm1->Parity, TParity::Even);
        Form().ComboBox5->setEditText("9600");
        QCOMPARE(rig_->Backend().statesWritten.back().Parity, 2);
        QCOMPARE(rig_->Backend().statesWritten.back().ByteSize, 8);
        QCOMPARE(rig_->Backend().statesWritten.back().StopBits, kOneStopBit);
        QCOMPARE(rig_->Backend().statesWritten.back().Flags & dcb::fParity, 0u);
    }

    void aPortNameWaitsForTheNextOpen() {
        OpenLine();
        Form().ComboBox4->setEditText("COM3");
        QCOMPARE(Form().Comm1->CommName, std::string("COM3"));
        QVERIFY(Form().Comm1->Connected());
    }

    void aFailedOpenSaysSoAndLooksClosed() {
        Form().ComboBox4->setEditText("/nonexistent/ttyX");
        QTest::mouseClick(Form().BitBtn7, Qt::LeftButton);
        QCOMPARE(rig_->messages.size(), 1);
        QCOMPARE(rig_->messages[0].section('\n', 0, 0), QStringLiteral("打开串口错误"));
        QCOMPARE(Form().BitBtn7->text(), QStringLiteral("打开串口"));
        QVERIFY(Form().Image20->isHidden());
        QVERIFY(!Form().Image9->isHidden());
        QVERIFY(!Form().Comm1->Connected());
        // The next click tries again.
        Form().ComboBox4->setEditText(QString::fromStdString(rig_->Line().SlavePath()));
        QTest::mouseClick(Form().BitBtn7, Qt::LeftButton);
        QVERIFY(Form().Comm1->Connected());
        QCOMPARE(Form().BitBtn7->text(), QStringLiteral("关闭串口"));
        QVERIFY(!Form().Image20->isHidden());
        QTest::mouseClick(Form().BitBtn7, Qt::LeftButton);
        QVERIFY(!Form().Comm1->Connected());
        QVERIFY(Form().Image20->isHidden());
    }

    void closingTheWindowClosesThePort() {
        OpenLine();
        Form().close();
        QVERIFY(!Form().Comm1->Connected());
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
