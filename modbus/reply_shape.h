#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "modbus/request_frames.h"

namespace lq {

// What a delivery looks like, before anyone asks what it answers. A delivery is a frame only when its length
// is exactly what its own header says (5 + byte count for a read reply, 8 for a write echo, 5 for an
// exception); one trailing 0x00 or 0xFF is allowed, the glitch some RS-485 converters add when their driver
// switches off.
enum class ReplyShape : std::uint8_t {
    ReadReply,   // exactly one read reply of ten registers, right CRC (slave and function not checked)
    BadCrc,      // as long as a read reply, but no frame: damaged on the line
    EchoOf,      // exactly the 8 bytes of the write it was compared with
    Exception,   // slave, function with its top bit set, code, CRC
    WriteEcho,   // a well-formed write echo (function 6, right CRC), but not of that write
    OtherFrame,  // a well-formed frame with another byte count: nothing this master asks for
    RunTogether, // longer than one frame: two transmissions, or a frame with more than one stray byte after
                 // it
    Fragment,    // anything else shorter than a read reply: a split or cut-off reply, or noise
};

struct ReplyShapeInfo {
    ReplyShape shape;
    std::uint8_t slave = 0;
    std::uint8_t function = 0;      // Exception: without the top bit (3 or 6 for ours)
    std::uint8_t exceptionCode = 0; // Exception
};

// The length of a read reply to one poll block.
inline constexpr std::size_t kReadReplyLength = 25;

// The length the frame starting at bytes[0] declares by its function code (and byte count), where it says
// one.
std::optional<std::size_t> DeclaredFrameLength(std::span<const std::uint8_t> bytes);

// pendingWrite: the frame of the write whose echo is awaited, if any.
ReplyShapeInfo ClassifyReply(std::span<const std::uint8_t> bytes, const RequestFrame* pendingWrite);

} // namespace lq
