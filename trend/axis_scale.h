#pragma once

namespace lq {

// A value axis on round numbers: its ends and its tick count, ticks at 1, 2 or 5 times a power of ten.
struct AxisScale {
    double min;
    double max;
    int ticks;
    bool operator==(const AxisScale&) const = default;
    bool Holds(double low, double high) const { return low >= min && high <= max; }
};

// The axis for values from `low` to `high`: a margin of 8 % (at least 1) on either side, at least `minSpan`
// wide so that a few tenths of noise do not fill the plot, then widened to ends on a round tick step (1, 2 or
// 5 times a power of ten) that gives four to nine ticks.
AxisScale RoundAxisScale(double low, double high, double minSpan);

} // namespace lq
