#pragma once

#include <chrono>
#include <optional>
#include <span>
#include <string>

#include "modbus/traffic_row.h"

namespace lq {

// "01 03 00 00 00 0A C5 CD"
std::string HexText(std::span<const std::uint8_t> bytes);
// Local time of day to the millisecond: "14:03:05.123".
std::string ClockText(std::chrono::system_clock::time_point at);
// Local date and time to the millisecond with the offset from UTC: "2026-12-08T14:03:05.123+08:00".
std::string IsoTimeText(std::chrono::system_clock::time_point at);
// "发", "收", or "—" for a reply that did not come.
std::string DirectionText(TrafficDirection direction);
// Milliseconds with one decimal, "12.3"; empty when there is none.
std::string RoundTripMilliseconds(std::optional<std::chrono::microseconds> roundTrip);

// One row as a line of the traffic file: ISO time, direction, bytes in hex, meaning and round trip in
// milliseconds (empty where the row has none), separated by tabs.
std::string FormatTrafficLine(const TrafficRow& row);

} // namespace lq
