#include "sim/sim_engine.h"

#include <algorithm>

#include "modbus/request_frames.h"

namespace lq::sim {

namespace {

// Beyond this backlog (the process was stopped or starved) the model skips ahead instead of replaying
// every missed step in one burst.
constexpr int kMaxCatchUpSteps = 10;

// Faults and noise draw from separate streams, so the fate of the n-th reply does not depend on how many
// model steps happened to run before it.
constexpr std::uint64_t kNoiseStream = 0x9E3779B97F4A7C15ull;

} // namespace

SimEngine::SimEngine(const EngineConfig& config, const SimClock& clock)
    : clock_(clock), model_(config.modelFaults), slave_(config.slave, model_),
      faults_(config.faults, config.seed), noise_(config.seed ^ kNoiseStream),
      assembler_(InterFrameSilence(config.baud)),
      nextStep_(clock.Now() + ControllerModel::kStep), line_{config.baud, config.framing},
      start_(clock.Now()), alarmSchedule_(config.alarmSchedule) {
    if (config.slave.refuseFor) refusalEnds_ = clock.Now() + *config.slave.refuseFor;
}

void SimEngine::Receive(std::span<const std::uint8_t> bytes) {
    assembler_.Add(bytes, clock_.Now());
}

Frame SimEngine::Service() {
    const SimTime now = clock_.Now();
    ChangeAlarmsUntil(now);
    StepModelUntil(now);
    while (auto request = assembler_.Take(now))
        Answer(*request);
    Frame due;
    while (!outbox_.empty() && outbox_.front().at <= now) {
        Scheduled& next = outbox_.front();
        if (log_) log_->Sent({next.request, now, next.how, next.bytes});
        due.insert(due.end(), next.bytes.begin(), next.bytes.end());
        outbox_.pop_front();
    }
    return due;
}

void SimEngine::Answer(const ReceivedFrame& request) {
    const std::uint64_t number = ++counters_.requests;
    if (faults_.LoseRequest()) {
        ++counters_.requestsLost;
        LogHeard(number, request, {});
        return;
    }
    if (refusalEnds_ && request.end >= *refusalEnds_) slave_.EndRefusal();
    std::optional<LineSettings> master;
    const Hearing hearing = HearMaster(master);
    Frame reply = hearing == Hearing::Noise ? Frame{} : slave_.HandleFrame(request.bytes);
    LogHeard(number, request, reply);
    if (reply.empty()) {
        ++counters_.ignored;
        return;
    }
    const Frame made = reply;
    if (hearing == Hearing::Misframed) Misread(reply, line_.framing, master->framing);
    auto chunks = faults_.Plan(std::move(reply));
    ReplyFate fate = faults_.LastFate();
    // A misread reply reaches the master damaged, as a corrupted one does.
    if (hearing == Hearing::Misframed && fate.Untouched()) fate.corrupted = true;
    Count(made, fate);
    Schedule(number, request.end, std::move(chunks));
}

void SimEngine::LogHeard(std::uint64_t number, const ReceivedFrame& request, const Frame& reply) const {
    if (log_) log_->Heard({number, request.begin, request.bytes, reply});
}

Hearing SimEngine::HearMaster(std::optional<LineSettings>& master) const {
    if (!masterLine_) return Hearing::Clear;
    master = masterLine_();
    return master ? Hear(line_, *master) : Hearing::Clear;
}

void SimEngine::Count(const Frame& reply, const ReplyFate& fate) {
    ++((reply[1] & 0x80) != 0              ? counters_.exceptions
       : reply[1] == kReadHoldingRegisters ? counters_.readReplies
                                           : counters_.echoes);
    counters_.sentWhole += fate.Untouched() ? 1 : 0;
    counters_.dropped += fate.dropped ? 1 : 0;
    counters_.corrupted += fate.corrupted ? 1 : 0;
    counters_.split += fate.split ? 1 : 0;
    counters_.repeated += fate.repeated ? 1 : 0;
    counters_.heldBack += fate.heldBack ? 1 : 0;
    counters_.bytesDropped += fate.byteDropped ? 1 : 0;
    counters_.bytesInserted += fate.byteInserted ? 1 : 0;
    counters_.bitErrors += fate.bitsFlipped > 0 ? 1 : 0;
}

SimTime SimEngine::NextDeadline() const {
    SimTime next = nextStep_;
    if (const auto frameEnd = assembler_.Deadline()) next = std::min(next, *frameEnd);
    if (!outbox_.empty()) next = std::min(next, outbox_.front().at);
    if (nextAlarmChange_ < alarmSchedule_.size())
        next = std::min(next, start_ + alarmSchedule_[nextAlarmChange_].at);
    return next;
}

void SimEngine::StepModelUntil(SimTime now) {
    if (now - nextStep_ > kMaxCatchUpSteps * ControllerModel::kStep) nextStep_ = now;
    while (nextStep_ <= now) {
        model_.Step(noise_);
        nextStep_ += ControllerModel::kStep;
    }
}

void SimEngine::ChangeAlarmsUntil(SimTime now) {
    for (; nextAlarmChange_ < alarmSchedule_.size(); ++nextAlarmChange_) {
        const AlarmChange& change = alarmSchedule_[nextAlarmChange_];
        if (start_ + change.at > now) return;
        model_.ForceAlarm(change.bit, change.on);
    }
}

void SimEngine::Schedule(std::uint64_t request, SimTime requestEnd, std::vector<ReplyChunk> chunks) {
    for (auto& chunk : chunks) {
        SimTime at = requestEnd + chunk.after;
        // The controller answers in the order it was asked, even when an earlier answer waits longer (a
        // longer --delay); what the line holds back or sends again does not hold up the controller.
        if (chunk.how == Sending::OnTime) {
            at = std::max(at, onTimeUntil_);
            onTimeUntil_ = at;
        }
        const auto later = std::upper_bound(outbox_.begin(), outbox_.end(), at,
                                            [](SimTime t, const Scheduled& s) { return t < s.at; });
        outbox_.insert(later, {at, request, chunk.how, std::move(chunk.bytes)});
    }
}

} // namespace lq::sim
