#include "recording/csv_recorder.h"

#include "modbus/register_image.h"
#include "recording/register_labels.h"

namespace lq {

namespace {

constexpr int kKeptRegisterCount = 31;

void AppendEmptyRegisters(std::string& line)
{
    line.append(kKeptRegisterCount, ',');
}

} // namespace

CsvRecorder::CsvRecorder(ILineSink& sink, const RegisterImage& registers, TimeText timeText)
    : sink_(sink), registers_(registers), timeText_(std::move(timeText))
{
    if (sink_.Failed()) stopped_ = true;
}

std::string CsvRecorder::Header()
{
    std::string line = "time,event,block,register,value,outcome";
    for (int reg = 0; reg <= RegisterImage::kHighestRegister; ++reg)
        if (RegisterImage::IsKept(reg)) line += "," + ColumnName(reg);
    return line;
}

void CsvRecorder::WriteHeader()
{
    Write(Header());
}

std::string WriteOutcomeText(WriteOutcome outcome, std::uint8_t exceptionCode)
{
    switch (outcome) {
    case WriteOutcome::Confirmed: return "confirmed";
    case WriteOutcome::Refused: return "refused (exception " + std::to_string(exceptionCode) + ")";
    case WriteOutcome::Unconfirmed: return "unconfirmed";
    case WriteOutcome::Superseded: return "superseded";
    case WriteOutcome::NotSent: return "not-sent";
    }
    return "unknown";
}

void CsvRecorder::DeliveryJudged(const Delivery& delivery)
{
    if (stopped_ || delivery.verdict != DeliveryVerdict::Accepted) return;
    std::string line = timeText_(delivery.at.wall) + ",read," + std::to_string(delivery.block) + ",,,";
    for (int reg = 0; reg <= RegisterImage::kHighestRegister; ++reg)
        if (RegisterImage::IsKept(reg)) line += "," + std::to_string(registers_[reg]);
    Write(line);
}

void CsvRecorder::WriteEnded(const WriteEnd& end)
{
    if (stopped_) return;
    std::string line = timeText_(end.at.wall) + ",write,," + std::to_string(end.registerAddress) + "," +
                       std::to_string(end.value) + "," + WriteOutcomeText(end.outcome, end.exceptionCode);
    AppendEmptyRegisters(line);
    Write(line);
}

void CsvRecorder::Write(const std::string& line)
{
    if (stopped_) return;
    if (sink_.Append(line)) {
        ++lines_;
        return;
    }
    stopped_ = true;
    if (onStopped) onStopped(sink_.Error());
}

} // namespace lq
