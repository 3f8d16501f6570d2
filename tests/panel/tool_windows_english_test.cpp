// The trend, journal and parameters windows in English: what the operator reads is translated, with the
// values in their places, while what goes into files keeps its Chinese names.
#include <QAction>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineSeries>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "journal/journal.h"
#include "journal/journal_events.h"
#include "modbus/register_labels.h"
#include "panel/form1.h"
#include "panel/interface_language.h"
#include "panel/journal/alarm_table_model.h"
#include "panel/journal/journal_table_model.h"
#include "panel/journal/journal_tool.h"
#include "panel/journal/journal_window.h"
#include "panel/journal/journal_wording_zh.h"
#include "panel/parameters/parameter_file.h"
#include "panel/parameters/parameters_tool.h"
#include "panel/parameters/parameters_window.h"
#include "panel/trend/trend_plot.h"
#include "panel/trend/trend_tool.h"
#include "panel/trend/trend_window.h"
#include "trend/trend_series.h"

using namespace lq;

namespace {

struct Shown {
    const char* what;
    std::function<QString()> text;
    QString english;
};

void CompareAll(const std::vector<Shown>& rows) {
    for (const Shown& row : rows)
        QVERIFY2(row.text() == row.english,
                 qPrintable(QStringLiteral("%1: \"%2\"").arg(QLatin1String(row.what), row.text())));
}

WallTime At(int second) {
    return WallTime{std::chrono::hours(24 * 365 * 56) + std::chrono::seconds(second)};
}

// An accepted reply of block 1 (registers 10..19) with the alarm bits in register 13.
Delivery AlarmReply(std::vector<std::uint8_t>& bytes, std::uint16_t bits, int second) {
    bytes.assign(25, 0);
    bytes[3 + 2 * 3] = static_cast<std::uint8_t>(bits >> 8);
    bytes[3 + 2 * 3 + 1] = static_cast<std::uint8_t>(bits);
    return {bytes, DeliveryVerdict::Accepted, 1, 0, std::nullopt, {{}, At(second)}};
}

} // namespace

class ToolWindowsEnglishTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        // Before English is in place: the Chinese window keeps the widths it was laid out with.
        RegisterImage registers;
        Journal journal(registers, PanelJournalWording());
        const JournalWindow chinese(journal, nullptr);
        QCOMPARE(chinese.AlarmView()->columnWidth(AlarmTableModel::StateColumn), 180);
        QCOMPARE(chinese.HistoryView()->columnWidth(JournalTableModel::KindColumn), 90);
        QVERIFY(InstallInterfaceLanguage(InterfaceLanguage::English));
    }

    void theJournalWritesItsEntriesInEnglishWithTheirValues() {
        const JournalWording w = PanelJournalWording();
        const WriteEnd limit{4, 1000, WriteOutcome::Confirmed, 0, 1, {{}, At(0)}};
        const WriteEnd refused{36, 655, WriteOutcome::Refused, 0x02, 1, {{}, At(0)}};
        const WriteEnd twice{12, 40, WriteOutcome::Unconfirmed, 0, 3, {{}, At(0)}};
        const AlarmBoard::Change on{4, AlarmState::Normal, AlarmState::ActiveUnacknowledged};
        CompareAll({
            {"write of a caption the panel translates",
             [&] { return QString::fromStdString(WriteEntry(w, limit, 950).text); },
             QStringLiteral("Write r4 Max output limit = 100.0 (was 95.0): confirmed, sends: 1")},
            {"refused write", [&] { return QString::fromStdString(WriteEntry(w, refused, 600).text); },
             QStringLiteral("Write r36 SV = 65.5 (was 60.0): exception 02, sends: 1")},
            {"unconfirmed write", [&] { return QString::fromStdString(WriteEntry(w, twice, 41).text); },
             QStringLiteral("Write r12 Temperature = 40 (was 41): unconfirmed, sends: 3")},
            {"alarm", [&] { return QString::fromStdString(AlarmEntry(w, on, 16, At(0)).text); },
             QStringLiteral("Alarm TEMP MAX on")},
            {"lost port, two placeholders",
             [&] { return QString::fromStdString(PortLostEntry(w, "COM4", "Hangup: /dev/x", At(0)).text); },
             QStringLiteral("Port COM4 lost: Hangup: /dev/x")},
            {"run state", [&] { return QString::fromStdString(RunStateEntry(w, true, 1, At(0)).text); },
             QStringLiteral("Controller switched to RUN (not by this panel)")},
        });
    }

    void theJournalWindowShowsAlarmsAndHistoryInEnglish() {
        RegisterImage registers;
        Journal journal(registers, PanelJournalWording());
        std::vector<std::uint8_t> bytes;
        journal.Link().DeliveryJudged(AlarmReply(bytes, 0, 0));
        journal.Link().DeliveryJudged(AlarmReply(bytes, 1U << 4, 1));
        JournalWindow window(journal, nullptr);
        const auto alarm = [&](int column) { return window.Alarms().index(0, column).data().toString(); };
        const auto newest = [&](int column) { return window.History().index(0, column).data().toString(); };
        CompareAll({
            {"title", [&] { return window.windowTitle(); }, QStringLiteral("Alarms & events")},
            {"alarm state", [&] { return alarm(AlarmTableModel::StateColumn); },
             QStringLiteral("Active, unacknowledged")},
            {"entry kind", [&] { return newest(JournalTableModel::KindColumn); }, QStringLiteral("Alarm on")},
            {"entry text", [&] { return newest(JournalTableModel::TextColumn); },
             QStringLiteral("Alarm TEMP MAX on")},
            {"history heading",
             [&] {
                 return window.History()
                     .headerData(JournalTableModel::OutcomeColumn, Qt::Horizontal)
                     .toString();
             },
             QStringLiteral("Outcome")},
        });
    }

    // The columns are laid out for the Chinese texts; the longer English ones are not cut.
    void theJournalsColumnsHoldTheirLongestEnglishText() {
        RegisterImage registers;
        Journal journal(registers, PanelJournalWording());
        JournalWindow window(journal, nullptr);
        QStringList kinds;
        for (int kind = 0; kind < kEntryKindCount; ++kind)
            kinds << KindText(kind);
        const struct {
            QTableView* view;
            int column;
            QStringList texts;
        } columns[] = {{window.AlarmView(), AlarmTableModel::StateColumn, AlarmTableModel::StateTexts()},
                       {window.HistoryView(), JournalTableModel::KindColumn, kinds}};
        for (const auto& c : columns) {
            QFont bold = c.view->font();
            bold.setBold(true);
            for (const QString& text : c.texts)
                QVERIFY2(QFontMetrics(bold).horizontalAdvance(text) < c.view->columnWidth(c.column),
                         qPrintable(text));
        }
    }

    void theToolsAndTheirWindowsSpeakEnglish() {
        TForm1 form;
        TrendTool trend(form);
        JournalTool journal(form);
        ParametersTool parameters(form);
        trend.OpenWindow();
        parameters.Open();
        TrendWindow& t = *trend.Window();
        ParametersWindow& p = *parameters.Window();
        const auto legend = [&](int reg) {
            const auto q = TrendSeries::Quantities();
            const auto at = std::find_if(q.begin(), q.end(), [reg](const auto& x) { return x.reg == reg; });
            return t.Plot()->LeadSeries(static_cast<std::size_t>(at - q.begin()))->name();
        };
        CompareAll({
            {"trend entry", [&] { return trend.Action()->text(); }, QStringLiteral("Trend")},
            // A menu shows "&&" as one "&"; a single one would underline the space after it instead.
            {"journal entry", [&] { return journal.Action()->text(); }, QStringLiteral("Alarms && events…")},
            {"parameters entry", [&] { return parameters.Action()->text(); }, QStringLiteral("Parameters")},
            {"trend title", [&] { return t.windowTitle(); }, QStringLiteral("Trend")},
            {"record button", [&] { return t.RecordButton()->text(); }, QStringLiteral("Record")},
            {"span in minutes", [&] { return t.SpanBox()->itemText(0); }, QStringLiteral("1 min")},
            {"span in hours", [&] { return t.SpanBox()->itemText(t.SpanBox()->count() - 1); },
             QStringLiteral("2 h")},
            {"legend, translated caption", [&] { return legend(11); }, QStringLiteral("Output")},
            {"legend, English term", [&] { return legend(35); }, QStringLiteral("PV")},
            {"parameters title", [&] { return p.windowTitle(); }, QStringLiteral("Parameters")},
            {"parameter name", [&] { return p.Table()->item(0, 1)->text(); },
             QStringLiteral("Max output limit")},
            {"parameter heading", [&] { return p.Table()->horizontalHeaderItem(2)->text(); },
             QStringLiteral("Controller")},
        });
    }

    void aWriteMarkerNamesItsSettingInEnglish() {
        RegisterImage registers;
        TrendSeries series(registers);
        series.WriteEnded({5, 50, WriteOutcome::Confirmed, 0, 1, {{}, At(0)}});
        QCOMPARE(QString::fromStdString(series.Markers()[0].text), QStringLiteral("Min output limit 5.0"));
    }

    // A recording's columns and a parameter file's names are read by programs: they stay as they were.
    void filesKeepTheirChineseNames() {
        QCOMPARE(QString::fromStdString(ColumnName(12)), QStringLiteral("r12 温度"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.json"));
        QVERIFY(SaveParameterFile(path, {}, {{4, 1000}}).isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonObject first = QJsonDocument::fromJson(file.readAll())
                                      .object()
                                      .value(QStringLiteral("parameters"))
                                      .toArray()[0]
                                      .toObject();
        QCOMPARE(first.value(QStringLiteral("name")).toString(), QStringLiteral("最大输出量限制"));
    }
};

QTEST_MAIN(ToolWindowsEnglishTest)
#include "tool_windows_english_test.moc"
