#pragma once

#include <cstdint>
#include <span>

#include "modbus/request_frames.h"

namespace lq {

// What a delivery looks like, before anyone asks what it answers.
enum class ReplyShape : std::uint8_t {
    ReadReply, // 25 bytes or more whose first 23 end in their own CRC
    BadCrc,    // 25 bytes or more whose first 23 do not
    EchoOf,    // begins with the very 8 bytes of the write it was compared with
    Exception, // slave, function with its top bit set, code, CRC
    WriteEcho, // a well-formed write echo (function 6, right CRC), but not of that write
    Fragment,  // anything else shorter than a read reply: a split or cut-off reply, or noise
};

struct ReplyShapeInfo {
    ReplyShape shape;
    std::uint8_t slave = 0;
    std::uint8_t function = 0;      // Exception: without the top bit (3 or 6 for ours)
    std::uint8_t exceptionCode = 0; // Exception
};

// Only the first 25 bytes of a read reply count; a longer delivery is judged by them.
inline constexpr std::size_t kReadReplyLength = 25;

// pendingWrite: the frame of the write whose echo is awaited, if any.
ReplyShapeInfo ClassifyReply(std::span<const std::uint8_t> bytes, const RequestFrame* pendingWrite);

} // namespace lq
