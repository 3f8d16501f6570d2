#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "modbus/link_events.h"
#include "modbus/register_image.h"
#include "recording/append_file.h"

namespace lq {

// Writes the panel's register image to CSV lines, one row per accepted read reply and one per operator write
// that ended, as the master reports them:
//
//   time,event,block,register,value,outcome,r0 输入 (÷100),r1,…,r44
//   2026-03-05T14:07:09.042+08:00,read,3,,,,<the 31 kept registers, raw>
//   2026-03-05T14:07:10.511+08:00,write,,36,655,confirmed,<31 empty fields>
//
// A read row names the poll block (0-3) that just arrived and carries every kept register as the image holds
// it after that reply, except that a register whose block has had no accepted reply since this recorder began
// is an empty field: every number in the file was reported by the controller, and a read row of its block
// comes before it in the same file. A write row carries the register, the raw value and how the write ended:
// confirmed, refused (exception N), unconfirmed or superseded; a command that never went on the line is
// not-sent, with no value. The first failure of the sink stops the recorder for good; it reports the reason
// once and ignores everything after.
class CsvRecorder final : public ILinkObserver {
  public:
    using TimeText = std::function<std::string(std::chrono::system_clock::time_point)>;

    CsvRecorder(ILineSink& sink, const RegisterImage& registers, TimeText timeText);

    static std::string Header();
    // Writes the header; call it for a file that holds no line yet.
    void WriteHeader();

    bool Stopped() const { return stopped_; }
    // Lines handed to the sink, the header included.
    std::uint64_t LinesWritten() const { return lines_; }

    // Told once, with the sink's reason, when a line could not be written.
    std::function<void(const std::string& reason)> onStopped;

    void DeliveryJudged(const Delivery& delivery) override;
    void WriteEnded(const WriteEnd& end) override;

  private:
    void Write(const std::string& line);

    ILineSink& sink_;
    const RegisterImage& registers_;
    TimeText timeText_;
    bool stopped_ = false;
    std::uint64_t lines_ = 0;
    std::array<bool, kPollBlockStarts.size()> blocksRead_{}; // an accepted reply of the block since the start
};

// The outcome column's word for a write's end.
std::string WriteOutcomeText(WriteOutcome outcome, std::uint8_t exceptionCode);

} // namespace lq
