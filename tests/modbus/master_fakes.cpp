#include "master_fakes.h"

#include "modbus/crc16.h"
#include "modbus/request_frames.h"

namespace lq::testing {

Bytes WithCrc(Bytes frame) {
    const std::uint16_t crc = CalcCRC16(frame.data(), static_cast<std::int32_t>(frame.size()));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    return frame;
}

void MasterRig::PollAt(std::uint8_t index) {
    Tick();
    while (master.PollIndex() != index) {
        Deliver(ReadReply(std::vector<std::uint16_t>(10, 0)));
        Tick();
    }
}

Bytes ReadReply(const std::vector<std::uint16_t>& values) {
    Bytes reply{0x01, 0x03, 0x14};
    for (std::uint16_t v : values) {
        reply.push_back(static_cast<std::uint8_t>(v >> 8));
        reply.push_back(static_cast<std::uint8_t>(v & 0xFF));
    }
    return WithCrc(reply);
}

Bytes ExceptionReply(std::uint8_t function, std::uint8_t code) {
    return WithCrc({0x01, static_cast<std::uint8_t>(function | 0x80), code});
}

Bytes WriteEcho(std::uint8_t reg, std::uint16_t value) {
    const RequestFrame f = BuildWriteRequest(1, reg, static_cast<std::uint8_t>(value >> 8),
                                             static_cast<std::uint8_t>(value & 0xFF));
    return Bytes(f.begin(), f.end());
}

std::vector<int> ReadStarts(const CapturingSender& sender, std::size_t from) {
    std::vector<int> starts;
    for (std::size_t i = from; i < sender.sent.size(); ++i)
        if (sender.sent[i][1] == kReadHoldingRegisters) starts.push_back(sender.sent[i][3]);
    return starts;
}

std::size_t WritesSent(const CapturingSender& sender, std::size_t from) {
    std::size_t writes = 0;
    for (std::size_t i = from; i < sender.sent.size(); ++i)
        writes += sender.sent[i][1] == kWriteSingleRegister;
    return writes;
}

} // namespace lq::testing
