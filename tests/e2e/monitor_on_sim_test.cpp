// The communication monitor on the real panel against the real simulator: the search finds a controller that
// is not at the panel's settings, a slow one too, and the window's counters agree with the simulator's own.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "panel/monitor/controller_search_page.h"
#include "panel/monitor/link_statistics_view.h"
#include "panel/monitor/monitor_tool.h"
#include "panel/monitor/monitor_window.h"
#include "sim/sim_counters.h"
#include "tests/e2e/panel_on_sim.h"

using namespace lq;
using lq::e2e::PanelOnSim;

namespace {

QStringList Rows(const QTableWidget* table) {
    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row)
        rows << QStringLiteral("%1 %2 %3")
                    .arg(table->item(row, 0)->text(), table->item(row, 1)->text(),
                         table->item(row, 2)->text());
    return rows;
}

// Counts the replies that came after their read had been reported unanswered at the next tick. On a busy
// machine a reply the simulator sent whole can come that late; the panel then counts it twice, as no reply
// (the lamp went dark) and as accepted, and that is right.
class LateReplies final : public ILinkObserver {
  public:
    std::uint64_t count = 0;

    void RequestSent(const SentRequest& request) override {
        if (request.kind == RequestKind::Read) reportedUnanswered_ = false;
    }
    void ReadUnanswered(const NoReply&) override { reportedUnanswered_ = true; }
    void DeliveryJudged(const Delivery&) override {
        if (reportedUnanswered_) ++count;
        reportedUnanswered_ = false;
    }

  private:
    bool reportedUnanswered_ = false;
};

} // namespace

class MonitorOnSimTest : public QObject {
    Q_OBJECT

    std::unique_ptr<PanelOnSim> panel_;
    std::unique_ptr<MonitorTool> entry_;

    TForm1& Form() { return panel_->Form(); }

    void Start(std::vector<std::string> simOptions) {
        panel_ = std::make_unique<PanelOnSim>(std::move(simOptions));
        QVERIFY(QTest::qWaitForWindowActive(&Form()));
        QVERIFY(panel_->OpenAndTick());
        entry_ = std::make_unique<MonitorTool>(Form());
        entry_->Open();
    }

  private slots:
    void cleanup() {
        entry_.reset();
        panel_.reset();
    }

    void theSearchFindsTheControllerAndApplyMakesThePanelPollIt() {
        Start({"--baud", "9600", "--framing", "8E1", "--slave", "7", "--line-check", "--seed", "3"});
        ControllerSearchPage& search = entry_->Window()->Search();
        QSignalSpy ended(&search, &ControllerSearchPage::SearchEnded);
        QTest::mouseClick(search.StartButton(), Qt::LeftButton);
        QVERIFY(ended.wait(60000));

        QCOMPARE(Rows(search.FoundTable()), QStringList{QStringLiteral("9600 8_E_1 7")});
        QCOMPARE(Rows(search.InvalidTable()),
                 (QStringList{QStringLiteral("9600 8_N_2 7"), QStringLiteral("9600 8_O_1 7")}));
        // The port is back at the panel's settings, and the master has the line again.
        QCOMPARE(Form().Port().BaudRate(), 19200u);
        QCOMPARE(Form().Port().Parity, TParity::None);
        QCOMPARE(Form().Port().StopBits(), TStopBits::_2);
        QVERIFY(!Form().LineLent());

        QTest::mouseClick(search.ApplyButton(), Qt::LeftButton);
        const TForm1::LineChoice shown = Form().ShownLine();
        QCOMPARE(*shown.baud, QStringLiteral("9600"));
        QCOMPARE(*shown.framing, QStringLiteral("8_E_1"));
        QCOMPARE(*shown.address, QStringLiteral("7"));
        const std::uint64_t accepted = Form().Master().Statistics().repliesAccepted;
        QTRY_VERIFY_WITH_TIMEOUT(Form().Master().Statistics().repliesAccepted >= accepted + 4, 6000);
        QVERIFY(!Form().Image14->isHidden());
    }

    // Slower than the search waits, the controller answers while the next address is tried; its reply names
    // its slave, so it is found where it is, as slow, and its replies misread at the other framings stay with
    // the try in whose window they began.
    void aSlowControllerIsFoundAsSlowAtItsOwnAddressAndSettings() {
        Start({"--baud", "19200", "--framing", "8E1", "--slave", "2", "--delay", "250", "--line-check"});
        ControllerSearchPage& search = entry_->Window()->Search();
        QSignalSpy ended(&search, &ControllerSearchPage::SearchEnded);
        QTest::mouseClick(search.StartButton(), Qt::LeftButton);
        QVERIFY(ended.wait(60000));

        QCOMPARE(Rows(search.FoundTable()), QStringList{QStringLiteral("19200 8_E_1 2")});
        const QString answer = search.FoundTable()->item(0, 3)->text();
        const auto ms =
            QRegularExpression(QStringLiteral("^约 (\\d+) ms 应答，慢 \\(slow\\)$")).match(answer);
        QVERIFY2(ms.hasMatch(), qPrintable(answer));
        // The simulator waits that long after the request before its reply's first byte.
        QVERIFY2(ms.captured(1).toInt() >= 250, qPrintable(answer));
        QCOMPARE(Rows(search.InvalidTable()),
                 (QStringList{QStringLiteral("19200 8_N_2 3"), QStringLiteral("19200 8_O_1 3")}));
        QVERIFY2(search.StatusLabel()->text().contains(QStringLiteral("是控制器应答慢")),
                 qPrintable(search.StatusLabel()->text()));
    }

    // Without split replies or lost requests every request the panel sends is heard, and each reply the
    // simulator makes ends up exactly once on one side of the panel's ledger: sent whole, it is accepted;
    // damaged (one byte, always caught by the CRC), it is a CRC error; dropped, the read is reported
    // unanswered at the next tick. (A split reply would come as two short deliveries, which is why --split is
    // not used.)
    void theWindowsCountersEqualTheSimulatorsOwnCounts() {
        QTemporaryDir dir;
        const std::string counters = dir.filePath(QStringLiteral("counters")).toStdString();
        Start({"--corrupt", "0.2", "--drop", "0.1", "--seed", "12", "--counters-file", counters});
        LateReplies late;
        Form().Master().AddObserver(late);
        QTest::qWait(60000);
        Form().SetPolling(false);
        // The last read is settled at a tick after its reply or its response time-out.
        QTRY_VERIFY_WITH_TIMEOUT(!Form().Master().ReadInFlight(), 3000);
        Form().Master().RemoveObserver(late);

        const std::optional<sim::SimCounters> sim = sim::ReadSimCounters(counters);
        QVERIFY(sim.has_value());
        LinkStatisticsView& window = entry_->Window()->Statistics();
        window.Refresh();
        const auto shown = [&](const char* label) {
            return window.ValueOf(QString::fromUtf8(label)).toULongLong();
        };
        qInfo("simulator: heard %llu, whole %llu, corrupted %llu, dropped %llu",
              static_cast<unsigned long long>(sim->requests), static_cast<unsigned long long>(sim->sentWhole),
              static_cast<unsigned long long>(sim->corrupted), static_cast<unsigned long long>(sim->dropped));
        qInfo("replies that came after their read was reported unanswered: %llu",
              static_cast<unsigned long long>(late.count));
        QVERIFY(sim->corrupted > 0 && sim->dropped > 0);
        QCOMPARE(shown("读请求"), sim->requests);
        QCOMPARE(shown("正常应答"), sim->sentWhole);
        QCOMPARE(shown("CRC 错误 (CRC error)"), sim->corrupted);
        QCOMPARE(shown("无应答 (no reply)"), sim->dropped + late.count);
        QCOMPARE(shown("短帧或分段 (short/split)"), sim->split);
        QCOMPARE(shown("异常应答 (exception)"), sim->exceptions);
    }
};

QTEST_MAIN(MonitorOnSimTest)
#include "monitor_on_sim_test.moc"
