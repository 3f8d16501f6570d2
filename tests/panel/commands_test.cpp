// Commands send only what the operator meant: knobs and entries start from the controller's values, values a
// register cannot hold and addresses no controller can have send nothing, and the framing box sets what the
// line really runs. The real window on a pseudo-terminal whose far side answers the reads and records frames.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <cmath>
#include <termios.h>

#include "modbus/request_frames.h"
#include "panel/form1.h"
#include "panel/knob_seeds.h"
#include "panel_on_line.h"
#include "widgets/ti_analog_display.h"
#include "widgets/ti_analog_output.h"
#include "widgets/ti_knob.h"
#include "widgets/ti_line_editor.h"
#include "widgets/ti_switch_led.h"

using namespace lq;
using Bytes = std::vector<std::uint8_t>;

namespace {

using test::PanelOnLine;
constexpr auto WriteFrame = &PanelOnLine::WriteFrame;

bool TwoStopBits(int fd) {
    termios t{};
    tcgetattr(fd, &t);
    return (t.c_cflag & CSTOPB) != 0;
}

struct Pair {
    TiSwitchLed* sw;
    TiAnalogOutput* entry;
    TiAnalogDisplay* display;
};

} // namespace

class CommandsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::PanelOnLine> rig_;

    TForm1& Form() { return rig_->Form(); }
    Bytes NextFrame() { return rig_->Line().Read(8, std::chrono::seconds(2)); }
    Bytes NoFrame() { return rig_->Line().Read(8, std::chrono::milliseconds(200)); }

    // One poll tick whose read the far side answers from these registers (others 0); the refresh shows them.
    void Poll(const std::map<int, std::uint16_t>& registers) {
        Form().Timer1Timer();
        QVERIFY(rig_->AnswerRead(registers));
        Form().Timer2Timer();
    }

    void PollRound(const std::map<int, std::uint16_t>& registers) {
        for (int block = 0; block < 4; ++block)
            Poll(registers);
    }

    TiKnob* KnobFor(int reg) { return reg == 0 ? Form().iKnob1 : reg == 4 ? Form().iKnob2 : Form().iKnob3; }

    Pair PairFor(int reg) {
        TForm1& f = Form();
        switch (reg) {
        case 36:
            return {f.iSwitchLed2, f.iAnalogOutput3, f.iAnalogDisplay8};
        case 39:
            return {f.iSwitchLed3, f.iAnalogOutput5, f.iAnalogDisplay9};
        case 40:
            return {f.iSwitchLed4, f.iAnalogOutput6, f.iAnalogDisplay10};
        case 41:
            return {f.iSwitchLed5, f.iAnalogOutput7, f.iAnalogDisplay11};
        default:
            return {f.iSwitchLed6, f.iAnalogOutput8, f.iAnalogDisplay12};
        }
    }

    void ClickRim(TiKnob* knob) { QTest::mouseClick(knob, Qt::LeftButton, {}, QPoint(3, 3)); }

    // What keeps a command from going out: "通讯" unticked, an address no controller can have, the port
    // closed.
    void Refuse(const QString& how) {
        if (how == "box clear")
            Form().CheckBox2->setChecked(false);
        else if (how == "port closed")
            QTest::mouseClick(Form().BitBtn7, Qt::LeftButton);
        else if (how.startsWith("address"))
            Form().ComboBox1->setEditText(how.section(' ', 1));
    }

    void Allow(const QString& how) {
        if (how == "port closed") QTest::mouseClick(Form().BitBtn7, Qt::LeftButton);
        Form().ComboBox1->setEditText("1");
        Form().CheckBox2->setChecked(true);
    }

    void Retype(TiAnalogOutput* entry, const QString& text) {
        QTest::keyClick(entry->Editor(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(entry->Editor(), text);
    }

  private slots:
    void init() {
        rig_ = std::make_unique<test::PanelOnLine>();
        QVERIFY(rig_->Activate());
    }

    void cleanup() { rig_.reset(); }

    void aPlainKnobClickWritesTheControllersValue_data() {
        QTest::addColumn<int>("reg");
        QTest::addColumn<int>("controller");
        QTest::newRow("input") << 0 << 5000;
        QTest::newRow("maximum limit") << 4 << 1000;
        QTest::newRow("minimum limit") << 5 << 150;
    }

    void aPlainKnobClickWritesTheControllersValue() {
        QFETCH(int, reg);
        QFETCH(int, controller);
        QVERIFY(rig_->OpenLine());
        Poll({{reg, std::uint16_t(controller)}});
        QCOMPARE(KnobFor(reg)->Position(), double(controller));
        ClickRim(KnobFor(reg));
        QCOMPARE(NextFrame(), WriteFrame(1, std::uint8_t(reg), std::uint16_t(controller)));
    }

    void aKnobTurnedBeforeTheFirstReadKeepsTheOperatorsPosition_data() {
        QTest::addColumn<bool>("byWheel");
        QTest::newRow("keys") << false;
        QTest::newRow("wheel") << true;
    }

    void aKnobTurnedBeforeTheFirstReadKeepsTheOperatorsPosition() {
        QFETCH(bool, byWheel);
        QVERIFY(rig_->OpenLine());
        TiKnob* knob = Form().iKnob2;
        knob->setFocus();
        if (byWheel) {
            PanelOnLine::TurnByWheel(knob);
        } else {
            for (int k = 0; k < 5; ++k)
                QTest::keyClick(knob, Qt::Key_Up); // 1 % of the scale per key press
        }
        const double turned = knob->Position();
        QVERIFY(turned > 0.0);
        Poll({{4, 800}});
        QCOMPARE(knob->Position(), turned);
        ClickRim(knob);
        QCOMPARE(NextFrame(), WriteFrame(1, 4, std::uint16_t(std::lround(turned))));
    }

    // A knob shows the controller's value unless the operator is setting it: a press that sent nothing gives
    // the setting up, and a click that did not turn it sends only a value its display shows.
    void aKnobShowsTheControllersValueUnlessTheOperatorIsSettingIt_data() {
        QTest::addColumn<int>("turnedTo"); // -1: not turned
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QList<int>>("reads");
        QTest::addColumn<int>("written"); // by a click after the reads; -1: nothing
        QTest::newRow("before the first read") << -1 << "" << QList<int>{} << -1;
        QTest::newRow("box clear") << 300 << "box clear" << QList<int>{800} << 800;
        QTest::newRow("address 0") << 300 << "address 0" << QList<int>{800} << 800;
        QTest::newRow("address 248") << 300 << "address 248" << QList<int>{800} << 800;
        QTest::newRow("every read") << -1 << "" << QList<int>{800, 700} << 700;
        QTest::newRow("beyond the scale") << -1 << "" << QList<int>{1200} << -1;
    }

    void aKnobShowsTheControllersValueUnlessTheOperatorIsSettingIt() {
        QFETCH(int, turnedTo);
        QFETCH(QString, refusal);
        QFETCH(QList<int>, reads);
        QFETCH(int, written);
        QVERIFY(rig_->OpenLine());
        TiKnob* knob = Form().iKnob2;
        Refuse(refusal);
        if (turnedTo >= 0) knob->SetPosition(turnedTo);
        ClickRim(knob);
        QCOMPARE(NoFrame(), Bytes());
        Allow(refusal);
        for (int controller : reads)
            PollRound({{4, std::uint16_t(controller)}});
        if (!reads.isEmpty()) QCOMPARE(knob->Position(), std::min(double(reads.back()), knob->PositionMax()));
        ClickRim(knob);
        if (written < 0)
            QCOMPARE(NoFrame(), Bytes());
        else
            QCOMPARE(NextFrame(), WriteFrame(1, 4, std::uint16_t(written)));
    }

    // A sent setting stays on the knob until its write has ended; the next read then says what the controller
    // took, here nothing.
    void aRefusedWriteGivesTheKnobBackToTheController() {
        QVERIFY(rig_->OpenLine());
        TiKnob* knob = Form().iKnob2;
        PollRound({{4, 800}});
        knob->SetPosition(900);
        ClickRim(knob);
        QCOMPARE(NextFrame(), WriteFrame(1, 4, 900));
        ClickRim(knob); // not turned again, and its display still shows 80.0
        QCOMPARE(NoFrame(), Bytes());
        rig_->Line().Write({0x01, 0x86, 0x03, 0x02, 0x61}); // exception 03
        QTRY_COMPARE(Form().Master().Write().pending, 0);
        QCOMPARE(knob->Position(), 900.0);
        PollRound({{4, 800}});
        QCOMPARE(knob->Position(), 800.0);
    }

    void reopeningThePortSeedsTheKnobsAgain() {
        QVERIFY(rig_->OpenLine());
        Poll({{4, 800}});
        Form().iKnob2->setFocus();
        QTest::keyClick(Form().iKnob2, Qt::Key_PageUp);
        // The operator's setting stays whatever the controller reports from now on.
        PollRound({{4, 700}});
        QVERIFY(Form().iKnob2->Position() != 700.0);
        QTest::mouseClick(Form().BitBtn7, Qt::LeftButton); // close
        QTest::mouseClick(Form().BitBtn7, Qt::LeftButton); // open again
        QVERIFY(Form().Comm1->Connected());
        Form().CheckBox2->setChecked(true);
        PollRound({{4, 900}});
        QCOMPARE(Form().iKnob2->Position(), 900.0);
    }

    void setShowsTheDisplaysValueAndAnImmediateEntWritesItBack_data() {
        QTest::addColumn<int>("reg");
        QTest::addColumn<int>("controller");
        QTest::addColumn<QString>("shown");
        QTest::newRow("SV") << 36 << 725 << "72.5";
        QTest::newRow("AL1") << 39 << 800 << "80.0";
        QTest::newRow("P") << 40 << 15 << "1.5";
        QTest::newRow("I") << 41 << 240 << "240";
        QTest::newRow("D") << 42 << 3 << "3";
    }

    void setShowsTheDisplaysValueAndAnImmediateEntWritesItBack() {
        QFETCH(int, reg);
        QFETCH(int, controller);
        QFETCH(QString, shown);
        QVERIFY(rig_->OpenLine());
        PollRound({{reg, std::uint16_t(controller)}});
        const Pair pair = PairFor(reg);
        QTest::mouseClick(pair.sw, Qt::LeftButton);
        QCOMPARE(pair.entry->Text(), shown);
        QCOMPARE(pair.entry->Editor()->selectedText(), shown);
        QVERIFY(pair.entry->Editor()->hasFocus());
        QTest::mouseClick(pair.sw, Qt::LeftButton);
        QCOMPARE(NextFrame(), WriteFrame(1, std::uint8_t(reg), std::uint16_t(controller)));
    }

    void typingReplacesTheControllersValue() {
        QVERIFY(rig_->OpenLine());
        PollRound({{36, 725}});
        QTest::mouseClick(Form().iSwitchLed2, Qt::LeftButton);
        QTest::keyClicks(Form().iAnalogOutput3->Editor(), "60");
        QTest::mouseClick(Form().iSwitchLed2, Qt::LeftButton);
        QCOMPARE(NextFrame(), WriteFrame(1, 36, 600));
    }

    void entriesARegisterCannotHoldAreRefusedVisibly_data() {
        QTest::addColumn<int>("reg");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("written"); // -1: refused
        QTest::newRow("SV -5") << 36 << "-5" << -1;
        QTest::newRow("SV 6553.6") << 36 << "6553.6" << -1;
        QTest::newRow("I 70000") << 41 << "70000" << -1;
        QTest::newRow("SV 0") << 36 << "0" << 0;
        QTest::newRow("SV 6553.5") << 36 << "6553.5" << 65535;
    }

    void entriesARegisterCannotHoldAreRefusedVisibly() {
        QFETCH(int, reg);
        QFETCH(QString, typed);
        QFETCH(int, written);
        QVERIFY(rig_->OpenLine());
        const Pair pair = PairFor(reg);
        QTest::mouseClick(pair.sw, Qt::LeftButton);
        Retype(pair.entry, typed);
        QTest::mouseClick(pair.sw, Qt::LeftButton);
        if (written >= 0) {
            QCOMPARE(NextFrame(), WriteFrame(1, std::uint8_t(reg), std::uint16_t(written)));
            QVERIFY(!pair.entry->ErrorActive());
            QCOMPARE(pair.sw->Caption(), QStringLiteral("SET"));
            return;
        }
        QCOMPARE(NoFrame(), Bytes());
        QCOMPARE(Form().Master().Statistics().writesSent, 0u);
        QVERIFY(pair.entry->ErrorActive());
        QCOMPARE(pair.sw->Caption(), QStringLiteral("ENT"));
        QVERIFY(!pair.entry->isHidden());
        // A click on the field brings the text back to be corrected.
        QTest::mouseClick(pair.entry, Qt::LeftButton);
        QVERIFY(!pair.entry->ErrorActive());
        Retype(pair.entry, "12");
        QTest::mouseClick(pair.sw, Qt::LeftButton);
        QCOMPARE(NextFrame(), WriteFrame(1, std::uint8_t(reg), reg == 41 ? 12 : 120));
    }

    void anAddressNoControllerCanHaveSendsNothingAndShowsRed_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("slave"); // 0: nothing sent
        for (const char* bad : {"abc", "0", "248", "257", "1000"})
            QTest::newRow(bad) << QString(bad) << 0;
        QTest::newRow("1") << "1" << 1;
        QTest::newRow("247") << "247" << 247;
        QTest::newRow("12abc") << "12abc" << 12;
        QTest::newRow("0x10") << "0x10" << 16;
    }

    void anAddressNoControllerCanHaveSendsNothingAndShowsRed() {
        QFETCH(QString, text);
        QFETCH(int, slave);
        QVERIFY(rig_->OpenLine());
        Form().ComboBox1->setEditText(text);
        const QColor shown = Form().ComboBox1->lineEdit()->palette().color(QPalette::Text);
        QCOMPARE(shown == QColor(Qt::red), slave == 0);
        Form().Timer1Timer();
        ClickRim(Form().iKnob2);
        if (slave == 0) {
            QCOMPARE(NoFrame(), Bytes());
            QVERIFY(Form().Image14->isHidden());
            return;
        }
        const RequestFrame read = BuildReadRequest(std::uint8_t(slave), 0, 10);
        QCOMPARE(NextFrame(), Bytes(read.begin(), read.end()));
    }

    void theFramingBoxSetsTheStopBitsToo() {
        QVERIFY(rig_->OpenLine());
        QVERIFY(TwoStopBits(rig_->Line().SlaveFd()));
        Form().ComboBox6->setEditText("8_E_1");
        QVERIFY2(TwoStopBits(rig_->Line().SlaveFd()), "not before the next open");
        QTest::mouseClick(Form().BitBtn7, Qt::LeftButton);
        QTest::mouseClick(Form().BitBtn7, Qt::LeftButton);
        QVERIFY(Form().Comm1->Connected());
        QVERIFY(!TwoStopBits(rig_->Line().SlaveFd()));
        Form().ComboBox6->setEditText("8_N_2");
        Form().ComboBox5->setEditText("9600"); // another setting applies the control block
        QVERIFY(TwoStopBits(rig_->Line().SlaveFd()));
    }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
