#include "modbus/traffic_line.h"

#include "modbus/local_time_text.h"

namespace lq {

std::string HexText(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (const std::uint8_t byte : bytes) {
        if (!text.empty()) text += ' ';
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

std::string DirectionText(TrafficDirection direction) {
    switch (direction) {
    case TrafficDirection::Sent:
        return "发";
    case TrafficDirection::Received:
        return "收";
    case TrafficDirection::Missing:
        return "—";
    }
    return {};
}

std::string RoundTripMilliseconds(std::optional<std::chrono::microseconds> roundTrip) {
    if (!roundTrip) return {};
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(roundTrip->count()) / 1000.0);
    return text;
}

std::string FormatTrafficLine(const TrafficRow& row) {
    std::string line = IsoTimeText(row.at);
    line += '\t';
    line += DirectionText(row.direction);
    line += '\t';
    line += HexText(row.bytes);
    line += '\t';
    line += row.meaning;
    line += '\t';
    line += RoundTripMilliseconds(row.roundTrip);
    line += '\t';
    line += RoundTripMilliseconds(row.answerTime);
    return line;
}

} // namespace lq
