#include "trend/trend_follow.h"

#include <algorithm>

namespace lq {

namespace {

double StripMs(double spanMs, int columns) {
    return std::max(TrendFollow::kRoundMs, spanMs / std::max(1, columns));
}

} // namespace

FollowStep TrendFollow::Next(double now, double pageEnd, double drawnAt, bool newData, double spanMs,
                             int columns) {
    if (now >= pageEnd) return FollowStep::NewPage;
    if (!newData) return FollowStep::Nothing;
    return now - drawnAt >= StripMs(spanMs, columns) ? FollowStep::NewPoints : FollowStep::Nothing;
}

double TrendFollow::SleepMs(double now, double pageEnd, double drawnAt, double spanMs, int columns) {
    const double due = std::min(pageEnd, drawnAt + StripMs(spanMs, columns));
    return std::clamp(due - now, kTickMs, kLongestSleepMs);
}

} // namespace lq
