#pragma once

#include <chrono>
#include <string>

namespace lq {

// ISO 8601 in the machine's local time zone, to the millisecond, with the zone's offset so that a record
// stays unambiguous across a daylight-saving change: "2026-03-05T14:07:09.042+08:00".
std::string LocalTimeText(std::chrono::system_clock::time_point at);

} // namespace lq
