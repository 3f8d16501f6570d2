#include "recording/local_time_text.h"

#include <cstdio>
#include <ctime>

namespace lq {

std::string LocalTimeText(std::chrono::system_clock::time_point at)
{
    using namespace std::chrono;
    const auto sinceEpoch = at.time_since_epoch();
    auto seconds = floor<std::chrono::seconds>(sinceEpoch);
    const auto millis = duration_cast<milliseconds>(sinceEpoch - seconds).count();
    const std::time_t whole = static_cast<std::time_t>(seconds.count());
    std::tm local{};
    ::localtime_r(&whole, &local);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    const long offset = local.tm_gmtoff / 60; // minutes east of UTC
    const long absOffset = offset < 0 ? -offset : offset;
    char text[64];
    std::snprintf(text, sizeof text, "%s.%03lld%c%02ld:%02ld", date, static_cast<long long>(millis),
                  offset < 0 ? '-' : '+', absOffset / 60, absOffset % 60);
    return text;
}

} // namespace lq
