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
      assembler_(InterFrameSilence(config.baud)), nextStep_(clock.Now() + ControllerModel::kStep),
      line_{config.baud, config.framing} {
    if (config.slave.refuseFor) refusalEnds_ = clock.Now() + *config.slave.refuseFor;
}

void SimEngine::Receive(std::span<const std::uint8_t> bytes) {
    assembler_.Add(bytes, clock_.Now());
}

Frame SimEngine::Service() {
    const SimTime now = clock_.Now();
    StepModelUntil(now);
    while (auto request = assembler_.Take(now)) Answer(*request);
    Frame due;
    while (!outbox_.empty() && outbox_.front().at <= now) {
        due.insert(due.end(), outbox_.front().bytes.begin(), outbox_.front().bytes.end());
        outbox_.pop_front();
    }
    return due;
}

void SimEngine::Answer(const ReceivedFrame& request) {
    ++counters_.requests;
    if (faults_.LoseRequest()) {
        ++counters_.requestsLost;
        return;
    }
    if (refusalEnds_ && request.end >= *refusalEnds_) slave_.EndRefusal();
    std::optional<LineSettings> master;
    const Hearing hearing = HearMaster(master);
    Frame reply = hearing == Hearing::Noise ? Frame{} : slave_.HandleFrame(request.bytes);
    if (reply.empty()) {
        ++counters_.ignored;
        return;
    }
    const Frame made = reply;
    if (hearing == Hearing::Misframed) Misread(reply, line_.framing, master->framing);
    auto chunks = faults_.Plan(std::move(reply));
    // A misread reply reaches the master damaged, as a corrupted one does.
    const bool misread = hearing == Hearing::Misframed && faults_.LastFate() == ReplyFate::Whole;
    Count(made, misread ? ReplyFate::Corrupted : faults_.LastFate());
    Schedule(request.end, std::move(chunks));
}

Hearing SimEngine::HearMaster(std::optional<LineSettings>& master) const {
    if (!masterLine_) return Hearing::Clear;
    master = masterLine_();
    return master ? Hear(line_, *master) : Hearing::Clear;
}

void SimEngine::Count(const Frame& reply, ReplyFate fate) {
    ++((reply[1] & 0x80) != 0                  ? counters_.exceptions
       : reply[1] == kReadHoldingRegisters ? counters_.readReplies
                                           : counters_.echoes);
    switch (fate) {
    case ReplyFate::Whole:
        ++counters_.sentWhole;
        break;
    case ReplyFate::Dropped:
        ++counters_.dropped;
        break;
    case ReplyFate::Corrupted:
        ++counters_.corrupted;
        break;
    case ReplyFate::Split:
        ++counters_.split;
        break;
    case ReplyFate::CorruptedAndSplit:
        ++counters_.corrupted;
        ++counters_.split;
        break;
    }
}

SimTime SimEngine::NextDeadline() const {
    SimTime next = nextStep_;
    if (const auto frameEnd = assembler_.Deadline()) next = std::min(next, *frameEnd);
    if (!outbox_.empty()) next = std::min(next, outbox_.front().at);
    return next;
}

void SimEngine::StepModelUntil(SimTime now) {
    if (now - nextStep_ > kMaxCatchUpSteps * ControllerModel::kStep) nextStep_ = now;
    while (nextStep_ <= now) {
        model_.Step(noise_);
        nextStep_ += ControllerModel::kStep;
    }
}

void SimEngine::Schedule(SimTime requestEnd, std::vector<ReplyChunk> chunks) {
    // Replies leave in the order their requests came, even when an earlier one is held back longer.
    SimTime notBefore = outbox_.empty() ? requestEnd : outbox_.back().at;
    for (auto& chunk : chunks) {
        const SimTime at = std::max(requestEnd + chunk.after, notBefore);
        outbox_.push_back({at, std::move(chunk.bytes)});
        notBefore = at;
    }
}

} // namespace lq::sim
