#include "panel/screen_fit.h"

#include <algorithm>

namespace lq {

QPoint PlaceInside(const QRect& frame, const QRect& area) {
    // The far edge first, then the near one, so that the top left corner wins when both cannot.
    const int x = std::max(area.left(), std::min(frame.left(), area.right() - frame.width() + 1));
    const int y = std::max(area.top(), std::min(frame.top(), area.bottom() - frame.height() + 1));
    return {x, y};
}

} // namespace lq
