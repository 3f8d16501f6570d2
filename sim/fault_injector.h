#pragma once

#include "sim/random_source.h"
#include "sim/sim_clock.h"
#include "sim/slave_protocol.h"

#include <vector>

namespace lq::sim {

struct FaultOptions {
    double loseRequest = 0.0; // probability that a request never reaches the slave (not carried out)
    double drop = 0.0;     // probability that a reply is never sent
    double corrupt = 0.0;  // probability that one byte of a reply is damaged
    double split = 0.0;    // probability that a reply stops half-way for a while
    milliseconds delay{0}; // added before every reply
};

// What became of the last reply planned.
enum class ReplyFate { Whole, Dropped, Corrupted, Split, CorruptedAndSplit };

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

    FaultInjector(FaultOptions options, std::uint64_t seed)
        : options_(options), random_(seed), requests_(seed ^ 0x5DEECE66Dull) {}

    // The chunks to send for this reply, in order; none when it is dropped.
    std::vector<ReplyChunk> Plan(Frame reply);
    ReplyFate LastFate() const { return lastFate_; }

    // True when the next request is lost on its way to the slave. Draws nothing unless such losses are
    // asked for, so the replies' fates stay those of the same seed without them.
    bool LoseRequest() { return options_.loseRequest > 0.0 && requests_.Chance(options_.loseRequest); }

  private:
    FaultOptions options_;
    RandomSource random_;
    RandomSource requests_;
    ReplyFate lastFate_ = ReplyFate::Whole;
};

} // namespace lq::sim
