#include "recording/csv_recorder.h"

#include "modbus/register_image.h"
#include "modbus/register_labels.h"

namespace lq {

namespace {

constexpr int kKeptRegisterCount = 31;

void AppendEmptyRegisters(std::string& line) {
    line.append(kKeptRegisterCount, ',');
}

} // namespace

CsvRecorder::CsvRecorder(ILineSink& sink, const RegisterImage& registers, TimeText timeText)
    : sink_(sink), registers_(registers), timeText_(std::move(timeText)) {
    if (sink_.Failed()) stopped_ = true;
}

std::string CsvRecorder::Header() {
    std::string line = "time,event,block,register,value,outcome";
    for (int reg = 0; reg <= RegisterImage::kHighestRegister; ++reg)
        if (RegisterImage::IsKept(reg)) line += "," + ColumnName(reg);
    return line;
}

void CsvRecorder::WriteHeader() {
    Write(Header());
}

std::string WriteOutcomeText(WriteOutcome outcome, std::uint8_t exceptionCode) {
    switch (outcome) {
    case WriteOutcome::Confirmed:
        return "confirmed";
    case WriteOutcome::Refused:
        return "refused (exception " + std::to_string(exceptionCode) + ")";
    case WriteOutcome::Unconfirmed:
        return "unconfirmed";
    case WriteOutcome::Superseded:
        return "superseded";
    case WriteOutcome::NotSent:
        return "not-sent";
    }
    return "unknown";
}

void CsvRecorder::DeliveryJudged(const Delivery& delivery) {
    if (stopped_ || delivery.verdict != DeliveryVerdict::Accepted) return;
    if (delivery.block < blocksRead_.size()) blocksRead_[delivery.block] = true;
    std::string line = timeText_(delivery.at.wall) + ",read," + std::to_string(delivery.block) + ",,,";
    // The kept registers go block by block, which is register order. The image holds 0 for a block not read
    // yet; that 0 is no value the controller gave, so the field stays empty until its block's reply comes.
    for (std::size_t block = 0; block < kPollBlockStarts.size(); ++block) {
        const auto index = static_cast<std::uint8_t>(block);
        for (int k = 0; k < RegisterImage::KeptCount(index); ++k) {
            line += ',';
            if (blocksRead_[block]) line += std::to_string(registers_[kPollBlockStarts[block] + k]);
        }
    }
    Write(line);
}

void CsvRecorder::WriteEnded(const WriteEnd& end) {
    if (stopped_) return;
    // A command that never went on the line reached no controller, whatever ended it (refused before sending,
    // or given up or replaced while it waited for a read's reply): no value was written.
    const bool sent = end.sends > 0 && end.outcome != WriteOutcome::NotSent;
    std::string line = timeText_(end.at.wall) + ",write,," + std::to_string(end.registerAddress) + ",";
    line += sent ? std::to_string(end.value) + "," + WriteOutcomeText(end.outcome, end.exceptionCode)
                 : "," + WriteOutcomeText(WriteOutcome::NotSent, 0);
    AppendEmptyRegisters(line);
    Write(line);
}

void CsvRecorder::Write(const std::string& line) {
    if (stopped_) return;
    if (sink_.Append(line)) {
        ++lines_;
        return;
    }
    stopped_ = true;
    if (onStopped) onStopped(sink_.Error());
}

} // namespace lq
