#include "app/parameter_command.h"

#include <QEventLoop>
#include <QTimer>
#include <cstdio>

#include "app/headless_line.h"
#include "modbus/register_labels.h"
#include "panel/parameters/parameter_file.h"
#include "panel/parameters/parameter_texts.h"
#include "parameters/parameter_diff.h"
#include "parameters/parameter_reader.h"
#include "parameters/parameter_table.h"
#include "parameters/restore_sequence.h"

namespace lq {

namespace {

constexpr std::chrono::milliseconds kStepTick{100};

void Print(std::FILE* to, const QString& line) {
    std::fputs((line + QLatin1Char('\n')).toLocal8Bit().constData(), to);
}

int Fail(const QString& reason) {
    Print(stderr, QStringLiteral("lq-modbus-rtu: ") + reason);
    return kParameterErrorStatus;
}

// Runs the event loop, ticking `tick` every step, until `ended` says so.
template <class Tick, class Ended> void RunUntil(Tick tick, Ended ended) {
    QEventLoop loop;
    QTimer timer;
    timer.setInterval(kStepTick);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        tick();
        if (ended()) loop.quit();
    });
    timer.start();
    if (!ended()) loop.exec();
}

// The controller's set afresh, or the reason there is none.
std::optional<ParameterSet> ReadSet(HeadlessLine& line, QString& error) {
    ParameterReader reader(line.Master(), line.Clock());
    line.Master().AddObserver(reader);
    reader.Start();
    RunUntil([&] { reader.Tick(); }, [&] { return reader.Outcome() != ReadOutcome::Reading; });
    line.Master().RemoveObserver(reader);
    if (reader.Outcome() != ReadOutcome::Done) {
        error = ParameterTexts::ReadFailed(reader.Outcome());
        return std::nullopt;
    }
    return reader.Values();
}

// "36\tSV\t65.0 °C\t60.0 °C": register, name, controller's value, file's value.
QString DifferenceLine(const PlannedWrite& write) {
    const auto info = ParameterOf(write.reg);
    return QStringLiteral("%1\t%2\t%3\t%4")
        .arg(write.reg)
        .arg(info ? QString::fromStdString(ShownCaption(info->name)) : QString())
        .arg(ParameterTexts::Value(write.reg, write.from), ParameterTexts::Value(write.reg, write.to));
}

int Backup(HeadlessLine& line, const QString& path) {
    QString error;
    const auto set = ReadSet(line, error);
    if (!set) return Fail(error);
    const ParameterFileHeader header{SavedNow().toStdString(),
                                     line.PortName().toStdString(),
                                     line.Baud(),
                                     line.FramingName().toStdString(),
                                     line.Address(),
                                     {}};
    const QString written = SaveParameterFile(path, header, *set);
    if (!written.isEmpty()) return Fail(written);
    return 0;
}

// Makes the writes, each through the master's write path, and checks the whole set once more at the end.
int Restore(HeadlessLine& line, const std::vector<PlannedWrite>& writes, std::size_t equal,
            const ParameterSet& file) {
    ModbusMaster& master = line.Master();
    RestoreSequence sequence(
        writes, master.Registers(), line.Clock(),
        [&master](std::uint8_t reg, std::int32_t value) { return master.IssueWrite(reg, value); });
    master.AddObserver(sequence);
    sequence.Confirm();
    RunUntil([&] { sequence.Tick(); }, [&] { return sequence.Finished(); });
    master.RemoveObserver(sequence);
    for (const RestoreStep& step : sequence.Steps())
        Print(stdout, QStringLiteral("%1\t%2").arg(DifferenceLine(step.write), ParameterTexts::Result(step)));
    Print(stdout, ParameterTexts::Summary(sequence, equal));
    if (sequence.Current() != RestoreSequence::State::Done) return kParametersDifferStatus;
    QString error;
    const auto after = ReadSet(line, error);
    if (!after) return Fail(error);
    return WritesToRestore(CompareParameters(*after, file)).empty() ? 0 : kParametersDifferStatus;
}

int CompareOrRestore(HeadlessLine& line, const ParameterStart& start) {
    const LoadedParameters loaded = LoadParameterFile(start.file);
    if (!loaded.set) return Fail(loaded.error);
    if (const QString error = line.Open(); !error.isEmpty()) return Fail(error);
    QString error;
    const auto controller = ReadSet(line, error);
    if (!controller) return Fail(error);
    const auto rows = CompareParameters(*controller, *loaded.set);
    const auto writes = WritesToRestore(rows);
    if (start.mode == ParameterMode::Compare || !start.yes) {
        for (const PlannedWrite& write : writes)
            Print(stdout, DifferenceLine(write));
        if (start.mode == ParameterMode::Restore) return 0;
        return writes.empty() ? kParametersEqualStatus : kParametersDifferStatus;
    }
    return Restore(line, writes, rows.size() - writes.size(), *loaded.set);
}

} // namespace

int RunParameterCommand(const SerialStart& serial, const ParameterStart& start) {
    HeadlessLine line(serial);
    if (start.mode != ParameterMode::Backup) return CompareOrRestore(line, start);
    if (const QString error = line.Open(); !error.isEmpty()) return Fail(error);
    return Backup(line, start.file);
}

} // namespace lq
