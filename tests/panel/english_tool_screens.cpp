// Renders the trend, the alarm and event journal and the parameters windows in English into PNGs for the
// docs (not a test), each from a fixed history so that the pictures are the same on every run:
//   build/tests/panel/panel_english_tool_screens docs
// writes docs/en-trend.png, docs/en-journal.png and docs/en-parameters.png (offscreen).
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <ctime>

#include "journal/journal.h"
#include "journal/journal_events.h"
#include "modbus/register_image.h"
#include "panel/interface_language.h"
#include "panel/journal/journal_window.h"
#include "panel/journal/journal_wording_zh.h"
#include "panel/parameters/parameter_file.h"
#include "panel/parameters/parameters_window.h"
#include "panel/trend/trend_window.h"
#include "panel_on_line.h"
#include "trend/trend_series.h"

using namespace lq;

namespace {

using namespace std::chrono;

// 2026-12-10 08:00:00 UTC, the clock of every history below.
const system_clock::time_point kStart{seconds(1796889600)};

LinkTime At(double second) {
    const auto since = duration_cast<steady_clock::duration>(duration<double>(second));
    return {steady_clock::time_point{} + since, kStart + duration_cast<system_clock::duration>(since)};
}

// Ten minutes of a furnace heading for its set point, read every two seconds, with two writes of settings,
// being recorded.
bool TrendPicture(const QString& path) {
    RegisterImage registers;
    TrendSeries series(registers);
    double sv = 60.0;
    double pv = 24.0;
    for (int second = 0; second <= 600; second += 2) {
        if (second == 240) {
            sv = 72.5;
            series.WriteEnded({36, 725, WriteOutcome::Confirmed, 0, 1, At(second)});
        }
        if (second == 420) series.WriteEnded({4, 900, WriteOutcome::Confirmed, 0, 1, At(second)});
        const double t = second;
        // A first-order furnace: the output drives the temperature towards the set point.
        const double output = std::clamp((sv - pv) * 8.0 + 25.0, 0.0, second >= 420 ? 90.0 : 100.0);
        pv += (output * 0.8 + 20.0 - pv) * 0.02 + 0.05 * std::sin(t / 7.0);
        registers.Set(35, static_cast<std::uint16_t>(pv * 10));
        registers.Set(36, static_cast<std::uint16_t>(sv * 10));
        registers.Set(12, static_cast<std::uint16_t>(pv - 2));
        registers.Set(11, static_cast<std::uint16_t>(output * 10));
        for (int phase = 0; phase < 3; ++phase)
            registers.Set(20 + phase, static_cast<std::uint16_t>(output * 3.0 + phase * 4));
        registers.Set(23, static_cast<std::uint16_t>(3800 + 20 * std::sin(t / 50.0)));
        for (std::uint8_t block : {std::uint8_t{1}, std::uint8_t{2}, std::uint8_t{3}})
            series.DeliveryJudged({{}, DeliveryVerdict::Accepted, block, 0, std::nullopt, At(second)});
    }
    const double end = series.Latest().value_or(0);
    TrendWindow window(series, [end] { return end; });
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return false;
    window.ShowRecording(true,
                         QCoreApplication::translate("lq::TrendTool", "记录到 %1")
                             .arg(QStringLiteral("/home/operator/pw5-20261210-080000.csv")),
                         false);
    QApplication::processEvents();
    return window.grab().save(path);
}

// An accepted reply of block 1 (registers 10..19) with the alarm bits in register 13.
void AlarmsRead(Journal& journal, std::uint16_t bits, double second) {
    std::vector<std::uint8_t> bytes(25, 0);
    bytes[9] = static_cast<std::uint8_t>(bits >> 8);
    bytes[10] = static_cast<std::uint8_t>(bits);
    journal.Link().DeliveryJudged({bytes, DeliveryVerdict::Accepted, 1, 0, std::nullopt, At(second)});
}

// A shift's first minutes: the port opened, alarms come and go, one acknowledged, two writes, a lost reply.
bool JournalPicture(const QString& path) {
    RegisterImage registers;
    Journal journal(registers, PanelJournalWording());
    LinkJournal& link = journal.Link();
    registers.Set(36, 600);
    registers.Set(41, 240);
    const std::string line =
        QCoreApplication::translate("lq::JournalTool", "%1 %2 bit/s %3 地址 %4")
            .arg(QStringLiteral("COM4"), QStringLiteral("9600"), QStringLiteral("8N1"), QStringLiteral("1"))
            .toStdString();
    const std::string by = QCoreApplication::translate("Journal", "命令行").toStdString();
    journal.Add(SettingsEntry(journal.Wording(), "COM4", line, by, At(0).wall));
    journal.Add(PortOpenedEntry(journal.Wording(), "COM4", At(0.2).wall));
    AlarmsRead(journal, 0, 1);
    AlarmsRead(journal, 1U << 4, 31);
    AlarmsRead(journal, (1U << 4) | (1U << 6), 65);
    journal.Acknowledge(4, At(80).wall);
    link.RequestSent({RequestKind::Write, {}, 0, 36, 725, At(95)});
    link.WriteEnded({36, 725, WriteOutcome::Confirmed, 0, 1, At(95.1)});
    link.RequestSent({RequestKind::Write, {}, 0, 41, 9999, At(120)});
    link.WriteEnded({41, 9999, WriteOutcome::Refused, 0x03, 1, At(120.1)});
    link.ReadUnanswered({1, At(150)});
    AlarmsRead(journal, 1U << 4, 152);
    JournalWindow window(journal, nullptr);
    window.ShowFileState(QCoreApplication::translate("lq::JournalTool", "日志文件夹：%1")
                             .arg(QStringLiteral("/home/operator/.local/state/lq-modbus-rtu/journal")),
                         false);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return false;
    QApplication::processEvents();
    return window.grab().save(path);
}

// A controller at work, SV 72.5 and I 240 where the file below has 70.0 and 180.
const std::map<int, std::uint16_t> kController{{3, 1},    {4, 1000}, {5, 50},  {11, 620}, {12, 70}, {35, 712},
                                               {36, 725}, {39, 800}, {40, 15}, {41, 240}, {42, 30}};

// The window comparing a saved file with the controller on a fake line: two differences marked.
bool ParametersPicture(const QString& path) {
    test::PanelOnLine rig;
    if (!rig.Activate() || !rig.OpenLine()) return false;
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("furnace-3.json"));
    const ParameterFileHeader header{"2026-12-09T16:42:10+00:00", "COM4", 9600, "8N1", 1, "Furnace 3"};
    const ParameterSet saved{{4, 1000}, {5, 50}, {36, 700}, {39, 800}, {40, 15}, {41, 180}, {42, 30}};
    if (!SaveParameterFile(file, header, saved).isEmpty()) return false;
    ParametersWindow window(rig.Form(), {nullptr, [&file] { return file; }, nullptr});
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return false;
    window.OpenAndCompare();
    for (int tick = 0; tick < 4; ++tick) {
        rig.Form().Timer1Timer();
        if (!rig.AnswerRead(kController)) return false;
    }
    if (!QTest::qWaitFor([&] { return !window.Busy(); }, 5000)) return false;
    // Where the read leaves the focus, the label box's cursor would stand in the picture.
    window.findChild<QPushButton*>()->setFocus();
    QApplication::processEvents();
    return window.grab().save(path);
}

} // namespace

int main(int argc, char* argv[]) {
    // The pictures show clock times: the same on every machine.
    qputenv("TZ", "UTC");
    tzset();
    QApplication app(argc, argv);
    QApplication::setCursorFlashTime(0);
    if (argc != 2) {
        std::fputs("usage: panel_english_tool_screens FOLDER\n", stderr);
        return 2;
    }
    if (!InstallInterfaceLanguage(InterfaceLanguage::English)) return 1;
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const bool made = TrendPicture(out.filePath(QStringLiteral("en-trend.png"))) &&
                      JournalPicture(out.filePath(QStringLiteral("en-journal.png"))) &&
                      ParametersPicture(out.filePath(QStringLiteral("en-parameters.png")));
    return made ? 0 : 1;
}
