#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace lq {

// Where a window's frame goes so that all of it is on the screen's available area: where it is when it fits,
// else moved (never resized) just far enough; a frame larger than the area keeps its top left corner on it.
QPoint PlaceInside(const QRect& frame, const QRect& area);

// The frame's place and size so that all of it is on the area: as it is when it fits; else no larger than
// the area, though never below `minimum`, and moved just far enough.
QRect FitInside(const QRect& frame, const QSize& minimum, const QRect& area);

// Sizes and places a window that has not been shown yet so that it opens wholly on its screen's available
// area, its layout taking what room there is. Its frame is not known before it is shown, so the frame of a
// window on show stands in for it.
void FitBeforeShow(QWidget& window);

} // namespace lq
