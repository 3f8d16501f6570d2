#include "sim/mbap_gateway.h"

#include "modbus/crc16.h"

#include <optional>

namespace lq::sim {

namespace {

constexpr std::size_t kHeader = 7;

// The whole length of the RTU reply that starts the bytes, once enough of it is there to tell.
std::optional<std::size_t> ReplyLength(const std::vector<std::uint8_t>& bytes, bool& unknown) {
    unknown = false;
    if (bytes.size() < 2) return std::nullopt;
    const std::uint8_t function = bytes[1];
    if (function & 0x80) return 5;
    if (function == 0x06 || function == 0x10) return 8;
    if (function == 0x03 || function == 0x04) {
        if (bytes.size() < 3) return std::nullopt;
        return std::size_t{5} + bytes[2];
    }
    unknown = true;
    return std::nullopt;
}

} // namespace

Frame MbapGateway::FromNetwork(std::span<const std::uint8_t> bytes) {
    network_.insert(network_.end(), bytes.begin(), bytes.end());
    Frame rtu;
    while (network_.size() >= kHeader) {
        const std::size_t length = std::size_t{network_[4]} << 8 | network_[5];
        if (length < 2 || length > 254) {
            network_.clear();
            break;
        }
        if (network_.size() < 6 + length) break;
        transaction_ = static_cast<std::uint16_t>(network_[0] << 8 | network_[1]);
        const std::size_t start = rtu.size();
        rtu.insert(rtu.end(), network_.begin() + 6,
                   network_.begin() + 6 + static_cast<std::ptrdiff_t>(length));
        const std::uint16_t crc = CalcCRC16(rtu.data() + start, static_cast<std::int32_t>(length));
        rtu.push_back(static_cast<std::uint8_t>(crc >> 8));
        rtu.push_back(static_cast<std::uint8_t>(crc & 0xFF));
        network_.erase(network_.begin(), network_.begin() + 6 + static_cast<std::ptrdiff_t>(length));
        // A new transaction: whatever the serial side left half-sent belongs to no one now.
        controller_.clear();
    }
    return rtu;
}

Frame MbapGateway::FromController(std::span<const std::uint8_t> bytes) {
    controller_.insert(controller_.end(), bytes.begin(), bytes.end());
    Frame adus;
    for (;;) {
        bool unknown = false;
        const std::optional<std::size_t> length = ReplyLength(controller_, unknown);
        if (unknown) controller_.clear();
        if (!length || controller_.size() < *length) break;
        const auto body = static_cast<std::int32_t>(*length - 2);
        const bool intact =
            CalcCRC16(controller_.data(), body) == (controller_[*length - 2] << 8 | controller_[*length - 1]);
        if (intact) {
            const auto n = static_cast<std::uint16_t>(body);
            adus.insert(adus.end(), {static_cast<std::uint8_t>(transaction_ >> 8),
                                     static_cast<std::uint8_t>(transaction_ & 0xFF), 0, 0,
                                     static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n & 0xFF)});
            adus.insert(adus.end(), controller_.begin(), controller_.begin() + body);
        }
        controller_.erase(controller_.begin(), controller_.begin() + static_cast<std::ptrdiff_t>(*length));
    }
    return adus;
}

} // namespace lq::sim
