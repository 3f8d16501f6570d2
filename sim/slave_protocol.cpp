#include "sim/slave_protocol.h"

#include "modbus/crc16.h"
#include "modbus/request_frames.h"

namespace lq::sim {

namespace {

constexpr std::size_t kRequestLength = 8; // both functions: address, function, two words, CRC
constexpr int kMaxReadQuantity = 125;     // what fits in one reply of 256 bytes

int Word(std::span<const std::uint8_t> frame, std::size_t at) {
    return frame[at] << 8 | frame[at + 1];
}

} // namespace

void AppendCrc(Frame& frame) {
    const std::uint16_t crc = CalcCRC16(frame.data(), static_cast<std::int32_t>(frame.size()));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
}

bool HasValidCrc(std::span<const std::uint8_t> frame) {
    if (frame.size() < 4) return false;
    const std::size_t body = frame.size() - 2;
    const std::uint16_t crc = CalcCRC16(frame.data(), static_cast<std::int32_t>(body));
    return frame[body] == (crc >> 8) && frame[body + 1] == (crc & 0xFF);
}

Frame SlaveProtocol::HandleFrame(std::span<const std::uint8_t> frame) {
    if (!HasValidCrc(frame)) return {};
    const std::uint8_t address = frame[0];
    const bool broadcast = address == kBroadcastAddress;
    if (address != config_.address && !broadcast) return {};
    const std::uint8_t function = frame[1];

    switch (function) {
    case kReadHoldingRegisters:
        // A broadcast read has no one to answer it.
        if (broadcast || frame.size() != kRequestLength) return {};
        return ReadHoldingRegisters(frame);
    case kWriteSingleRegister:
        if (frame.size() != kRequestLength) return {};
        return WriteSingleRegister(frame, broadcast);
    default:
        if (broadcast) return {};
        return Exception(function, kIllegalFunction);
    }
}

Frame SlaveProtocol::ReadHoldingRegisters(std::span<const std::uint8_t> frame) {
    const int start = Word(frame, 2);
    const int quantity = Word(frame, 4);
    if (quantity < 1 || quantity > kMaxReadQuantity) return Exception(frame[1], kIllegalDataValue);
    if (start + quantity > kRegisterCount) return Exception(frame[1], kIllegalDataAddress);
    if (config_.failEveryRead) return Exception(frame[1], kSlaveDeviceFailure);
    if (start == config_.refusedReadStart) return Exception(frame[1], kIllegalDataAddress);

    Frame reply{config_.address, frame[1], static_cast<std::uint8_t>(2 * quantity)};
    for (int reg = start; reg < start + quantity; ++reg) {
        const std::uint16_t value = model_.Get(reg);
        reply.push_back(static_cast<std::uint8_t>(value >> 8));
        reply.push_back(static_cast<std::uint8_t>(value & 0xFF));
    }
    AppendCrc(reply);
    return reply;
}

Frame SlaveProtocol::WriteSingleRegister(std::span<const std::uint8_t> frame, bool broadcast) {
    const int reg = Word(frame, 2);
    const auto value = static_cast<std::uint16_t>(Word(frame, 4));
    if (reg >= kRegisterCount) return broadcast ? Frame{} : Exception(frame[1], kIllegalDataAddress);
    const auto result = model_.Write(reg, value);
    if (broadcast) return {};
    if (result == ControllerModel::WriteResult::IllegalValue) return Exception(frame[1], kIllegalDataValue);
    if (reg == config_.unechoedWriteRegister) return {};
    return Frame(frame.begin(), frame.end());
}

Frame SlaveProtocol::Exception(std::uint8_t function, std::uint8_t code) const {
    Frame reply{config_.address, static_cast<std::uint8_t>(function | 0x80), code};
    AppendCrc(reply);
    return reply;
}

} // namespace lq::sim
