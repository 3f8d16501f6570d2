// Input no operator should give, through the real main window: each gets a clear result and leaves the
// panel working. The port sits on a pseudo-terminal.
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include "modbus/request_frames.h"
#include "modbus/text_helpers.h"
#include "panel/form1.h"
#include "panel_on_line.h"
#include "serial/comm.h"
#include "serial/testing/pumped_notification_window.h"
#include "widgets/ti_analog_output.h"
#include "widgets/ti_line_editor.h"
#include "widgets/ti_number.h"
#include "widgets/ti_switch_led.h"

using namespace lq;
using Bytes = std::vector<std::uint8_t>;

namespace {

speed_t LineSpeed(int fd) {
    termios t{};
    tcgetattr(fd, &t);
    return cfgetospeed(&t);
}

// Holds a device open in a child process until destroyed, as another program on the same line would.
class OtherProcessHolding {
  public:
    explicit OtherProcessHolding(const std::string& path) {
        int ready[2];
        int release[2];
        if (pipe(ready) != 0 || pipe(release) != 0) return;
        child_ = fork();
        if (child_ == 0) {
            // Only the parent's closing of the write end may end the wait below.
            close(release[1]);
            close(ready[0]);
            const auto backend = MakePosixBackend();
            const char opened = backend->CreateFile(path) != kNoHandle ? 'y' : 'n';
            (void)!write(ready[1], &opened, 1);
            char ignored;
            (void)!read(release[0], &ignored, 1);
            _exit(0);
        }
        close(ready[1]);
        close(release[0]);
        releaseFd_ = release[1];
        char opened = 'n';
        holding_ = read(ready[0], &opened, 1) == 1 && opened == 'y';
        close(ready[0]);
    }
    ~OtherProcessHolding() {
        if (releaseFd_ >= 0) close(releaseFd_);
        if (child_ > 0) waitpid(child_, nullptr, 0);
    }
    bool Holding() const { return holding_; }

  private:
    pid_t child_ = -1;
    int releaseFd_ = -1;
    bool holding_ = false;
};

} // namespace

class BadInputTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::PanelOnLine> rig_;

    TForm1& Form() { return rig_->Form(); }

    void ClickOpen() { QTest::mouseClick(Form().BitBtn7, Qt::LeftButton); }

    void OpenLine() { QVERIFY(rig_->OpenLine()); }

    // A failed open: one message, the button back to opening, the port closed.
    void ExpectRefused(const QString& name) {
        QCOMPARE(rig_->messages.size(), 1);
        QCOMPARE(rig_->messages[0].section('\n', 0, 0), QStringLiteral("打开串口错误"));
        QCOMPARE(Form().BitBtn7->text(), QStringLiteral("打开串口"));
        QVERIFY(!Form().Comm1->Connected());
        QCOMPARE(QString::fromStdString(Form().Comm1->CommName), name);
    }

    void ExpectOpensTheLine() {
        Form().ComboBox4->setEditText(QString::fromStdString(rig_->Line().SlavePath()));
        ClickOpen();
        QVERIFY(Form().Comm1->Connected());
        QCOMPARE(Form().BitBtn7->text(), QStringLiteral("关闭串口"));
        ClickOpen();
        QVERIFY(!Form().Comm1->Connected());
    }

  private slots:
    void init() {
        rig_ = std::make_unique<test::PanelOnLine>();
        QVERIFY(rig_->Activate());
    }

    void cleanup() { rig_.reset(); }

    void badPortNameIsRefused_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << QString();
        QTest::newRow("4 KiB") << QString(4096, QChar('A'));
        QTest::newRow("4 KiB path") << QStringLiteral("/dev/") + QString(4091, QChar('x'));
        QTest::newRow("control characters") << QStringLiteral("tty\x01\x1b[2J\t");
        QTest::newRow("device then NUL") << QStringLiteral("<pty>") + QChar(0) + QStringLiteral("junk");
        QTest::newRow("folder") << QStringLiteral("<folder>");
        QTest::newRow("regular file") << QStringLiteral("<file>");
        QTest::newRow("/dev/null") << QStringLiteral("/dev/null");
    }

    void badPortNameIsRefused() {
        QFETCH(QString, name);
        QTemporaryDir folder;
        QTemporaryFile file;
        QVERIFY(file.open());
        if (name == "<folder>") name = folder.path();
        if (name == "<file>") name = file.fileName();
        if (name.startsWith("<pty>")) name.replace("<pty>", QString::fromStdString(rig_->Line().SlavePath()));

        const std::size_t fds = test::OpenDescriptorCount();
        const std::size_t threads = test::SerialThreadCount();
        Form().ComboBox4->setEditText(name);
        ClickOpen();
        ExpectRefused(name);
        QCOMPARE(test::OpenDescriptorCount(), fds);
        QCOMPARE(test::SerialThreadCount(), threads);
        ExpectOpensTheLine();
    }

    void deviceHeldElsewhereIsRefused_data() {
        QTest::addColumn<bool>("otherProcess");
        QTest::newRow("second component") << false;
        QTest::newRow("other process") << true;
    }

    void deviceHeldElsewhereIsRefused() {
        QFETCH(bool, otherProcess);
        const std::string path = rig_->Line().SlavePath();
        // Counted before the holder exists: its own threads make their handles when they get going.
        const std::size_t fds = test::OpenDescriptorCount();
        const std::size_t threads = test::SerialThreadCount();
        std::unique_ptr<TComm> holder;
        std::unique_ptr<OtherProcessHolding> other;
        if (otherProcess) {
            other = std::make_unique<OtherProcessHolding>(path);
            QVERIFY(other->Holding());
        } else {
            holder = std::make_unique<TComm>(std::make_unique<serial_testing::PumpedNotificationWindow>());
            holder->CommName = path;
            holder->OpenPort();
            QVERIFY(holder->Connected());
        }

        Form().ComboBox4->setEditText(QString::fromStdString(path));
        ClickOpen();
        ExpectRefused(QString::fromStdString(path));

        holder.reset();
        other.reset();
        QCOMPARE(test::OpenDescriptorCount(), fds);
        QCOMPARE(test::SerialThreadCount(), threads);
        ExpectOpensTheLine();
    }

    void badBaudTextKeepsTheLineSpeed_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("letters") << QStringLiteral("abc");
        QTest::newRow("minus one") << QStringLiteral("-1");
        QTest::newRow("eleven digits") << QStringLiteral("99999999999");
    }

    void badBaudTextKeepsTheLineSpeed() {
        QFETCH(QString, text);
        OpenLine();
        const speed_t before = LineSpeed(rig_->Line().SlaveFd());
        Form().ComboBox5->setEditText(text);
        QCOMPARE(Form().Comm1->BaudRate(), static_cast<std::uint32_t>(TextToInt(text.toStdString())));
        QVERIFY(Form().Comm1->Connected());
        QCOMPARE(LineSpeed(rig_->Line().SlaveFd()), before);
        QVERIFY(LineSpeed(rig_->Line().SlaveFd()) != B0);
        // A good rate typed next still reaches the line.
        Form().ComboBox5->setEditText(QStringLiteral("9600"));
        QCOMPARE(LineSpeed(rig_->Line().SlaveFd()), speed_t(B9600));
    }

    void slaveAddressTextOutsideOneTo247SendsNothing_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("slave"); // 0: nothing goes on the line
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("letters") << QStringLiteral("abc") << 0;
        QTest::newRow("256 would wrap to the broadcast") << QStringLiteral("256") << 0;
        QTest::newRow("300 would wrap to 44") << QStringLiteral("300") << 0;
        QTest::newRow("minus one") << QStringLiteral("-1") << 0;
        QTest::newRow("sign kept only when read to the end") << QStringLiteral("-5a") << 5;
        QTest::newRow("hex") << QStringLiteral("0x1F") << 31;
        QTest::newRow("tab is not a blank") << QStringLiteral("\t7") << 0;
        QTest::newRow("eleven digits") << QStringLiteral("99999999999") << 0;
        QTest::newRow("4 KiB of ones") << QString(4096, QChar('1')) << 0;
    }

    void slaveAddressTextOutsideOneTo247SendsNothing() {
        QFETCH(QString, text);
        QFETCH(int, slave);
        OpenLine();
        Form().ComboBox1->setEditText(text);
        Form().Timer1Timer();
        if (slave == 0) {
            QCOMPARE(Form().Master().Statistics().RequestsSent(), 0u);
            QCOMPARE(rig_->Line().Read(8, std::chrono::milliseconds(200)), Bytes());
            return;
        }
        const RequestFrame expected = BuildReadRequest(static_cast<std::uint8_t>(slave), 0, 10);
        QCOMPARE(rig_->Line().Read(8, std::chrono::seconds(2)), Bytes(expected.begin(), expected.end()));
    }

    void entryTextThatIsNoNumberIsUndone_data() {
        const QString sep = DecimalSeparator();
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("typed");
        QTest::newRow("only units") << 1 << QStringLiteral("'C");
        QTest::newRow("units twice, other case") << 1 << QStringLiteral("'c'C");
        QTest::newRow("lone minus") << 1 << QStringLiteral("-");
        QTest::newRow("minus and units") << 1 << QStringLiteral("-'C");
        QTest::newRow("two separators") << 3 << QStringLiteral("1") + sep + "2" + sep + "3";
        QTest::newRow("only separators") << 3 << sep + sep;
    }

    void entryTextThatIsNoNumberIsUndone() {
        QFETCH(int, field);
        QFETCH(QString, typed);
        TiAnalogOutput* entry = field == 1   ? Form().iAnalogOutput1
                                : field == 3 ? Form().iAnalogOutput3
                                             : Form().iAnalogOutput5;
        entry->show();
        entry->SetValue(12);
        const QString shown = entry->Text();
        QTest::mouseClick(entry->Editor(), Qt::LeftButton);
        QTest::keyClick(entry->Editor(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(entry->Editor(), typed);
        QCOMPARE(entry->Text(), typed);
        QTest::keyClick(entry->Editor(), Qt::Key_Return);
        QCOMPARE(entry->Value(), 12.0);
        QCOMPARE(entry->Text(), shown);
    }

    // ENT refuses a text its register cannot take as typed, sends nothing, says why, gives the text back on a
    // click, and the corrected text then goes out as the only frame.
    void entRefusesATextTheFieldCannotTakeAsTyped_data() {
        const QString sep = DecimalSeparator();
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("inField");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("corrected");
        QTest::addColumn<int>("written");
        const QString whole = QStringLiteral("只接受整数");
        const QString negative = QStringLiteral("不能为负");
        QTest::newRow("12.6 in I") << 3 << "12" + sep + "6"
                                   << "非整数" << whole << "12" << 12;
        QTest::newRow("3.5 in D") << 4 << "3" + sep + "5"
                                  << "非整数" << whole << "3" << 3;
        QTest::newRow("-0.04 in P") << 2 << "-0" + sep + "04"
                                    << "负值" << negative << "0" + sep + "4" << 4;
        QTest::newRow("lone minus in SV") << 0 << "-"
                                          << "负值" << negative << "2" + sep + "5" << 25;
        QTest::newRow("emptied AL1") << 1 << ""
                                     << "空" << QStringLiteral("请输入数值") << "7" << 70;
    }

    void entRefusesATextTheFieldCannotTakeAsTyped() {
        QFETCH(int, row);
        QFETCH(QString, typed);
        QFETCH(QString, inField);
        QFETCH(QString, reason);
        QFETCH(QString, corrected);
        QFETCH(int, written);
        const std::array<std::pair<TiSwitchLed*, TiAnalogOutput*>, 5> pairs{
            {{Form().iSwitchLed2, Form().iAnalogOutput3},
             {Form().iSwitchLed3, Form().iAnalogOutput5},
             {Form().iSwitchLed4, Form().iAnalogOutput6},
             {Form().iSwitchLed5, Form().iAnalogOutput7},
             {Form().iSwitchLed6, Form().iAnalogOutput8}}};
        const std::array<int, 5> registers{36, 39, 40, 41, 42};
        auto [sw, entry] = pairs[static_cast<std::size_t>(row)];
        OpenLine();
        QTest::mouseClick(sw, Qt::LeftButton);
        test::PanelOnLine::TypeInto(entry, typed);
        if (typed.isEmpty()) QTest::keyClick(entry->Editor(), Qt::Key_Backspace);
        QCOMPARE(entry->Text(), typed);
        QTest::mouseClick(sw, Qt::LeftButton);
        QCOMPARE(sw->Caption(), QStringLiteral("ENT"));
        QVERIFY(entry->ErrorActive());
        QCOMPARE(entry->ErrorText(), inField);
        QVERIFY(entry->toolTip().startsWith(reason));
        QVERIFY(rig_->FramesSentSoFar().empty());

        QTest::mouseClick(entry, Qt::LeftButton);
        QVERIFY(!entry->ErrorActive());
        QCOMPARE(entry->Text(), typed);
        test::PanelOnLine::TypeInto(entry, corrected);
        QTest::mouseClick(sw, Qt::LeftButton);
        const RequestFrame expected =
            BuildWriteRequest(1, static_cast<std::uint8_t>(registers[static_cast<std::size_t>(row)]), 0,
                              static_cast<std::uint8_t>(written));
        QCOMPARE(rig_->FramesSentSoFar(), std::vector<Bytes>{Bytes(expected.begin(), expected.end())});
    }

    void entWithCommunicationUntickedSaysSo() {
        OpenLine();
        Form().CheckBox2->setChecked(false);
        QTest::mouseClick(Form().iSwitchLed5, Qt::LeftButton);
        test::PanelOnLine::TypeInto(Form().iAnalogOutput7, QStringLiteral("12"));
        QTest::mouseClick(Form().iSwitchLed5, Qt::LeftButton);
        QCOMPARE(Form().iSwitchLed5->Caption(), QStringLiteral("ENT"));
        QVERIFY(Form().iAnalogOutput7->toolTip().startsWith(QStringLiteral("通讯未勾选")));
        QVERIFY(rig_->FramesSentSoFar().empty());
    }
};

QTEST_MAIN(BadInputTest)
#include "bad_input_test.moc"
