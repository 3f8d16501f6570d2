#include "monitor/traffic_line.h"

#include "modbus/display_text.h"
#include "modbus/local_time_text.h"

namespace lq {

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

std::string ShownDirectionText(TrafficDirection direction) {
    switch (direction) {
    case TrafficDirection::Sent:
        return LQ_TR("TrafficLine", "发");
    case TrafficDirection::Received:
        return LQ_TR("TrafficLine", "收");
    case TrafficDirection::Missing:
        return DirectionText(direction);
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
