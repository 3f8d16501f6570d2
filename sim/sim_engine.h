#pragma once

#include "sim/alarm_schedule.h"
#include "sim/controller_model.h"
#include "sim/fault_injector.h"
#include "sim/frame_assembler.h"
#include "sim/line_settings.h"
#include "sim/random_source.h"
#include "sim/reply_log.h"
#include "sim/sim_clock.h"
#include "sim/sim_counters.h"
#include "sim/slave_protocol.h"

#include <deque>
#include <functional>
#include <optional>
#include <span>

namespace lq::sim {

struct EngineConfig {
    SlaveConfig slave;
    FaultOptions faults;
    ModelFaults modelFaults;
    std::uint64_t seed = 1;
    int baud = 19200;
    Framing framing = Framing::N2;          // matters only when the master's line settings are checked
    std::vector<AlarmChange> alarmSchedule; // by time
};

// The master's line settings at this moment, or none when they cannot be read.
using MasterLineProbe = std::function<std::optional<LineSettings>()>;

// Everything the simulator does between the bytes it reads and the bytes it writes, driven by an
// injected clock: frames end at the inter-frame silence, replies go out when their (possibly delayed,
// split, held back or repeated) time comes, and the model steps at its fixed period. The caller owns the I/O:
// it feeds what it reads to Receive(), calls Service() whenever the clock reaches NextDeadline() or bytes
// arrive, and writes what Service() returns.
class SimEngine {
  public:
    SimEngine(const EngineConfig& config, const SimClock& clock);

    void Receive(std::span<const std::uint8_t> bytes);

    // Handles whatever has fallen due by now and returns the bytes to send now (often none).
    Frame Service();

    SimTime NextDeadline() const;

    const ControllerModel& Model() const { return model_; }
    const SimCounters& Counters() const { return counters_; }

    // From now on each request is heard as the master's line settings, read at its end, allow: at another
    // rate not at all, at another framing answered but misread on the way back.
    void CheckMasterLine(MasterLineProbe probe) { masterLine_ = std::move(probe); }

    // From now on every request heard and every reply sent is told to the sink, which must outlive this.
    void LogTo(ReplyLogSink& sink) { log_ = &sink; }

  private:
    void StepModelUntil(SimTime now);
    void ChangeAlarmsUntil(SimTime now);
    void Answer(const ReceivedFrame& request);
    Hearing HearMaster(std::optional<LineSettings>& master) const;
    void Count(const Frame& reply, const ReplyFate& fate);
    void Schedule(std::uint64_t request, SimTime requestEnd, std::vector<ReplyChunk> chunks);
    void LogHeard(std::uint64_t number, const ReceivedFrame& request, const Frame& reply) const;

    struct Scheduled {
        SimTime at;
        std::uint64_t request;
        Sending how;
        Frame bytes;
    };

    const SimClock& clock_;
    ControllerModel model_;
    SlaveProtocol slave_;
    FaultInjector faults_;
    RandomSource noise_;
    FrameAssembler assembler_;
    std::deque<Scheduled> outbox_; // by time
    SimTime onTimeUntil_{};        // when the last reply sent on time will have gone
    SimTime nextStep_;
    SimCounters counters_;
    LineSettings line_;
    MasterLineProbe masterLine_;
    ReplyLogSink* log_ = nullptr;
    std::optional<SimTime> refusalEnds_;
    SimTime start_;
    std::vector<AlarmChange> alarmSchedule_;
    std::size_t nextAlarmChange_ = 0;
};

} // namespace lq::sim
