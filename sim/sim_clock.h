#pragma once

#include <chrono>

namespace lq::sim {

using SimTime = std::chrono::steady_clock::time_point;
using std::chrono::microseconds;
using std::chrono::milliseconds;

// Where the simulator gets "now" from, so that tests can drive frame timing and the model by hand.
class SimClock {
  public:
    virtual ~SimClock() = default;
    virtual SimTime Now() const = 0;
};

class SteadyClock final : public SimClock {
  public:
    SimTime Now() const override { return std::chrono::steady_clock::now(); }
};

} // namespace lq::sim
