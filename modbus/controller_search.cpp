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

std::vector<LineSetting> SearchPlan(std::uint8_t lastSlave) {
    std::vector<LineSetting> plan;
    for (const std::uint32_t baud : kSearchBauds)
        for (const Framing framing : kFramings)
            for (unsigned slave = 1; slave <= lastSlave; ++slave)
                plan.push_back({baud, framing, static_cast<std::uint8_t>(slave)});
    return plan;
}

std::vector<LineSetting> AddressPlan(std::uint8_t lastSlave, std::uint32_t baud, Framing framing) {
    std::vector<LineSetting> plan;
    for (unsigned slave = 1; slave <= lastSlave; ++slave)
        plan.push_back({baud, framing, static_cast<std::uint8_t>(slave)});
    return plan;
}

std::chrono::milliseconds TryTimeout(std::uint32_t baud, std::chrono::milliseconds deliverySilence) {
    const auto bits = static_cast<std::uint64_t>((kRequestLength + kReadReplyLength) * kBitsPerCharacter);
    const auto onTheLine = std::chrono::milliseconds((bits * 1000 + baud - 1) / baud);
    return onTheLine + deliverySilence + kTurnaroundMargin;
}

bool IsValidFind(std::span<const std::uint8_t> bytes, std::uint8_t slave) {
    if (bytes.size() != kReadReplyLength) return false;
    if (bytes[0] != slave || bytes[1] != kReadHoldingRegisters || bytes[2] != 2 * kPollQuantity) return false;
    const std::uint16_t crc = CalcCRC16(bytes.data(), static_cast<std::int32_t>(kReadReplyLength - 2));
    return crc == bytes[23] * 256 + bytes[24];
}

void ControllerSearch::KeepFirstBytes(std::vector<std::uint8_t>& kept, std::span<const std::uint8_t> bytes) {
    // Enough is kept to tell a reply from a reply with anything more; the rest is only counted.
    static_assert(kKeptBytes > kReadReplyLength);
    const std::size_t room = kKeptBytes - std::min(kKeptBytes, kept.size());
    const std::size_t taken = std::min(room, bytes.size());
    kept.insert(kept.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(taken));
}

ControllerSearch::ControllerSearch(std::vector<LineSetting> plan)
    : plan_(std::move(plan)), credited_(plan_.size(), false) {}

RequestFrame ControllerSearch::Request() const {
    return BuildReadRequest(Current().slave, kSearchedBlockStart, kPollQuantity);
}

void ControllerSearch::Sent(SteadyTime at) {
    // A try that never went out gets an empty window, so that nothing is taken for its answer.
    if (!Finished() && sentAt_.size() <= next_) sentAt_.resize(next_ + 1, at);
}

bool ControllerSearch::Received(std::span<const std::uint8_t> bytes, SteadyTime firstByteAt) {
    if (Finished() || bytes.empty()) return false;
    const std::optional<std::size_t> window = WindowOf(firstByteAt);
    if (!window) return false; // it began before the search asked anything: the master's, if anyone's
    if (*window != next_) {
        if (!Credit(bytes, firstByteAt, *window)) KeepInvalid(*window, bytes, bytes.size());
        return false;
    }
    if (heardCount_ == 0) heardFrom_ = firstByteAt;
    heardCount_ += bytes.size();
    KeepFirstBytes(heard_, bytes);
    if (heardCount_ != kReadReplyLength || !Credit(heard_, heardFrom_, next_)) return false;
    if (credited_[next_]) return true;
    // An earlier try's late reply: this try still waits for its own.
    heard_.clear();
    heardCount_ = 0;
    return false;
}

void ControllerSearch::EndTry() {
    if (Finished()) return;
    if (!credited_[next_] && heardCount_ > 0) KeepInvalid(next_, heard_, heardCount_);
    heard_.clear();
    heardCount_ = 0;
    ++next_;
}

std::optional<std::size_t> ControllerSearch::WindowOf(SteadyTime firstByteAt) const {
    const auto after = std::upper_bound(sentAt_.begin(), sentAt_.end(), firstByteAt);
    if (after == sentAt_.begin()) return std::nullopt;
    return static_cast<std::size_t>(after - sentAt_.begin()) - 1;
}

std::optional<std::size_t> ControllerSearch::AskedBy(std::span<const std::uint8_t> bytes,
                                                     std::size_t window) const {
    if (bytes.empty() || !IsValidFind(bytes, bytes[0])) return std::nullopt;
    const LineSetting& line = plan_[window];
    for (std::size_t tryIndex = window + 1; tryIndex-- > 0;) {
        const LineSetting& setting = plan_[tryIndex];
        // A reply reads correctly only at the settings it was sent at; before them the line was set
        // otherwise.
        if (setting.baud != line.baud || setting.framing != line.framing) break;
        if (setting.slave == bytes[0]) return credited_[tryIndex] ? std::nullopt : std::optional(tryIndex);
    }
    return std::nullopt;
}

bool ControllerSearch::Credit(std::span<const std::uint8_t> bytes, SteadyTime firstByteAt,
                              std::size_t window) {
    const std::optional<std::size_t> asked = AskedBy(bytes, window);
    if (!asked) return false;
    credited_[*asked] = true;
    const auto answerTime =
        std::chrono::duration_cast<std::chrono::microseconds>(firstByteAt - sentAt_[*asked]);
    found_.push_back({plan_[*asked], answerTime, *asked != next_});
    return true;
}

void ControllerSearch::KeepInvalid(std::size_t tryIndex, std::span<const std::uint8_t> bytes,
                                   std::size_t count) {
    if (lastInvalidTry_ != tryIndex) {
        invalid_.push_back({plan_[tryIndex], {}, 0});
        lastInvalidTry_ = tryIndex;
    }
    DataButInvalid& entry = invalid_.back();
    KeepFirstBytes(entry.bytes, bytes);
    entry.count += count;
}

} // namespace lq
