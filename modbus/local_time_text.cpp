#include "modbus/local_time_text.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace lq {

namespace {

struct LocalTime {
    std::tm fields{};
    int milliseconds = 0;
};

LocalTime ToLocal(std::chrono::system_clock::time_point at) {
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

std::string ClockText(std::chrono::system_clock::time_point at) {
    const LocalTime local = ToLocal(at);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", local.fields.tm_hour, local.fields.tm_min,
                  local.fields.tm_sec, local.milliseconds);
    return text;
}

std::string IsoTimeText(std::chrono::system_clock::time_point at) {
    const LocalTime local = ToLocal(at);
    const long offsetMinutes = local.fields.tm_gmtoff / 60;
    const int offset = static_cast<int>(std::labs(offsetMinutes) % (24 * 60));
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d%c%02d:%02d",
                  local.fields.tm_year + 1900, local.fields.tm_mon + 1, local.fields.tm_mday,
                  local.fields.tm_hour, local.fields.tm_min, local.fields.tm_sec, local.milliseconds,
                  offsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return text;
}

} // namespace lq
