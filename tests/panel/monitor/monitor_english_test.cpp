// The communication monitor in English on the real panel and a pseudo-terminal: its window, rows, counters
// and search in the built-in translation, and the traffic file's directions as scripts read them.
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "modbus/register_image.h"
#include "panel/interface_language.h"
#include "panel/monitor/controller_search_page.h"
#include "panel/monitor/link_statistics_view.h"
#include "panel/monitor/monitor_tool.h"
#include "panel/monitor/monitor_window.h"
#include "panel/monitor/traffic_log_recording.h"
#include "panel/monitor/traffic_table_model.h"
#include "panel/tools_menu.h"
#include "panel_on_line.h"

using namespace lq;

class MonitorEnglishTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::PanelOnLine> rig_;
    std::unique_ptr<MonitorTool> entry_;

    TForm1& Form() { return rig_->Form(); }
    MonitorWindow& Window() { return *entry_->Window(); }

  private slots:
    void initTestCase() { QVERIFY(InstallInterfaceLanguage(InterfaceLanguage::English)); }
    void init() {
        rig_ = std::make_unique<test::PanelOnLine>();
        QVERIFY(rig_->Activate());
        entry_ = std::make_unique<MonitorTool>(Form());
    }
    void cleanup() {
        entry_.reset();
        rig_.reset();
    }

    void theEntryTheWindowAndItsTabsAreInEnglish() {
        QCOMPARE(Form().Tools().Menu()->actions().value(0)->text(), QStringLiteral("Monitor…"));
        entry_->Open();
        QCOMPARE(Window().windowTitle(), QStringLiteral("Monitor"));
        QCOMPARE(Window().Tabs()->tabText(0), QStringLiteral("Traffic and statistics"));
        QCOMPARE(Window().Tabs()->tabText(1), QStringLiteral("Controller search"));
        QStringList headings;
        for (int column = 0; column < TrafficTableModel::ColumnCount; ++column)
            headings << Window().Traffic().headerData(column, Qt::Horizontal).toString();
        QCOMPARE(headings,
                 (QStringList{QStringLiteral("Time"), QStringLiteral("Dir"), QStringLiteral("Meaning"),
                              QStringLiteral("Answer"), QStringLiteral("To end"), QStringLiteral("Bytes")}));
    }

    void rowsAndCountersAreInEnglishAndTheFileKeepsItsDirections() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("traffic.log"));
        auto log = std::make_unique<TrafficLogRecording>(Form(), path, [](const QString&) {});
        QVERIFY(rig_->OpenLine());
        entry_->Open();
        for (int read = 0; read < 2; ++read) {
            Form().Timer1Timer();
            QVERIFY(rig_->AnswerRead({}, kPollBlockStarts[1]));
        }
        Form().Timer1Timer(); // a read left unanswered,
        Form().Timer1Timer(); // reported at the next tick
        log.reset();
        TrafficTableModel& traffic = Window().Traffic();
        traffic.Flush();
        const struct {
            const char* direction;
            const char* inFile;
            const char* meaningStart;
        } rows[] = {
            {"TX", "发", "Slave 1 read block 0 (start 0, quantity 10)"},
            {"RX", "收", "Reply to read block 0 (registers 0–9)"},
            {"TX", "发", "Slave 1 read block 1 (start 10, quantity 10)"},
            {"RX", "收", "Read block 1 refused: Exception 02 Illegal Data Address"},
            {"TX", "发", "Slave 1 read block 2"},
            {"—", "—", "No reply: read block 2"},
        };
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines =
            QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(traffic.rowCount(), int(std::size(rows)));
        QCOMPARE(lines.size(), int(std::size(rows)));
        for (int row = 0; row < traffic.rowCount(); ++row) {
            const auto cell = [&](int column) { return traffic.index(row, column).data().toString(); };
            const QStringList fields = lines[row].split(QLatin1Char('\t'));
            QCOMPARE(cell(TrafficTableModel::DirectionColumn), QString::fromUtf8(rows[row].direction));
            QVERIFY2(
                cell(TrafficTableModel::MeaningColumn).startsWith(QString::fromUtf8(rows[row].meaningStart)),
                qPrintable(cell(TrafficTableModel::MeaningColumn)));
            QCOMPARE(fields.value(1), QString::fromUtf8(rows[row].inFile));
            QCOMPARE(fields.value(3), cell(TrafficTableModel::MeaningColumn));
        }

        LinkStatisticsView& statistics = Window().Statistics();
        statistics.Refresh();
        const std::pair<const char*, const char*> counts[] = {
            {"Reads", "3"},
            {"Good replies", "1"},
            {"No reply", "1"},
            {"Exception replies", "1"},
            {"02 Illegal Data Address", "1"},
            {"Good reply rate", "33.3 %"},
        };
        for (const auto& [label, value] : counts)
            QCOMPARE(statistics.ValueOf(QString::fromUtf8(label)), QString::fromUtf8(value));
    }

    void aSearchOnAClosedPortSaysSoInEnglish() {
        entry_->Open();
        Window().Search().StartSearch();
        QCOMPARE(Window().Search().StatusLabel()->text(),
                 QStringLiteral("Port not open: open the port first."));
    }
};

QTEST_MAIN(MonitorEnglishTest)
#include "monitor_english_test.moc"
