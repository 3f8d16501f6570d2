#include "modbus/local_time_text.h"

#include <charconv>
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

// Writes `value` as printf's "%0<width>d" would: the times are written for every row and line the panel
// keeps, and snprintf would be most of that cost.
void AppendDigits(std::string& text, int value, int width) {
    if (value < 0) {
        text += '-';
        --width;
    }
    char digits[16];
    const char* end = std::to_chars(digits, digits + sizeof digits, std::abs(static_cast<long>(value))).ptr;
    const auto count = static_cast<int>(end - digits);
    if (count < width) text.append(static_cast<std::size_t>(width - count), '0');
    text.append(digits, static_cast<std::size_t>(count));
}

void AppendClock(std::string& text, const LocalTime& local) {
    AppendDigits(text, local.fields.tm_hour, 2);
    text += ':';
    AppendDigits(text, local.fields.tm_min, 2);
    text += ':';
    AppendDigits(text, local.fields.tm_sec, 2);
    text += '.';
    AppendDigits(text, local.milliseconds, 3);
}

} // namespace

std::string ClockText(std::chrono::system_clock::time_point at) {
    std::string text;
    text.reserve(12);
    AppendClock(text, ToLocal(at));
    return text;
}

std::string IsoTimeText(std::chrono::system_clock::time_point at) {
    const LocalTime local = ToLocal(at);
    const long offsetMinutes = local.fields.tm_gmtoff / 60;
    const int offset = static_cast<int>(std::labs(offsetMinutes) % (24 * 60));
    std::string text;
    text.reserve(29);
    AppendDigits(text, local.fields.tm_year + 1900, 4);
    text += '-';
    AppendDigits(text, local.fields.tm_mon + 1, 2);
    text += '-';
    AppendDigits(text, local.fields.tm_mday, 2);
    text += 'T';
    AppendClock(text, local);
    text += offsetMinutes < 0 ? '-' : '+';
    AppendDigits(text, offset / 60, 2);
    text += ':';
    AppendDigits(text, offset % 60, 2);
    return text;
}

} // namespace lq
