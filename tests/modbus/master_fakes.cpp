#include "master_fakes.h"

#include "modbus/crc16.h"

namespace lq::testing {

Bytes ReadReply(const std::vector<std::uint16_t>& values)
{
    Bytes reply{0x01, 0x03, 0x14};
    for (std::uint16_t v : values) {
        reply.push_back(static_cast<std::uint8_t>(v >> 8));
        reply.push_back(static_cast<std::uint8_t>(v & 0xFF));
    }
    const std::uint16_t crc = CalcCRC16(reply.data(), static_cast<std::int32_t>(reply.size()));
    reply.push_back(static_cast<std::uint8_t>(crc >> 8));
    reply.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    return reply;
}

} // namespace lq::testing
