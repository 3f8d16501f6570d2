#pragma once

#include "sim/random_source.h"
#include "sim/sim_clock.h"
#include "sim/slave_protocol.h"

#include <vector>

namespace lq::sim {

struct FaultOptions {
    double drop = 0.0;     // probability that a reply is never sent
    double corrupt = 0.0;  // probability that one byte of a reply is damaged
    double split = 0.0;    // probability that a reply stops half-way for a while
    milliseconds delay{0}; // added before every reply
};

// One piece of a reply, to go out `after` the end of the request that it answers.
struct ReplyChunk {
    milliseconds after{0};
    Frame bytes;
};

// Decides, reply by reply, how the line mistreats the slave's answers. With the same seed and options the
// same sequence of replies is mistreated the same way, whatever the timing of the run.
class FaultInjector {
  public:
    // Longer than the master's 100 ms inter-byte time-out, so the two halves reach it as two deliveries.
    static constexpr milliseconds kSplitPause{150};

    FaultInjector(FaultOptions options, std::uint64_t seed) : options_(options), random_(seed) {}

    // The chunks to send for this reply, in order; none when it is dropped.
    std::vector<ReplyChunk> Plan(Frame reply);

  private:
    FaultOptions options_;
    RandomSource random_;
};

} // namespace lq::sim
