#pragma once

#include <QPoint>
#include <QRect>

namespace lq {

// Where a window's frame goes so that all of it is on the screen's available area: where it is when it fits,
// else moved (never resized) just far enough; a frame larger than the area keeps its top left corner on it.
QPoint PlaceInside(const QRect& frame, const QRect& area);

} // namespace lq
