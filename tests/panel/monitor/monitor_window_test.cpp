// The communication monitor on the real panel and a pseudo-terminal: opened by F12 or its menu, showing the
// master's own traffic and counters, the traffic log, and a controller search that always gives the line
// back.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <termios.h>

#include "modbus/crc16.h"
#include "panel/monitor/controller_search_page.h"
#include "panel/monitor/link_statistics_view.h"
#include "panel/monitor/monitor_tool.h"
#include "panel/monitor/monitor_window.h"
#include "panel/monitor/traffic_log_recording.h"
#include "panel/monitor/traffic_table_model.h"
#include "panel/tools_menu.h"
#include "panel_on_line.h"

using namespace lq;
using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

namespace {

Bytes GoodReply(std::uint8_t slave) {
    Bytes reply{slave, 0x03, 20};
    reply.resize(23, 0);
    const std::uint16_t crc = CalcCRC16(reply.data(), 23);
    reply.push_back(static_cast<std::uint8_t>(crc >> 8));
    reply.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    return reply;
}

speed_t LineSpeed(const test::PtyPair& line) {
    termios t{};
    tcgetattr(line.MasterFd(), &t);
    return cfgetospeed(&t);
}

} // namespace

class MonitorWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::PanelOnLine> rig_;
    std::unique_ptr<MonitorTool> entry_;

    TForm1& Form() { return rig_->Form(); }
    MonitorWindow& Window() { return *entry_->Window(); }

    // The next frame on the line, the event loop running meanwhile (the search's tries run on its timers).
    Bytes NextFrame(std::chrono::milliseconds within = 2000ms) {
        Bytes frame;
        QElapsedTimer waited;
        waited.start();
        while (frame.size() < 8 && waited.elapsed() < within.count()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            const Bytes more = rig_->Line().Read(8 - frame.size(), 5ms);
            frame.insert(frame.end(), more.begin(), more.end());
        }
        return frame;
    }

  private slots:
    void init() {
        rig_ = std::make_unique<test::PanelOnLine>();
        QVERIFY(rig_->Activate());
        QVERIFY(rig_->OpenLine());
        entry_ = std::make_unique<MonitorTool>(Form());
    }
    void cleanup() {
        entry_.reset();
        rig_.reset();
    }

    void f12OrTheMenuOpensOneWindowAndClosingDestroysIt() {
        QCOMPARE(Form().Tools().Menu()->actions().value(0)->text(), QStringLiteral("通讯监视…"));
        QTest::keyClick(&Form(), Qt::Key_F12);
        QVERIFY(entry_->Window() != nullptr);
        QCOMPARE(Window().windowTitle(), QStringLiteral("通讯监视"));
        QVERIFY(Window().isVisible() && !Window().isModal());
        Form().Tools().Menu()->actions().value(0)->trigger();
        QCOMPARE(Form().findChildren<MonitorWindow*>().size(), 1);

        Window().close();
        QTRY_VERIFY(entry_->Window() == nullptr);
        // The master no longer reaches it: a tick and a reply go on without it.
        Form().Timer1Timer();
        QCOMPARE(NextFrame().size(), std::size_t{8});
    }

    void showsTheMastersFramesAndCounters() {
        entry_->Open();
        Form().Timer1Timer();
        const Bytes request = NextFrame();
        rig_->Line().Write(GoodReply(1));
        QTRY_COMPARE(Form().Master().Statistics().repliesAccepted, std::uint64_t{1});
        Form().Timer1Timer(); // the next read, never answered
        NextFrame();
        Form().Timer1Timer(); // reported as unanswered
        TrafficTableModel& traffic = Window().Traffic();
        traffic.Flush();
        QCOMPARE(traffic.rowCount(), 4);
        const auto cell = [&](int row, int column) { return traffic.index(row, column).data().toString(); };
        QCOMPARE(cell(0, TrafficTableModel::DirectionColumn), QStringLiteral("发"));
        QCOMPARE(traffic.Rows()[0].bytes, request);
        QCOMPARE(cell(1, TrafficTableModel::DirectionColumn), QStringLiteral("收"));
        QVERIFY(cell(1, TrafficTableModel::RoundTripColumn).endsWith(QStringLiteral(" ms")));
        QVERIFY(cell(3, TrafficTableModel::MeaningColumn).startsWith(QStringLiteral("无应答")));
        QVERIFY(traffic.index(3, 0).data(TrafficTableModel::kFaultRole).toBool());

        LinkStatisticsView& statistics = Window().Statistics();
        statistics.Refresh();
        QCOMPARE(statistics.ValueOf(QStringLiteral("读请求")), QStringLiteral("2"));
        QCOMPARE(statistics.ValueOf(QStringLiteral("正常应答")), QStringLiteral("1"));
        QCOMPARE(statistics.ValueOf(QStringLiteral("无应答 (no reply)")), QStringLiteral("1"));
        QCOMPARE(statistics.ValueOf(QStringLiteral("正常应答率")), QStringLiteral("50.0 %"));
        QTest::mouseClick(statistics.findChild<QPushButton*>(QStringLiteral("resetStatistics")),
                          Qt::LeftButton);
        QCOMPARE(statistics.ValueOf(QStringLiteral("读请求")), QStringLiteral("0"));
        QCOMPARE(Form().Master().Statistics().RequestsSent(), std::uint64_t{0});
    }

    void aTrafficLogOnAFullDiskStopsWithOneMessageAndPollingGoesOn() {
        QStringList messages;
        TrafficLogRecording log(Form(), QStringLiteral("/dev/full"),
                                [&](const QString& text) { messages << text; });
        for (int tick = 0; tick < 3; ++tick) {
            Form().Timer1Timer();
            QCOMPARE(NextFrame().size(), std::size_t{8});
            rig_->Line().Write(GoodReply(1));
            QTRY_COMPARE(Form().Master().Statistics().repliesAccepted, std::uint64_t(tick + 1));
        }
        QVERIFY(log.Stopped());
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].contains(QStringLiteral("/dev/full")));
        QVERIFY(messages[0].contains(QStringLiteral("No space left on device")));
    }

    void aSearchLetsTheReadInFlightFinishThenTriesAndGivesTheLineBackOnCancel() {
        entry_->Open();
        ControllerSearchPage& search = Window().Search();
        Form().Timer1Timer();
        QCOMPARE(NextFrame().size(), std::size_t{8});
        search.StartSearch();
        QVERIFY(search.Searching());
        QVERIFY(NextFrame(300ms).empty()); // nothing goes out while the poll may still be answered
        rig_->Line().Write(GoodReply(1));
        const Bytes first = NextFrame();
        QCOMPARE(Form().Master().Statistics().repliesAccepted, std::uint64_t{1}); // the master had its reply
        const RequestFrame expected = BuildReadRequest(1, 0, 10);
        QCOMPARE(first, Bytes(expected.begin(), expected.end()));
        QCOMPARE(LineSpeed(rig_->Line()), speed_t(B4800));
        const std::size_t written = rig_->Backend().statesWritten.size();

        Form().Timer1Timer(); // polling is suspended: the master's frame is held back, the search goes on
        const RequestFrame second = BuildReadRequest(2, 0, 10);
        QCOMPARE(NextFrame(), Bytes(second.begin(), second.end()));
        QTest::mouseClick(search.CancelButton(), Qt::LeftButton);
        QVERIFY(!search.Searching());
        QVERIFY(!Form().LineLent());
        QCOMPARE(LineSpeed(rig_->Line()), speed_t(B19200));
        const Dcb restored = rig_->Backend().statesWritten.back();
        QVERIFY(rig_->Backend().statesWritten.size() > written);
        QCOMPARE(int(restored.Parity), 0);
        QCOMPARE(int(restored.StopBits), int(kTwoStopBits));
        Form().Timer1Timer();
        const Bytes poll = NextFrame();
        QCOMPARE(poll.size(), std::size_t{8});
        QCOMPARE(int(poll[0]), 1);
    }

    void aSearchEndsSayingWhetherPollingGoesOn_data() {
        QTest::addColumn<bool>("polling");
        QTest::addColumn<QString>("says");
        QTest::newRow("通讯 ticked") << true << QStringLiteral("轮询继续");
        QTest::newRow("通讯 unticked") << false << QStringLiteral("不轮询");
    }

    void aSearchEndsSayingWhetherPollingGoesOn() {
        QFETCH(bool, polling);
        QFETCH(QString, says);
        Form().SetPolling(polling);
        entry_->Open();
        ControllerSearchPage& search = Window().Search();
        search.StartSearch();
        QCOMPARE(NextFrame().size(), std::size_t{8});
        QTest::mouseClick(search.CancelButton(), Qt::LeftButton);
        const QString status = search.StatusLabel()->text();
        QVERIFY2(status.contains(says), qPrintable(status));
        QCOMPARE(status.contains(QStringLiteral("轮询继续")), polling);
    }

    void aSearchRefusedOnAClosedPortShowsNoOldProgress() {
        entry_->Open();
        ControllerSearchPage& search = Window().Search();
        search.StartSearch();
        QCOMPARE(NextFrame().size(), std::size_t{8});
        QTRY_VERIFY(search.ProgressBar()->value() >= 0);
        QTest::mouseClick(search.CancelButton(), Qt::LeftButton);
        Form().ClosePort();
        search.StartSearch();
        QVERIFY(search.StatusLabel()->text().contains(QStringLiteral("请先打开串口")));
        QCOMPARE(search.ProgressBar()->value(), search.ProgressBar()->minimum() - 1);
    }

    void closingTheWindowMidSearchRestoresThePort() {
        TForm1::LineChoice framing;
        framing.framing = QStringLiteral("8_E_1");
        Form().ApplyLineSettings(framing);
        Form().PutLineSettingsOnPort();
        TForm1::LineChoice baud;
        baud.baud = QStringLiteral("9600");
        Form().ApplyLineSettings(baud);
        entry_->Open();
        Window().Search().StartSearch();
        QCOMPARE(NextFrame().size(), std::size_t{8});
        QCOMPARE(LineSpeed(rig_->Line()), speed_t(B4800));
        Window().close();
        QTRY_VERIFY(entry_->Window() == nullptr);
        QVERIFY(!Form().LineLent());
        QCOMPARE(LineSpeed(rig_->Line()), speed_t(B9600));
        const Dcb restored = rig_->Backend().statesWritten.back();
        QCOMPARE(int(restored.Parity), 2);
        QCOMPARE(int(restored.StopBits), 0);
    }
};

QTEST_MAIN(MonitorWindowTest)
#include "monitor_window_test.moc"
