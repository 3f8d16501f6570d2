#include "reply_shape.h"

#include <algorithm>

#include "modbus/crc16.h"

namespace lq {

namespace {

// True when the first n bytes end in the CRC of the n - 2 before them.
bool EndsInOwnCrc(std::span<const std::uint8_t> bytes, std::size_t n)
{
    if (bytes.size() < n || n < 4) return false;
    const std::uint16_t crc = CalcCRC16(bytes.data(), static_cast<std::int32_t>(n - 2));
    return crc == bytes[n - 2] * 256 + bytes[n - 1];
}

} // namespace

ReplyShapeInfo ClassifyReply(std::span<const std::uint8_t> bytes, const RequestFrame* pendingWrite)
{
    if (pendingWrite && bytes.size() >= pendingWrite->size() &&
        std::equal(pendingWrite->begin(), pendingWrite->end(), bytes.begin()))
        return {ReplyShape::EchoOf, bytes[0], kWriteSingleRegister};
    if (bytes.size() >= kReadReplyLength)
        return {EndsInOwnCrc(bytes, kReadReplyLength) ? ReplyShape::ReadReply : ReplyShape::BadCrc,
                bytes[0], bytes[1]};
    if (bytes.size() >= 5 && (bytes[1] & 0x80) != 0 && EndsInOwnCrc(bytes, 5))
        return {ReplyShape::Exception, bytes[0], static_cast<std::uint8_t>(bytes[1] & 0x7F), bytes[2]};
    if (bytes.size() >= 8 && bytes[1] == kWriteSingleRegister && EndsInOwnCrc(bytes, 8))
        return {ReplyShape::WriteEcho, bytes[0], kWriteSingleRegister};
    return {ReplyShape::Fragment, bytes.empty() ? std::uint8_t{0} : bytes[0], 0};
}

} // namespace lq
