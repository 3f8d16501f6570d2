#pragma once

#include "sim/random_source.h"
#include "sim/sim_clock.h"
#include "sim/slave_protocol.h"

#include <vector>

namespace lq::sim {

struct FaultOptions {
    double loseRequest = 0.0; // probability that a request never reaches the slave (not carried out)
    double drop = 0.0;        // probability that a reply is never sent
    double corrupt = 0.0;     // probability that one byte of a reply is damaged
    double split = 0.0;       // probability that a reply stops half-way for a while
    milliseconds delay{0};    // added before every reply
    double repeat = 0.0;      // probability that a reply goes out a second time, some time after the first
    double holdBack = 0.0;    // probability that a reply goes out late instead of on time
    double dropByte = 0.0;    // probability that one byte of a reply is lost
    double insertByte = 0.0;  // probability that one garbage byte appears in a reply
    double bitErrors = 0.0;   // probability that any one data bit of a reply is flipped
    double timeScale = 1.0;   // multiplies the split pause, the repeat gap and the hold-back
};

// What the line did to the last reply planned.
struct ReplyFate {
    bool dropped = false;
    bool corrupted = false; // one byte damaged
    bool split = false;
    bool repeated = false;
    bool heldBack = false;
    bool byteDropped = false;
    bool byteInserted = false;
    int bitsFlipped = 0;

    bool Untouched() const {
        return !dropped && !corrupted && !split && !repeated && !heldBack && !byteDropped && !byteInserted &&
               bitsFlipped == 0;
    }
};

// How a piece of a reply relates to the controller's own timing.
enum class Sending : std::uint8_t {
    OnTime, // when the controller answers (after --delay), or the rest of a split reply
    Late,   // held back, so it may come when the master waits for another answer
    Copy,   // a second transmission of what was already sent
};

// One piece of a reply, to go out `after` the end of the request that it answers.
struct ReplyChunk {
    microseconds after{0};
    Frame bytes;
    Sending how = Sending::OnTime;
};

// Decides, reply by reply, how the line mistreats the slave's answers. With the same seed and options the
// n-th reply is mistreated the same way, whatever the timing of the run and whatever replies came before.
class FaultInjector {
  public:
    // Longer than the master's 100 ms inter-byte time-out, so the two halves reach it as two deliveries.
    static constexpr milliseconds kSplitPause{150};
    // A repeater or converter that sends a frame again does so once the line is quiet again, which puts the
    // copy after the master's inter-byte time-out: a delivery of its own.
    static constexpr milliseconds kRepeatGapMin{150};
    static constexpr milliseconds kRepeatGapMax{450};
    static_assert(kRepeatGapMin >= kSplitPause, "a copy must not overtake the rest of a split reply");
    // Longer than the panel's 1.2 s read time-out: the reply comes when its read has been given up.
    static constexpr milliseconds kHoldBackMin{1300};
    static constexpr milliseconds kHoldBackMax{1700};

    FaultInjector(FaultOptions options, std::uint64_t seed)
        : options_(options), seed_(seed), random_(seed), requests_(seed ^ 0x5DEECE66Dull) {}

    // The chunks to send for this reply, ordered by time; none when it is dropped.
    std::vector<ReplyChunk> Plan(Frame reply);
    const ReplyFate& LastFate() const { return fate_; }

    // True when the next request is lost on its way to the slave. Draws nothing unless such losses are
    // asked for, so the replies' fates stay those of the same seed without them.
    bool LoseRequest() { return options_.loseRequest > 0.0 && requests_.Chance(options_.loseRequest); }

    // A fault timing as this run stretches or shrinks it.
    microseconds Scaled(milliseconds nominal) const;

  private:
    void Damage(Frame& reply, RandomSource& line);
    std::vector<ReplyChunk> Cut(Frame reply);
    void Time(std::vector<ReplyChunk>& chunks, RandomSource& line);
    microseconds Within(milliseconds lo, milliseconds hi, RandomSource& line) const;

    FaultOptions options_;
    std::uint64_t seed_;
    // The faults that were there first draw from one stream, in the same order as ever, so a seed keeps
    // mistreating the same replies the same way; the others draw from one stream per reply.
    RandomSource random_;
    RandomSource requests_;
    std::uint64_t planned_ = 0;
    ReplyFate fate_;
};

} // namespace lq::sim
