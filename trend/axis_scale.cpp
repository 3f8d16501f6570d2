#include "trend/axis_scale.h"

#include <algorithm>
#include <cmath>

namespace lq {

namespace {

constexpr int kTargetTicks = 5;

// The nearest of 1, 2 and 5 times a power of ten (or the next power of ten) to `x` > 0.
double RoundStep(double x) {
    const double power = std::pow(10.0, std::floor(std::log10(x)));
    const double q = x / power;
    return (q < 1.5 ? 1 : q < 3 ? 2 : q < 7 ? 5 : 10) * power;
}

} // namespace

AxisScale RoundAxisScale(double low, double high, double minSpan) {
    const double margin = std::max({(high - low) * 0.08, (minSpan - (high - low)) / 2, 1.0});
    const double from = std::floor(low - margin);
    const double to = std::ceil(high + margin);
    const double step = RoundStep((to - from) / (kTargetTicks - 1));
    const double first = std::floor(from / step);
    const double last = std::ceil(to / step);
    return {first * step, last * step, static_cast<int>(last - first) + 1};
}

} // namespace lq
