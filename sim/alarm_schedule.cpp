#include "sim/alarm_schedule.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace lq::sim {

namespace {

constexpr double kLatestSeconds = 86'400.0;
constexpr int kHighestBit = 8;

std::optional<AlarmChange> ParseChange(std::string_view item) {
    const std::size_t sign = item.find_first_of("+-");
    if (sign == 0 || sign == std::string_view::npos) return std::nullopt;
    const std::string seconds(item.substr(0, sign));
    char* end = nullptr;
    const double at = std::strtod(seconds.c_str(), &end);
    if (end != seconds.c_str() + seconds.size() || !std::isfinite(at) || at < 0.0 || at > kLatestSeconds)
        return std::nullopt;
    const std::string_view bitText = item.substr(sign + 1);
    int bit = -1;
    const auto [tail, ec] = std::from_chars(bitText.data(), bitText.data() + bitText.size(), bit);
    if (ec != std::errc{} || tail != bitText.data() + bitText.size() || bit < 0 || bit > kHighestBit)
        return std::nullopt;
    return AlarmChange{milliseconds(std::llround(at * 1000.0)), bit, item[sign] == '+'};
}

} // namespace

std::optional<std::vector<AlarmChange>> ParseAlarmSchedule(std::string_view text) {
    std::vector<AlarmChange> changes;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const auto change = ParseChange(text.substr(0, comma));
        if (!change) return std::nullopt;
        changes.push_back(*change);
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
        if (comma != std::string_view::npos && text.empty()) return std::nullopt;
    }
    if (changes.empty()) return std::nullopt;
    std::stable_sort(changes.begin(), changes.end(),
                     [](const AlarmChange& a, const AlarmChange& b) { return a.at < b.at; });
    return changes;
}

} // namespace lq::sim
