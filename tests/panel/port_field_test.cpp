// The port on real hardware, through the real window: the port list, why an open failed, and a port that
// goes away while open.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <unistd.h>

#include "panel/form1.h"
#include "panel/open_failure_reason.h"
#include "panel/port_combo_box.h"
#include "panel/port_lost_notice.h"
#include "panel_on_line.h"
#include "serial/port_names.h"
#include "serial/testing/fake_serial_backend.h"

using namespace lq;
namespace fs = std::filesystem;

namespace {

// This process's descriptors on the device (whose node goes when the far side of a terminal closes), and
// its serial I/O threads.
int DescriptorsOn(const std::string& device) {
    int n = 0;
    std::error_code ec;
    for (const auto& fd : fs::directory_iterator("/proc/self/fd", ec)) {
        const std::string target = fs::read_symlink(fd.path(), ec).string();
        if (target == device || target == device + " (deleted)") ++n;
    }
    return n;
}

int SerialThreads() {
    int n = 0;
    std::error_code ec;
    for (const auto& task : fs::directory_iterator("/proc/self/task", ec)) {
        std::string name;
        std::getline(std::ifstream(task.path() / "comm"), name);
        if (name.rfind("lq-serial-", 0) == 0) ++n;
    }
    return n;
}

QString SystemText(int error) {
    return QString::fromStdString(std::system_category().message(error));
}

} // namespace

class PortFieldTest : public QObject {
    Q_OBJECT

  private slots:
    void openFailureShowsTheReasonUnderTheText_data() {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("errorName");
        QTest::addColumn<QString>("hint");
        QTest::newRow("not in dialout") << EACCES << "EACCES"
                                        << "sudo usermod -aG dialout $USER";
        QTest::newRow("held elsewhere") << EBUSY << "EBUSY"
                                        << "串口正被其他程序占用";
        QTest::newRow("unplugged") << ENOENT << "ENOENT"
                                   << "现有串口：";
        QTest::newRow("no UART") << EIO << "EIO"
                                 << "后面没有 UART";
    }

    void openFailureShowsTheReasonUnderTheText() {
        QFETCH(int, error);
        QFETCH(QString, errorName);
        QFETCH(QString, hint);
        auto fake = std::make_shared<serial_testing::FakeSerialBackend>();
        fake->ScriptError("CreateFile", error);
        QStringList messages;
        TForm1Setup setup;
        setup.backend = fake;
        setup.showMessage = [&messages](QWidget*, const QString& text) { messages << text; };
        TForm1 form(setup);
        form.ComboBox4->setEditText("ttyUSB3");
        QTest::mouseClick(form.BitBtn7, Qt::LeftButton);

        QCOMPARE(messages.size(), 1);
        const QStringList lines = messages[0].split('\n');
        QVERIFY(lines.size() >= 3);
        QCOMPARE(lines[0], QStringLiteral("打开串口错误"));
        QCOMPARE(lines[1], QStringLiteral("/dev/ttyUSB3: %1 (%2)").arg(SystemText(error), errorName));
        QVERIFY2(messages[0].contains(hint), qPrintable(messages[0]));
        QCOMPARE(form.BitBtn7->text(), QStringLiteral("打开串口"));
    }

    void hintsNameWhatTheSystemTells_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("link");
        QTest::addColumn<int>("error");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("holder named")
            << "/dev/ttyUSB0"
            << "" << EBUSY << QStringList{"ModemManager (pid 812)", "串口正被其他程序占用："};
        QTest::newRow("ACM and ModemManager")
            << "/dev/ttyACM0"
            << "" << EBUSY << QStringList{"ID_MM_DEVICE_IGNORE", "看不到是哪个程序"};
        QTest::newRow("by-id link followed")
            << "/dev/serial/by-id/usb-X-if00"
            << "/dev/ttyACM1" << EBUSY << QStringList{"usb-X-if00 → /dev/ttyACM1", "ModemManager 会在"};
        QTest::newRow("devices present listed")
            << "/dev/ttyUSB9"
            << "" << ENOENT << QStringList{"现有串口：/dev/serial/by-id/usb-A, ttyUSB1"};
    }

    void hintsNameWhatTheSystemTells() {
        QFETCH(QString, path);
        QFETCH(QString, link);
        QFETCH(int, error);
        QFETCH(QStringList, expected);
        OpenFailureFacts facts;
        facts.error = TOpenError{path.toStdString(), error, TOpenStep::Open};
        facts.linkTarget = link.toStdString();
        if (path == "/dev/ttyUSB0") facts.holders = {{812, "ModemManager"}};
        if (error == ENOENT) facts.present = {{"/dev/serial/by-id/usb-A", "→ ttyUSB1"}, {"ttyUSB1", ""}};
        const QString reason = QString::fromStdString(OpenFailureReason(facts));
        for (const QString& part : expected)
            QVERIFY2(reason.contains(part), qPrintable(reason));
    }

    void aRefusedOpenNamesWhatWasChosenThenTheDevice_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("firstLine");
        const QString aliases = QString::fromStdString(PortAliasFolder());
        QTest::newRow("COMn without its alias") << "COM4"
                                                << "/dev/ttyS3"
                                                << ""
                                                << "COM4 → /dev/ttyS3: " + SystemText(ENOENT) + " (ENOENT)";
        QTest::newRow("COMn through its alias") << "COM7" << aliases + "/COM7"
                                                << "/dev/ttyUSB0"
                                                << "COM7 → /dev/ttyUSB0: " + SystemText(ENOENT) + " (ENOENT)";
        QTest::newRow("a bare device name") << "ttyUSB3"
                                            << "/dev/ttyUSB3"
                                            << ""
                                            << "/dev/ttyUSB3: " + SystemText(ENOENT) + " (ENOENT)";
        QTest::newRow("a by-id path")
            << "/dev/serial/by-id/usb-X"
            << "/dev/serial/by-id/usb-X"
            << "/dev/ttyACM1"
            << "/dev/serial/by-id/usb-X → /dev/ttyACM1: " + SystemText(ENOENT) + " (ENOENT)";
    }

    void aRefusedOpenNamesWhatWasChosenThenTheDevice() {
        QFETCH(QString, chosen);
        QFETCH(QString, path);
        QFETCH(QString, link);
        QFETCH(QString, firstLine);
        OpenFailureFacts facts;
        facts.error = TOpenError{path.toStdString(), ENOENT, TOpenStep::Open};
        facts.chosenName = chosen.toStdString();
        facts.linkTarget = link.toStdString();
        const QString reason = QString::fromStdString(OpenFailureReason(facts));
        QCOMPARE(reason.split('\n').value(0), firstLine);
        QCOMPARE(reason.contains(QStringLiteral("别名 COM4 不存在")), chosen == "COM4");
    }

    void theWindowNamesTheAliasTheOperatorChose() {
        const fs::path aliases = fs::temp_directory_path() / ("lq-no-alias-" + std::to_string(getpid()));
        fs::create_directories(aliases);
        qputenv("LQ_MODBUS_PORTS", QByteArray::fromStdString(aliases.string()));
        auto fake = std::make_shared<serial_testing::FakeSerialBackend>();
        fake->ScriptError("CreateFile", ENOENT);
        QStringList messages;
        TForm1Setup setup;
        setup.backend = fake;
        setup.showMessage = [&messages](QWidget*, const QString& text) { messages << text; };
        TForm1 form(setup);
        QTest::mouseClick(form.BitBtn7, Qt::LeftButton);
        qunsetenv("LQ_MODBUS_PORTS");
        fs::remove_all(aliases);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].split('\n').value(1).startsWith(QStringLiteral("COM4 → /dev/ttyS3: ")),
                 qPrintable(messages[0]));
    }

    void portListIsReadWhenOpenedAndLeavesThePortName() {
        test::PanelOnLine rig;
        QVERIFY(rig.Activate());
        auto* box = dynamic_cast<PortComboBox*>(rig.Form().ComboBox4);
        QVERIFY(box != nullptr);
        std::vector<SerialPortEntry> machine{{"/dev/serial/by-id/usb-A-if00-port0", "→ ttyUSB0 · ftdi_sio"},
                                             {"ttyUSB0", "ftdi_sio"}};
        box->SetLister([&machine] { return machine; });
        int changes = 0;
        QObject::connect(box, &QComboBox::editTextChanged, [&changes] { ++changes; });

        box->showPopup();
        QCOMPARE(box->count(), 2);
        QCOMPARE(box->itemText(0), QStringLiteral("/dev/serial/by-id/usb-A-if00-port0"));
        QCOMPARE(box->itemData(0, Qt::ToolTipRole).toString(), QStringLiteral("→ ttyUSB0 · ftdi_sio"));
        QCOMPARE(box->currentText(), QStringLiteral("COM4"));
        QCOMPARE(rig.Form().Comm1->CommName, std::string("COM4"));
        QCOMPARE(changes, 0);
        box->hidePopup();

        machine.push_back({"ttyACM0", "cdc_acm"}); // plugged in while the list was closed
        box->showPopup();
        QCOMPARE(box->count(), 3);
        QCOMPARE(box->itemText(2), QStringLiteral("ttyACM0"));
        box->hidePopup();
    }

    void unpluggedPortClosesAndOpensAgainUnderItsAlias() {
        const fs::path aliases = fs::temp_directory_path() / ("lq-unplug-" + std::to_string(getpid()));
        fs::create_directories(aliases);
        qputenv("LQ_MODBUS_PORTS", QByteArray::fromStdString(aliases.string()));
        test::PanelOnLine rig;
        QVERIFY(rig.Activate());
        TForm1& form = rig.Form();
        fs::create_symlink(rig.Line().SlavePath(), aliases / "COM7");
        form.ComboBox4->setEditText("COM7");
        QTest::mouseClick(form.BitBtn7, Qt::LeftButton);
        QVERIFY(form.Comm1->Connected());
        const std::string first = rig.Line().SlavePath();
        QCOMPARE(DescriptorsOn(first), 2); // the test's own end and the panel's

        rig.Line().CloseMaster();
        ExpectLost(form, "COM7");
        QCOMPARE(DescriptorsOn(first), 1);
        QCOMPARE(SerialThreads(), 0);

        // The far side comes back, on another terminal, under the same alias.
        test::PtyPair again;
        fs::remove(aliases / "COM7");
        fs::create_symlink(again.SlavePath(), aliases / "COM7");
        QTest::mouseClick(form.BitBtn7, Qt::LeftButton);
        QVERIFY(form.Comm1->Connected());
        QVERIFY(!FindPortLostNotice(&form)->isVisible());
        form.CheckBox2->setChecked(true);
        form.Timer1Timer();
        QCOMPARE(again.Read(8, std::chrono::seconds(2)).size(), std::size_t{8});

        // A second loss reuses the one notice.
        again.CloseMaster();
        ExpectLost(form, "COM7");
        QCOMPARE(form.findChildren<QMessageBox*>().size(), 1);
        QCOMPARE(SerialThreads(), 0);
        qunsetenv("LQ_MODBUS_PORTS");
        fs::remove_all(aliases);
    }

  private:
    static void ExpectLost(TForm1& form, const QString& name) {
        QTRY_COMPARE(form.BitBtn7->text(), QStringLiteral("打开串口"));
        QVERIFY(!form.Comm1->Connected());
        QVERIFY(form.Image20->isHidden());
        QVERIFY(form.Image14->isHidden());
        QMessageBox* notice = FindPortLostNotice(&form);
        QVERIFY(notice != nullptr);
        QVERIFY(notice->isVisible());
        QVERIFY(!notice->isModal());
        QVERIFY2(notice->text().contains(name), qPrintable(notice->text()));
    }
};

QTEST_MAIN(PortFieldTest)
#include "port_field_test.moc"
