#pragma once

#include "sim/sim_clock.h"

#include <optional>
#include <string_view>
#include <vector>

namespace lq::sim {

// One alarm bit of register 13 raised or cleared at a time after the start.
struct AlarmChange {
    milliseconds at{0};
    int bit = 0;
    bool on = false;
};

// "2+1,6.5-1": bit 1 raised 2 s after the start and cleared at 6.5 s. Bits 0..8, times up to a day, in any
// order (sorted by time, ties kept in the order given); none for a schedule that is not of this form.
std::optional<std::vector<AlarmChange>> ParseAlarmSchedule(std::string_view text);

} // namespace lq::sim
