// The alarm and event journal of the real panel on the real simulator: alarms the simulator raises and clears
// reach the file and the window at the first read of their block, operator commands are recorded with their
// outcomes, and a panel killed outright leaves only whole lines.
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

#include "journal/journal_csv.h"
#include "panel/journal/alarm_table_model.h"
#include "panel/journal/journal_table_model.h"
#include "panel/journal/journal_tool.h"
#include "panel/journal/journal_window.h"
#include "panel/monitor/traffic_log_recording.h"
#include "tests/e2e/panel_on_sim.h"
#include "widgets/ti_knob.h"

using namespace lq;
using lq::e2e::PanelOnSim;

namespace {

constexpr int kBlockCycleMs = 4 * 500;

// Register 13 of each accepted reply of block 1, with the reply's time.
struct AlarmReplies final : ILinkObserver {
    std::vector<std::pair<std::uint16_t, std::chrono::system_clock::time_point>> seen;
    void DeliveryJudged(const Delivery& d) override {
        if (d.verdict == DeliveryVerdict::Accepted && d.block == 1)
            seen.emplace_back(static_cast<std::uint16_t>(d.bytes[9] << 8 | d.bytes[10]), d.at.wall);
    }
};

std::optional<std::size_t> FindEntry(const Journal& journal, EntryKind kind, const std::string& subject) {
    for (std::size_t i = 0; i < journal.Entries().Size(); ++i)
        if (journal.Entries()[i].kind == kind && journal.Entries()[i].subject == subject) return i;
    return std::nullopt;
}

QStringList FileLines(const QString& folder) {
    QStringList lines;
    for (const QString& name : QDir(folder).entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name)) {
        QFile file(QDir(folder).filePath(name));
        if (!file.open(QIODevice::ReadOnly)) continue;
        lines += QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    }
    return lines;
}

// The first time the bit is seen in that state.
std::optional<std::chrono::system_clock::time_point> FirstSeen(const AlarmReplies& replies, int bit,
                                                               bool on) {
    for (const auto& [bits, at] : replies.seen)
        if (((bits >> bit) & 1) == (on ? 1 : 0)) return at;
    return std::nullopt;
}

// A line's fields, quotes taken off; a line end inside quotes would split the line and fail here.
QStringList CsvFields(const QString& line) {
    QStringList fields{QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == QLatin1Char('"')) {
            if (quoted && i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                fields.last() += c;
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if (c == QLatin1Char(',') && !quoted) {
            fields << QString();
        } else {
            fields.last() += c;
        }
    }
    return quoted ? QStringList() : fields;
}

} // namespace

class JournalOnSimTest : public QObject {
    Q_OBJECT

  private slots:
    void anAlarmRaisedAndClearedReachesTheFileAndTheWindowAtItsBlocksRead() {
        PanelOnSim panel({"--seed", "31", "--alarm-schedule", "4+1,10-1"});
        TForm1& f = panel.Form();
        QTemporaryDir dir;
        JournalTool tool(f);
        tool.Start(true, dir.path());
        AlarmReplies replies;
        f.Master().AddObserver(replies);
        QVERIFY(panel.OpenAndTick());

        QTRY_VERIFY_WITH_TIMEOUT(FindEntry(tool.Log(), EntryKind::AlarmOn, "13.1"), 6000 + 2 * kBlockCycleMs);
        const JournalEntry on = tool.Log().Entries()[*FindEntry(tool.Log(), EntryKind::AlarmOn, "13.1")];
        QCOMPARE(on.time, *FirstSeen(replies, 1, true));
        QVERIFY(f.windowTitle().contains(QStringLiteral("未确认报警 1")));
        JournalWindow* window = tool.Window();
        QVERIFY(window != nullptr);
        QCOMPARE(window->Alarms().rowCount(), 1);
        QCOMPARE(window->Alarms().index(0, AlarmTableModel::NameColumn).data().toString(),
                 QStringLiteral("R"));
        QVERIFY(FileLines(dir.path()).contains(QString::fromStdString(JournalCsvLine(on))));

        QTRY_VERIFY_WITH_TIMEOUT(FindEntry(tool.Log(), EntryKind::AlarmOff, "13.1"),
                                 8000 + 2 * kBlockCycleMs);
        const JournalEntry off = tool.Log().Entries()[*FindEntry(tool.Log(), EntryKind::AlarmOff, "13.1")];
        std::optional<std::chrono::system_clock::time_point> cleared;
        for (const auto& [bits, at] : replies.seen)
            if (at > on.time && (bits & 2) == 0 && !cleared) cleared = at;
        QCOMPARE(off.time, *cleared);
        QCOMPARE(window->Alarms().index(0, AlarmTableModel::StateColumn).data().toString(),
                 QStringLiteral("已恢复，未确认"));
        QVERIFY(FileLines(dir.path()).contains(QString::fromStdString(JournalCsvLine(off))));

        QTest::mouseClick(window->AcknowledgeAllButton(), Qt::LeftButton);
        QVERIFY(FindEntry(tool.Log(), EntryKind::AlarmAck, "13.1"));
        QCOMPARE(window->Alarms().rowCount(), 0);
        QCOMPARE(f.windowTitle(), QStringLiteral("LQ_Modbus RTU"));
        QCOMPARE(window->History().index(0, JournalTableModel::KindColumn).data().toString(),
                 QStringLiteral("报警确认"));
        f.Master().RemoveObserver(replies);
    }

    void aKnobWriteADroppedWriteAndARefusedWriteAreRecordedWithTheirOutcomes() {
        PanelOnSim panel({"--seed", "32", "--no-echo", "4"});
        TForm1& f = panel.Form();
        QTemporaryDir dir;
        JournalTool tool(f);
        tool.Start(false, dir.path());
        TrafficLogRecording fullDisk(f, QStringLiteral("/dev/full"), [](const QString&) {});
        tool.Watch(fullDisk);
        QVERIFY(panel.OpenAndTick());
        QTRY_VERIFY_WITH_TIMEOUT(f.Master().Registers()[4] == 1000 && f.Master().Registers()[0] == 5000,
                                 6000);

        Click(f.iKnob1, 7300, f);
        QTRY_VERIFY_WITH_TIMEOUT(FindEntry(tool.Log(), EntryKind::Write, "0"), 3000);
        Click(f.iKnob2, 800, f);
        QTRY_VERIFY_WITH_TIMEOUT(FindEntry(tool.Log(), EntryKind::Write, "4"), 5000);
        WaitForReply(f);
        QVERIFY(f.Master().IssueWrite(3, 7)); // the run-state register takes 0 or 1 only
        QTRY_VERIFY_WITH_TIMEOUT(FindEntry(tool.Log(), EntryKind::Write, "3"), 3000);

        const auto& entries = tool.Log().Entries();
        const JournalEntry& knob = entries[*FindEntry(tool.Log(), EntryKind::Write, "0")];
        QCOMPARE(knob.outcome, std::string("confirmed"));
        QCOMPARE(knob.value, std::optional<std::uint16_t>(7300));
        QVERIFY2(knob.text.find("r0 输入 = 73.00（原 50.00）") != std::string::npos, knob.text.c_str());
        const JournalEntry& dropped = entries[*FindEntry(tool.Log(), EntryKind::Write, "4")];
        QCOMPARE(dropped.outcome, std::string("unconfirmed"));
        QVERIFY2(dropped.text.find("发送 3 次") != std::string::npos, dropped.text.c_str());
        QCOMPARE(entries[*FindEntry(tool.Log(), EntryKind::Write, "3")].outcome, std::string("refused-03"));
        const QStringList lines = FileLines(dir.path());
        for (const auto* entry : {&knob, &dropped})
            QVERIFY(lines.contains(QString::fromStdString(JournalCsvLine(*entry))));
        QCOMPARE(
            lines.filter(QRegularExpression(QStringLiteral(",recording,,,(started|stopped),.*/dev/full")))
                .size(),
            2);
    }

    void aPanelKilledOutrightLeavesOnlyWholeLines() {
        sim::SimProcess sim({"--seed", "33", "--alarm-schedule", "1+0,2+5,3-0,4-5"});
        QTemporaryDir dir;
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_STATE_HOME"), dir.filePath(QStringLiteral("state")));
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(LQ_PANEL_PATH),
                      {"--port", QString::fromStdString(sim.DevicePath()), "--open", "--poll", "--journal",
                       dir.path(), "--traffic-log", dir.filePath(QStringLiteral("traffic.log"))});
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(FileLines(dir.path()).filter(QStringLiteral(",alarm-off,13.5,")).size() == 1,
                                 15000);
        ::kill(static_cast<pid_t>(program.processId()), SIGKILL);
        QVERIFY(program.waitForFinished());

        const QStringList lines = FileLines(dir.path());
        QVERIFY(lines.size() >= 7);
        QCOMPARE(lines.last(), QString()); // the file ends with a line end
        QCOMPARE(lines.first(), QString::fromStdString(JournalCsvHeader()));
        QCOMPARE(lines.filter(QStringLiteral(",recording,,,started,")).size(), 1);
        const QRegularExpression time(
            QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}[+-]\d\d:\d\d$)"));
        for (const QString& line : lines.mid(1, lines.size() - 2)) {
            const QStringList fields = CsvFields(line);
            QVERIFY2(fields.size() == 6 && time.match(fields[0]).hasMatch(), qPrintable(line));
        }
        QVERIFY2(!QDir(dir.filePath(QStringLiteral("state"))).exists(), "nothing in the default folder");
    }

  private:
    void WaitForReply(TForm1& f) {
        const auto seen = f.Master().Statistics().repliesAccepted;
        QTRY_VERIFY_WITH_TIMEOUT(f.Master().Statistics().repliesAccepted > seen, 3000);
    }
    // Commands go out just after a reply, far from the next poll request.
    void Click(TiKnob* knob, int position, TForm1& f) {
        knob->SetPosition(position);
        WaitForReply(f);
        QTest::mouseClick(knob, Qt::LeftButton, {}, QPoint(3, 3));
    }
};

QTEST_MAIN(JournalOnSimTest)
#include "journal_on_sim_test.moc"
