#pragma once

#include <chrono>
#include <string>

namespace lq {

// Local time of day to the millisecond: "14:03:05.123".
std::string ClockText(std::chrono::system_clock::time_point at);
// ISO 8601 in the machine's local time zone, to the millisecond, with the zone's offset so that a record
// stays unambiguous across a daylight-saving change: "2026-12-08T14:03:05.123+08:00".
std::string IsoTimeText(std::chrono::system_clock::time_point at);

} // namespace lq
