#pragma once

#include "sim/controller_model.h"
#include "sim/fault_injector.h"
#include "sim/frame_assembler.h"
#include "sim/random_source.h"
#include "sim/sim_counters.h"
#include "sim/sim_clock.h"
#include "sim/slave_protocol.h"

#include <deque>
#include <span>

namespace lq::sim {

struct EngineConfig {
    SlaveConfig slave;
    FaultOptions faults;
    ModelFaults modelFaults;
    std::uint64_t seed = 1;
    int baud = 19200;
};

// Everything the simulator does between the bytes it reads and the bytes it writes, driven by an
// injected clock: frames end at the inter-frame silence, replies go out when their (possibly delayed or
// split) time comes, and the model steps at its fixed period. The caller owns the I/O: it feeds what it
// reads to Receive(), calls Service() whenever the clock reaches NextDeadline() or bytes arrive, and
// writes what Service() returns.
class SimEngine {
  public:
    SimEngine(const EngineConfig& config, const SimClock& clock);

    void Receive(std::span<const std::uint8_t> bytes);

    // Handles whatever has fallen due by now and returns the bytes to send now (often none).
    Frame Service();

    SimTime NextDeadline() const;

    const ControllerModel& Model() const { return model_; }
    const SimCounters& Counters() const { return counters_; }

  private:
    void StepModelUntil(SimTime now);
    void Answer(const ReceivedFrame& request);
    void Count(const Frame& reply, ReplyFate fate);
    void Schedule(SimTime requestEnd, std::vector<ReplyChunk> chunks);

    struct Scheduled {
        SimTime at;
        Frame bytes;
    };

    const SimClock& clock_;
    ControllerModel model_;
    SlaveProtocol slave_;
    FaultInjector faults_;
    RandomSource noise_;
    FrameAssembler assembler_;
    std::deque<Scheduled> outbox_;
    SimTime nextStep_;
    SimCounters counters_;
};

} // namespace lq::sim
