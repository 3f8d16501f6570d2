#include "trend/trend_plot_points.h"

#include <algorithm>
#include <cmath>

namespace lq {

namespace {

// The index of the first point at or after `at` (Size() when none).
std::size_t FirstAtOrAfter(const TrendRing<TrendPoint>& series, double at) {
    std::size_t low = 0, high = series.Size();
    while (low < high) {
        const std::size_t mid = (low + high) / 2;
        if (series[mid].timeMs < at)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

// Keeps the lowest and the highest of each column's points, in time order.
class ColumnThinner {
  public:
    ColumnThinner(double from, double width) : from_(from), width_(width) {}

    void Add(const TrendPoint& p, std::vector<PlotPoint>& out) {
        const auto column = static_cast<long>(std::floor((p.timeMs - from_) / width_));
        if (count_ > 0 && column != column_) Flush(out);
        column_ = column;
        const PlotPoint point{p.timeMs, p.value};
        if (count_ == 0) low_ = high_ = point;
        if (point.y < low_.y) low_ = point;
        if (point.y > high_.y) high_ = point;
        ++count_;
    }

    void Flush(std::vector<PlotPoint>& out) {
        if (count_ == 0) return;
        const bool lowFirst = low_.x <= high_.x;
        out.push_back(lowFirst ? low_ : high_);
        if (low_.x != high_.x) out.push_back(lowFirst ? high_ : low_);
        count_ = 0;
    }

  private:
    double from_, width_;
    long column_ = 0;
    int count_ = 0;
    PlotPoint low_{}, high_{};
};

} // namespace

std::vector<std::vector<PlotPoint>> PlotLines(const TrendRing<TrendPoint>& series, double from, double to,
                                              int columns) {
    std::vector<std::vector<PlotPoint>> lines;
    if (series.Empty() || to <= from || columns <= 0) return lines;
    std::size_t begin = FirstAtOrAfter(series, from);
    std::size_t end = FirstAtOrAfter(series, to);
    if (begin > 0) --begin;
    if (end < series.Size()) ++end;
    const bool thin = end - begin > 2 * static_cast<std::size_t>(columns);
    ColumnThinner thinner(from, (to - from) / columns);
    for (std::size_t i = begin; i < end; ++i) {
        const TrendPoint& p = series[i];
        if (lines.empty() || (p.startsSegment && i != begin)) {
            if (!lines.empty()) thinner.Flush(lines.back());
            lines.emplace_back();
        }
        if (thin)
            thinner.Add(p, lines.back());
        else
            lines.back().push_back({p.timeMs, p.value});
    }
    if (thin) thinner.Flush(lines.back());
    return lines;
}

std::vector<std::vector<PlotPoint>> SplitAt(const std::vector<std::vector<PlotPoint>>& lines, double cut) {
    std::vector<std::vector<PlotPoint>> pieces;
    for (const std::vector<PlotPoint>& line : lines) {
        const auto after =
            std::find_if(line.begin(), line.end(), [cut](const PlotPoint& p) { return p.x >= cut; });
        if (after == line.begin() || after == line.end()) {
            pieces.push_back(line);
            continue;
        }
        pieces.emplace_back(line.begin(), after);
        pieces.emplace_back(after - 1,
                            line.end()); // from the last point before the cut: no break in the line
    }
    return pieces;
}

double ColumnEdgeAtOrBefore(double from, double to, int columns, double at) {
    if (to <= from || columns <= 0) return from;
    const double column = (to - from) / columns;
    return from + std::floor((std::clamp(at, from, to) - from) / column) * column;
}

std::optional<ValueSpan> ValueRange(const TrendRing<TrendPoint>& series, double from, double to) {
    std::optional<ValueSpan> range;
    for (std::size_t i = FirstAtOrAfter(series, from); i < series.Size() && series[i].timeMs <= to; ++i) {
        const double v = series[i].value;
        if (!range)
            range = ValueSpan{v, v};
        else
            range = ValueSpan{std::min(range->low, v), std::max(range->high, v)};
    }
    return range;
}

const TrendPoint* NearestPoint(const TrendRing<TrendPoint>& series, double at, double within) {
    if (series.Empty()) return nullptr;
    const std::size_t after = FirstAtOrAfter(series, at);
    const TrendPoint* best = nullptr;
    for (std::size_t i : {after, after - 1}) {
        if (i >= series.Size()) continue; // after - 1 wraps round when after is 0
        if (!best || std::abs(series[i].timeMs - at) < std::abs(best->timeMs - at)) best = &series[i];
    }
    return best && std::abs(best->timeMs - at) <= within ? best : nullptr;
}

} // namespace lq
