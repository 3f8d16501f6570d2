#include "reply_shape.h"

#include <algorithm>

#include "modbus/crc16.h"

namespace lq {

namespace {

constexpr std::size_t kExceptionLength = 5;
constexpr std::size_t kEchoLength = 8;

// True when bytes are one frame ending in the CRC of all before it.
bool IsFrame(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 4) return false;
    const std::size_t n = bytes.size();
    const std::uint16_t crc = CalcCRC16(bytes.data(), static_cast<std::int32_t>(n - 2));
    return crc == bytes[n - 2] * 256 + bytes[n - 1];
}

// True when bytes, less at most one driver glitch byte at the end, are exactly the frame their header
// declares.
std::optional<std::span<const std::uint8_t>> SingleFrame(std::span<const std::uint8_t> bytes) {
    const auto declared = DeclaredFrameLength(bytes);
    if (!declared) return std::nullopt;
    const bool glitch = bytes.size() == *declared + 1 && (bytes.back() == 0x00 || bytes.back() == 0xFF);
    if (bytes.size() != *declared && !glitch) return std::nullopt;
    const auto frame = bytes.first(*declared);
    return IsFrame(frame) ? std::optional(frame) : std::nullopt;
}

// True when a whole frame stands at the start with more after it, or a whole frame ends the delivery after
// something else: two transmissions run together, whichever of them is damaged.
bool HoldsFrameAndMore(std::span<const std::uint8_t> bytes) {
    const auto declared = DeclaredFrameLength(bytes);
    if (declared && *declared < bytes.size() && IsFrame(bytes.first(*declared))) return true;
    for (std::size_t start = 1; start + 4 <= bytes.size(); ++start) {
        const auto rest = bytes.subspan(start);
        if (DeclaredFrameLength(rest) == rest.size() && IsFrame(rest)) return true;
    }
    return false;
}

ReplyShapeInfo ClassifyFrame(std::span<const std::uint8_t> frame, const RequestFrame* pendingWrite) {
    const std::uint8_t slave = frame[0];
    const std::uint8_t function = frame[1];
    if (pendingWrite && std::equal(frame.begin(), frame.end(), pendingWrite->begin(), pendingWrite->end()))
        return {ReplyShape::EchoOf, slave, kWriteSingleRegister};
    if ((function & 0x80) != 0)
        return {ReplyShape::Exception, slave, static_cast<std::uint8_t>(function & 0x7F), frame[2]};
    if (function == kWriteSingleRegister) return {ReplyShape::WriteEcho, slave, function};
    if (frame.size() == kReadReplyLength) return {ReplyShape::ReadReply, slave, function};
    return {ReplyShape::OtherFrame, slave, function};
}

} // namespace

std::optional<std::size_t> DeclaredFrameLength(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 2) return std::nullopt;
    const std::uint8_t function = bytes[1];
    if ((function & 0x80) != 0) return kExceptionLength;
    if (function == kWriteSingleRegister) return kEchoLength;
    // A read reply's function code is not checked, as its slave address is not: any other function is
    // taken as laid out like one, with its byte count third.
    if (bytes.size() >= 3) return std::size_t{5} + bytes[2];
    return std::nullopt;
}

ReplyShapeInfo ClassifyReply(std::span<const std::uint8_t> bytes, const RequestFrame* pendingWrite) {
    const std::uint8_t first = bytes.empty() ? std::uint8_t{0} : bytes[0];
    if (const auto frame = SingleFrame(bytes)) return ClassifyFrame(*frame, pendingWrite);
    // No reply of this master's is longer than a read reply and its glitch byte.
    if (bytes.size() > kReadReplyLength + 1 || HoldsFrameAndMore(bytes))
        return {ReplyShape::RunTogether, first, bytes.size() > 1 ? bytes[1] : std::uint8_t{0}};
    if (bytes.size() >= kReadReplyLength) return {ReplyShape::BadCrc, first, bytes[1]};
    return {ReplyShape::Fragment, first, 0};
}

} // namespace lq
