#include "parameters/parameter_reader.h"

namespace lq {

ParameterReader::ParameterReader(const ModbusMaster& master, const IClock& clock,
                                 std::chrono::milliseconds allowed)
    : master_(master), clock_(clock), allowed_(allowed) {}

void ParameterReader::Start() {
    fresh_.Restart();
    values_.clear();
    anySent_ = false;
    started_ = true;
    outcome_ = ReadOutcome::Reading;
    startedAt_ = clock_.Now();
}

void ParameterReader::Tick() {
    if (!started_ || outcome_ != ReadOutcome::Reading) return;
    if (clock_.Now() - startedAt_ >= allowed_)
        End(anySent_ ? ReadOutcome::NoAnswer : ReadOutcome::NothingSent);
}

void ParameterReader::RequestSent(const SentRequest& request) {
    if (!started_ || outcome_ != ReadOutcome::Reading) return;
    anySent_ = anySent_ || request.kind == RequestKind::Read;
    fresh_.RequestSent(request);
}

void ParameterReader::DeliveryJudged(const Delivery& delivery) {
    if (!started_ || outcome_ != ReadOutcome::Reading) return;
    fresh_.DeliveryJudged(delivery);
    if (delivery.verdict != DeliveryVerdict::Accepted || !fresh_.Fresh(delivery.block)) return;
    if (!master_.LinkLampLit()) return;
    // The image holds this block's reply now: take its parameters while they are the fresh ones.
    for (const ParameterInfo& info : Parameters())
        if (PollBlockOf(info.reg) == delivery.block)
            values_[info.reg] = static_cast<std::uint16_t>(master_.Registers()[info.reg]);
    if (values_.size() == Parameters().size()) End(ReadOutcome::Done);
}

void ParameterReader::End(ReadOutcome outcome) {
    outcome_ = outcome;
    if (onEnded) onEnded();
}

} // namespace lq
