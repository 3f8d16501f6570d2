#pragma once

#include "sim/sim_clock.h"

namespace lq::sim {

class FakeClock final : public SimClock {
  public:
    SimTime Now() const override { return now_; }
    void Advance(std::chrono::nanoseconds by) { now_ += by; }

  private:
    SimTime now_{std::chrono::hours(1)};
};

} // namespace lq::sim
