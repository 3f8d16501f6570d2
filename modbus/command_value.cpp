#include "command_value.h"

#include <cmath>

namespace lq {

double RoundHalfEven(double value)
{
    // nearbyint follows the current rounding mode, which stays round-to-nearest-even for the whole run.
    return std::nearbyint(value);
}

std::int32_t CommandValue(double value)
{
    if (std::isnan(value)) return 0;
    const double rounded = RoundHalfEven(value);
    if (rounded > 65535.0) return 65535;
    if (rounded < -32768.0) return -32768;
    return static_cast<std::int32_t>(rounded);
}

double TimesTen(double value)
{
    return static_cast<double>(static_cast<long double>(value) * 10.0L);
}

} // namespace lq
