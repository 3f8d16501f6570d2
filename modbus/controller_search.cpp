#include "modbus/controller_search.h"

#include <algorithm>

#include "modbus/crc16.h"
#include "modbus/register_image.h"
#include "modbus/reply_shape.h"

namespace lq {

namespace {

constexpr std::uint8_t kSearchedBlockStart = kPollBlockStarts[0];
constexpr std::size_t kRequestLength = 8;
constexpr int kBitsPerCharacter = 11;
constexpr std::chrono::milliseconds kTurnaroundMargin{60};

} // namespace

std::string_view FramingName(Framing framing)
{
    switch (framing) {
    case Framing::N2:
        return "8_N_2";
    case Framing::E1:
        return "8_E_1";
    case Framing::O1:
        return "8_O_1";
    }
    return {};
}

std::vector<LineSetting> SearchPlan(std::uint8_t lastSlave)
{
    std::vector<LineSetting> plan;
    for (const std::uint32_t baud : kSearchBauds)
        for (const Framing framing : kFramings)
            for (unsigned slave = 1; slave <= lastSlave; ++slave)
                plan.push_back({baud, framing, static_cast<std::uint8_t>(slave)});
    return plan;
}

std::chrono::milliseconds TryTimeout(std::uint32_t baud, std::chrono::milliseconds deliverySilence)
{
    const auto bits = static_cast<std::uint64_t>((kRequestLength + kReadReplyLength) * kBitsPerCharacter);
    const auto onTheLine = std::chrono::milliseconds((bits * 1000 + baud - 1) / baud);
    return onTheLine + deliverySilence + kTurnaroundMargin;
}

bool IsValidFind(std::span<const std::uint8_t> bytes, std::uint8_t slave)
{
    if (bytes.size() != kReadReplyLength) return false;
    if (bytes[0] != slave || bytes[1] != kReadHoldingRegisters || bytes[2] != 2 * kPollQuantity) return false;
    const std::uint16_t crc = CalcCRC16(bytes.data(), static_cast<std::int32_t>(kReadReplyLength - 2));
    return crc == bytes[23] * 256 + bytes[24];
}

ControllerSearch::ControllerSearch(std::vector<LineSetting> plan) : plan_(std::move(plan)) {}

RequestFrame ControllerSearch::Request() const
{
    return BuildReadRequest(Current().slave, kSearchedBlockStart, kPollQuantity);
}

bool ControllerSearch::Received(std::span<const std::uint8_t> bytes)
{
    heardCount_ += bytes.size();
    // Enough is kept to tell a reply from a reply with anything more; the rest is only counted.
    static_assert(kKeptBytes > kReadReplyLength);
    const std::size_t kept = std::min(kKeptBytes - heard_.size(), bytes.size());
    heard_.insert(heard_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(kept));
    return heardCount_ == kReadReplyLength && IsValidFind(heard_, Current().slave);
}

void ControllerSearch::EndTry()
{
    if (Finished()) return;
    if (heardCount_ == kReadReplyLength && IsValidFind(heard_, Current().slave)) {
        found_.push_back(Current());
    } else if (heardCount_ > 0) {
        invalid_.push_back({Current(), heard_, heardCount_});
    }
    heard_.clear();
    heardCount_ = 0;
    ++next_;
}

} // namespace lq
