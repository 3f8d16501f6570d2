#pragma once

#include <optional>
#include <vector>

#include "trend/trend_series.h"

namespace lq {

struct PlotPoint {
    double x; // chart time, ms
    double y;
    bool operator==(const PlotPoint&) const = default;
};

// The lines one series needs for a plot from `from` to `to` that is `columns` pixels wide: one line per
// stretch of a live link, each reaching one point beyond either edge so it leaves the plot instead of
// stopping short. When there are more than two points to a pixel column, each column keeps only its lowest
// and its highest point, in time order: the same envelope from at most two points a column.
std::vector<std::vector<PlotPoint>> PlotLines(const TrendRing<TrendPoint>& series, double from, double to,
                                              int columns);

// The lines cut at time `cut`, for a plot that keeps each piece in a series of its own: a line that crosses
// it becomes the piece before it and the piece from the last point before it on, so that together they draw
// the same line. While new points come only after the cut, the pieces before it stay as they are, and the
// piece after it is all that needs drawing again.
std::vector<std::vector<PlotPoint>> SplitAt(const std::vector<std::vector<PlotPoint>>& lines, double cut);

// The edge of a pixel column of that plot at or before `at` (clamped to the plot): a column before it holds
// no point after it, so points that come after it do not change what PlotLines makes of that column.
double ColumnEdgeAtOrBefore(double from, double to, int columns, double at);

struct ValueSpan {
    double low;
    double high;
};
// The lowest and highest value of the points from `from` to `to`; none when no point is there.
std::optional<ValueSpan> ValueRange(const TrendRing<TrendPoint>& series, double from, double to);

// The point nearest to time `at`, for the cross-hair read-out; none when the series is empty or the nearest
// point is farther than `within`.
const TrendPoint* NearestPoint(const TrendRing<TrendPoint>& series, double at, double within);

} // namespace lq
