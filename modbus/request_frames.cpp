#include "request_frames.h"

#include "modbus/crc16.h"

namespace lq {

namespace {

RequestFrame WithCrc(RequestFrame frame) {
    const std::uint16_t crc = CalcCRC16(frame.data(), 6);
    frame[6] = static_cast<std::uint8_t>(crc >> 8);
    frame[7] = static_cast<std::uint8_t>(crc & 0xFF);
    return frame;
}

} // namespace

RequestFrame BuildReadRequest(std::uint8_t slave, std::uint8_t startRegister, std::uint8_t quantity) {
    return WithCrc({slave, kReadHoldingRegisters, 0x00, startRegister, 0x00, quantity, 0, 0});
}

RequestFrame BuildWriteRequest(std::uint8_t slave, std::uint8_t registerAddress, std::uint8_t valueHi,
                               std::uint8_t valueLo) {
    return WithCrc({slave, kWriteSingleRegister, 0x00, registerAddress, valueHi, valueLo, 0, 0});
}

} // namespace lq
