#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "modbus/link_statistics.h"

namespace lq {

// One line of the statistics as the operator reads it.
struct StatisticsItem {
    std::string label;
    std::string value;
    bool fault = false; // a count of something that went wrong, and not zero
};

// The counters of the link in reading order: requests, replies and what went wrong with them, exceptions by
// code (only those that came), writes by outcome, the share of good replies, round trips and the time since
// the last good reply as of `now`.
std::vector<StatisticsItem> DescribeStatistics(const LinkStatistics& statistics,
                                               std::chrono::steady_clock::time_point now);

} // namespace lq
