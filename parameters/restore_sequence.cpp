#include "parameters/restore_sequence.h"

namespace lq {

namespace {

RestoreResult ResultOf(WriteOutcome outcome) {
    switch (outcome) {
    case WriteOutcome::Confirmed:
        return RestoreResult::Written;
    case WriteOutcome::Refused:
        return RestoreResult::Refused;
    case WriteOutcome::Unconfirmed:
        return RestoreResult::Unconfirmed;
    case WriteOutcome::Superseded:
        return RestoreResult::Superseded;
    case WriteOutcome::NotSent:
        break;
    }
    return RestoreResult::NotSent;
}

} // namespace

RestoreSequence::RestoreSequence(const std::vector<PlannedWrite>& writes, const RegisterImage& image,
                                 const IClock& clock, Writer writer,
                                 std::chrono::milliseconds readBackAllowed)
    : image_(image), clock_(clock), writer_(std::move(writer)), readBackAllowed_(readBackAllowed) {
    for (const PlannedWrite& write : writes)
        steps_.push_back({write, RestoreResult::Pending, std::nullopt});
}

void RestoreSequence::Confirm() {
    if (state_ != State::AwaitingConfirmation) return;
    WriteNext();
}

void RestoreSequence::Cancel() {
    if (Finished()) return;
    if (state_ == State::AwaitingConfirmation) {
        state_ = State::Cancelled;
        Changed();
        return;
    }
    // What is on the line cannot be called back; it is seen through and checked, then nothing more goes.
    cancelAsked_ = true;
}

void RestoreSequence::Tick() {
    if (state_ == State::NextDue) {
        WriteNext();
        return;
    }
    if (state_ == State::ReadingBack && clock_.Now() - readBackFrom_ >= readBackAllowed_)
        Finish(RestoreResult::ReadBackMissing);
}

void RestoreSequence::WriteNext() {
    if (next_ == steps_.size()) {
        state_ = State::Done;
        Changed();
        return;
    }
    if (cancelAsked_) {
        state_ = State::Cancelled;
        Changed();
        return;
    }
    state_ = State::Writing;
    Changed();
    const PlannedWrite& write = steps_[next_].write;
    const bool issued = writer_(static_cast<std::uint8_t>(write.reg), write.to);
    // A refusal may have ended the write already, through WriteEnded.
    if (!issued && state_ == State::Writing) Finish(RestoreResult::NotSent);
}

void RestoreSequence::WriteEnded(const WriteEnd& end) {
    if (state_ != State::Writing) return;
    const PlannedWrite& write = steps_[next_].write;
    if (end.registerAddress != write.reg || end.value != write.to) return;
    if (end.outcome != WriteOutcome::Confirmed) {
        Finish(ResultOf(end.outcome));
        return;
    }
    // Only a read that asks after the echo can show what the register holds now.
    state_ = State::ReadingBack;
    readBackFrom_ = clock_.Now();
    fresh_.Restart();
    Changed();
}

void RestoreSequence::RequestSent(const SentRequest& request) {
    if (state_ == State::ReadingBack) fresh_.RequestSent(request);
}

void RestoreSequence::DeliveryJudged(const Delivery& delivery) {
    if (state_ != State::ReadingBack) return;
    fresh_.DeliveryJudged(delivery);
    RestoreStep& step = steps_[next_];
    if (!fresh_.Fresh(PollBlockOf(step.write.reg))) return;
    step.readBack = static_cast<std::uint16_t>(image_[step.write.reg]);
    if (*step.readBack != step.write.to) {
        Finish(RestoreResult::ReadBackDiffers);
        return;
    }
    step.result = RestoreResult::Written;
    ++next_;
    state_ = State::NextDue;
    Changed();
}

void RestoreSequence::Finish(RestoreResult result) {
    steps_[next_].result = result;
    ++next_;
    state_ = State::Failed;
    Changed();
}

void RestoreSequence::Changed() {
    if (onChanged) onChanged();
}

} // namespace lq
