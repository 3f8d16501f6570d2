#include "link_statistics.h"

#include <numeric>

namespace lq {

std::uint64_t LinkStatistics::Exceptions() const {
    return std::accumulate(exceptionsByCode.begin(), exceptionsByCode.end(), std::uint64_t{0});
}

std::optional<double> LinkStatistics::GoodReplyShare() const {
    if (readsSent == 0) return std::nullopt;
    return static_cast<double>(repliesAccepted) / static_cast<double>(readsSent);
}

std::optional<std::chrono::microseconds> LinkStatistics::MeanRoundTrip() const {
    if (roundTrips_ == 0) return std::nullopt;
    return roundTripSum_ / static_cast<std::int64_t>(roundTrips_);
}

std::optional<std::chrono::microseconds> LinkStatistics::MeanAnswerTime() const {
    if (answerTimes_ == 0) return std::nullopt;
    return answerTimeSum_ / static_cast<std::int64_t>(answerTimes_);
}

void LinkStatistics::RequestSent(const SentRequest& request) {
    ++(request.kind == RequestKind::Read ? readsSent : writesSent);
}

void LinkStatistics::DeliveryJudged(const Delivery& delivery) {
    switch (delivery.verdict) {
    case DeliveryVerdict::Accepted:
        ++repliesAccepted;
        lastAccepted = delivery.at;
        break;
    case DeliveryVerdict::WriteConfirmed:
        break;
    case DeliveryVerdict::WriteRefused:
    case DeliveryVerdict::ReadRefused:
        ++exceptionsByCode[delivery.exceptionCode];
        break;
    case DeliveryVerdict::BadCrc:
        ++badCrc;
        break;
    case DeliveryVerdict::ShortOrSplit:
        ++shortOrSplit;
        break;
    case DeliveryVerdict::StrayEcho:
    case DeliveryVerdict::Unasked:
        ++strayOrUnasked;
        break;
    case DeliveryVerdict::FramesRunTogether:
        ++framesRunTogether;
        break;
    case DeliveryVerdict::BeforeRequest:
        ++beforeRequest;
        break;
    case DeliveryVerdict::SecondReply:
        ++secondReplies;
        break;
    }
    const bool answered =
        delivery.verdict == DeliveryVerdict::Accepted || delivery.verdict == DeliveryVerdict::WriteConfirmed;
    if (answered && delivery.roundTrip) {
        lastRoundTrip = delivery.roundTrip;
        roundTripSum_ += *delivery.roundTrip;
        ++roundTrips_;
    }
    if (answered && delivery.answerTime) {
        lastAnswerTime = delivery.answerTime;
        answerTimeSum_ += *delivery.answerTime;
        ++answerTimes_;
    }
}

void LinkStatistics::WriteEnded(const WriteEnd& end) {
    switch (end.outcome) {
    case WriteOutcome::Confirmed:
        ++writesConfirmed;
        break;
    case WriteOutcome::Refused:
        ++writesRefused;
        break;
    case WriteOutcome::Unconfirmed:
        ++writesUnconfirmed;
        break;
    case WriteOutcome::Superseded:
        ++writesSuperseded;
        break;
    case WriteOutcome::NotSent:
        ++writesNotSent;
        break;
    }
}

} // namespace lq
