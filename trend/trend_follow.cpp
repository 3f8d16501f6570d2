#include "trend/trend_follow.h"

#include <algorithm>

namespace lq {

FollowStep TrendFollow::Next(double now, double pageEnd, double drawnAt, bool newData, double spanMs,
                             int columns) {
    if (now >= pageEnd) return FollowStep::NewPage;
    if (!newData) return FollowStep::Nothing;
    const double column = spanMs / std::max(1, columns);
    return now - drawnAt >= std::max(kRoundMs, column) ? FollowStep::NewPoints : FollowStep::Nothing;
}

} // namespace lq
