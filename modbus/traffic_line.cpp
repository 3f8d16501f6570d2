#include "modbus/traffic_line.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace lq {

namespace {

struct LocalTime {
    std::tm fields{};
    int milliseconds = 0;
};

LocalTime ToLocal(std::chrono::system_clock::time_point at)
{
    using namespace std::chrono;
    const auto sinceEpoch = duration_cast<milliseconds>(at.time_since_epoch());
    auto seconds = duration_cast<std::chrono::seconds>(sinceEpoch);
    auto rest = sinceEpoch - seconds;
    // Before 1970 the remainder is negative; borrow a second so the milliseconds stay 0..999.
    if (rest.count() < 0) {
        seconds -= std::chrono::seconds(1);
        rest += std::chrono::seconds(1);
    }
    LocalTime local;
    const std::time_t t = static_cast<std::time_t>(seconds.count());
    localtime_r(&t, &local.fields);
    local.milliseconds = static_cast<int>(rest.count());
    return local;
}

} // namespace

std::string HexText(std::span<const std::uint8_t> bytes)
{
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

std::string ClockText(std::chrono::system_clock::time_point at)
{
    const LocalTime local = ToLocal(at);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", local.fields.tm_hour, local.fields.tm_min,
                  local.fields.tm_sec, local.milliseconds);
    return text;
}

std::string IsoTimeText(std::chrono::system_clock::time_point at)
{
    const LocalTime local = ToLocal(at);
    const long offsetMinutes = local.fields.tm_gmtoff / 60;
    const int offset = static_cast<int>(std::labs(offsetMinutes) % (24 * 60));
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d%c%02d:%02d", local.fields.tm_year + 1900,
                  local.fields.tm_mon + 1, local.fields.tm_mday, local.fields.tm_hour, local.fields.tm_min,
                  local.fields.tm_sec, local.milliseconds, offsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return text;
}

std::string DirectionText(TrafficDirection direction)
{
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

std::string RoundTripMilliseconds(std::optional<std::chrono::microseconds> roundTrip)
{
    if (!roundTrip) return {};
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(roundTrip->count()) / 1000.0);
    return text;
}

std::string FormatTrafficLine(const TrafficRow& row)
{
    std::string line = IsoTimeText(row.at);
    line += '\t';
    line += DirectionText(row.direction);
    line += '\t';
    line += HexText(row.bytes);
    line += '\t';
    line += row.meaning;
    line += '\t';
    line += RoundTripMilliseconds(row.roundTrip);
    return line;
}

} // namespace lq
