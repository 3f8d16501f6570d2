#pragma once

#include <chrono>
#include <optional>
#include <span>
#include <string>

#include "modbus/local_time_text.h"
#include "modbus/text_helpers.h"
#include "monitor/traffic_row.h"

namespace lq {

// "发", "收", or "—" for a reply that did not come, as the traffic file has them in every interface language:
// scripts read the file.
std::string DirectionText(TrafficDirection direction);
// The same on the screen, in the interface language ("TX", "RX" in English).
std::string ShownDirectionText(TrafficDirection direction);
// Milliseconds with one decimal, "12.3"; empty when there is none.
std::string RoundTripMilliseconds(std::optional<std::chrono::microseconds> roundTrip);

// One row as a line of the traffic file: ISO time (a delivery's: when its frame was complete), direction,
// bytes in hex, meaning, round trip to the frame's end and answer time to the first byte in milliseconds
// (empty where the row has none), separated by tabs.
std::string FormatTrafficLine(const TrafficRow& row);

} // namespace lq
