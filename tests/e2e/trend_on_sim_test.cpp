// A minute of recording the real panel on the real simulator: every row is a state the simulator held, in
// order, and an SV entered with SET/ENT is a write row, a marker, and PV moving towards it.
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <fstream>
#include <sstream>

#include "panel/trend/trend_tool.h"
#include "recording/csv_recorder.h"
#include "tests/e2e/panel_on_sim.h"
#include "tests/recording/csv_fields.h"
#include "tests/sim/register_history.h"
#include "widgets/ti_analog_output.h"
#include "widgets/ti_line_editor.h"
#include "widgets/ti_switch_led.h"

using namespace lq;
using lq::e2e::PanelOnSim;

namespace {

constexpr int kRecordMs = 60000;
constexpr int kStepAfterMs = 15000;

// The column of each kept register in a row.
std::map<int, std::size_t> RegisterColumns() {
    std::map<int, std::size_t> columns;
    std::size_t column = 6;
    for (int reg = 0; reg <= RegisterImage::kHighestRegister; ++reg)
        if (RegisterImage::IsKept(reg)) columns[reg] = column++;
    return columns;
}

std::size_t QuantityOf(int reg) {
    const auto q = TrendSeries::Quantities();
    return static_cast<std::size_t>(
        std::find_if(q.begin(), q.end(), [reg](auto& t) { return t.reg == reg; }) - q.begin());
}

} // namespace

class TrendOnSimTest : public QObject {
    Q_OBJECT

  private slots:
    void aMinuteRecordedWithAnSvStep() {
        PanelOnSim panel({"--seed", "23"});
        TForm1& f = panel.Form();
        TrendTool tool(f);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("run.csv"));
        tool.Start(false, path); // as --record does
        QVERIFY(tool.Recording());
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QVERIFY(panel.OpenAndTick());
        QElapsedTimer recording;
        recording.start();

        // Once PV has been read a few times, the operator sets SV 20 'C above where PV and SV are.
        QTRY_VERIFY_WITH_TIMEOUT(tool.Model().Series(QuantityOf(35)).Size() >= 4, kStepAfterMs);
        QTest::qWait(std::max<int>(0, kStepAfterMs - int(recording.elapsed())));
        const double pvBefore = tool.Model().Series(QuantityOf(35)).Back().value;
        const int target = std::max<int>(std::lround(pvBefore * 10), f.Master().Registers()[36]) + 200;
        QTest::mouseClick(f.iSwitchLed2, Qt::LeftButton);
        QTest::keyClick(f.iAnalogOutput3->Editor(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(f.iAnalogOutput3->Editor(), QString::number(target / 10.0, 'f', 1));
        // Clicked just after a reply, far from the next poll request.
        const auto seen = f.Master().Statistics().repliesAccepted;
        QTRY_VERIFY(f.Master().Statistics().repliesAccepted > seen);
        QTest::mouseClick(f.iSwitchLed2, Qt::LeftButton);
        QTest::qWait(std::max<int>(0, kRecordMs - int(recording.elapsed())));
        tool.StopRecording();
        panel.Sim().Stop();

        CheckRowsAgainstHistory(path, panel.Sim().HistoryPath(), panel.Log().blocks, target);
        CheckMarkerThenPvMovesTowardsIt(tool.Model(), target / 10.0);
    }

  private:
    // `accepted`: the master's own account of each accepted reply, from its observer.
    void CheckRowsAgainstHistory(const QString& path, const std::string& historyPath,
                                 const std::vector<e2e::AcceptedBlock>& accepted, int target) {
        std::ifstream history(historyPath);
        const sim::RegisterHistory states = sim::RegisterHistory::Parse(history);
        std::ifstream csv(path.toStdString());
        std::string line;
        std::getline(csv, line);
        QCOMPARE(QString::fromStdString(line), QString::fromStdString(CsvRecorder::Header()));
        const auto columns = RegisterColumns();
        std::size_t from = 0;
        int reads = 0;
        std::vector<std::string> writes;
        std::string lastTime;
        while (std::getline(csv, line)) {
            const std::vector<std::string> fields = testing::CsvFields(line);
            QCOMPARE(fields.size(), 37u);
            QVERIFY2(fields[0] >= lastTime, line.c_str()); // ISO 8601 in one zone sorts as text
            lastTime = fields[0];
            if (fields[1] == "write") {
                writes.push_back(fields[3] + " " + fields[4] + " " + fields[5]);
                continue;
            }
            const auto block = static_cast<std::uint8_t>(std::stoi(fields[2]));
            std::vector<std::uint16_t> values;
            for (int k = 0; k < RegisterImage::KeptCount(block); ++k)
                values.push_back(
                    static_cast<std::uint16_t>(std::stoi(fields[columns.at(kPollBlockStarts[block] + k)])));
            // The reply that arrived, as the simulator held it, no earlier than the block before it.
            QVERIFY2(reads < int(accepted.size()), line.c_str());
            QCOMPARE(block, accepted[reads].block);
            QCOMPARE(values, accepted[reads].values);
            const auto at = states.FindBlock(from, kPollBlockStarts[block], values);
            QVERIFY2(at, line.c_str());
            from = *at;
            ++reads;
        }
        QCOMPARE(reads, int(accepted.size()));
        QCOMPARE(writes, std::vector<std::string>{"36 " + std::to_string(target) + " confirmed"});
        // One reply per 500 ms poll tick, less the odd tick taken by the write.
        QVERIFY2(reads >= kRecordMs / 500 - 10, qPrintable(QString::number(reads)));
    }

    void CheckMarkerThenPvMovesTowardsIt(const TrendSeries& model, double sv) {
        QCOMPARE(model.Markers().Size(), 1u);
        const WriteMarker& marker = model.Markers().Front();
        QCOMPARE(marker.value, sv);
        QCOMPARE(QString::fromStdString(marker.text), QStringLiteral("SV %1").arg(sv, 0, 'f', 1));
        const auto& pv = model.Series(QuantityOf(35));
        std::vector<double> after;
        for (std::size_t i = 0; i < pv.Size(); ++i)
            if (pv[i].timeMs >= marker.timeMs) after.push_back(pv[i].value);
        QVERIFY(after.size() >= 10);
        // Towards SV: at the end at least a quarter of the way there.
        QVERIFY2(
            sv - after.back() < 0.75 * (sv - after.front()),
            qPrintable(QStringLiteral("PV %1 -> %2, SV %3").arg(after.front()).arg(after.back()).arg(sv)));
        const auto& svSeries = model.Series(QuantityOf(36));
        QCOMPARE(double(svSeries.Back().value), sv);
    }
};

QTEST_MAIN(TrendOnSimTest)
#include "trend_on_sim_test.moc"
