#pragma once

#include <optional>
#include <vector>

#include "recording/trend_model.h"

namespace lq {

struct PlotPoint {
    double x; // chart time, ms
    double y;
};

// The lines one series needs for a plot from `from` to `to` that is `columns` pixels wide: one line per
// stretch of a live link, each reaching one point beyond either edge so it leaves the plot instead of
// stopping short. When there are more than two points to a pixel column, each column keeps only its lowest
// and its highest point, in time order: the same envelope from at most two points a column.
std::vector<std::vector<PlotPoint>> PlotLines(const TrendRing<TrendPoint>& series, double from, double to,
                                              int columns);

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
