#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>

#include "modbus/link_events.h"

namespace lq {

// Counters of what went over the link since the start or the last Reset(). Fed by the master like any
// observer; fixed-size, so counting allocates nothing.
class LinkStatistics final : public ILinkObserver {
  public:
    std::uint64_t readsSent = 0;
    std::uint64_t writesSent = 0; // repeats included
    std::uint64_t repliesAccepted = 0;
    std::uint64_t badCrc = 0;
    std::uint64_t shortOrSplit = 0;
    std::uint64_t unanswered = 0;        // reads with no delivery by the next poll tick
    std::uint64_t strayOrUnasked = 0;    // echoes of writes no longer pending, replies nothing asked for
    std::uint64_t framesRunTogether = 0; // deliveries longer than one frame
    std::uint64_t beforeRequest = 0;     // deliveries whose first byte came before their request was sent
    std::uint64_t secondReplies = 0;     // a second read reply to one request: one of the two came late
    std::array<std::uint64_t, 256> exceptionsByCode{};
    std::uint64_t writesConfirmed = 0;
    std::uint64_t writesRefused = 0;
    std::uint64_t writesUnconfirmed = 0;
    std::uint64_t writesSuperseded = 0;
    std::uint64_t writesNotSent = 0; // refused before sending: nothing went on the line
    std::optional<std::chrono::microseconds> lastRoundTrip;
    std::optional<std::chrono::microseconds> lastAnswerTime;
    std::optional<LinkTime> lastAccepted;

    std::uint64_t RequestsSent() const { return readsSent + writesSent; }
    std::uint64_t Exceptions() const;
    // Accepted replies per read request, 0..1; empty before the first read.
    std::optional<double> GoodReplyShare() const;
    std::optional<std::chrono::microseconds> MeanRoundTrip() const;
    std::optional<std::chrono::microseconds> MeanAnswerTime() const;

    void Reset() { *this = LinkStatistics(); }

    void RequestSent(const SentRequest& request) override;
    void DeliveryJudged(const Delivery& delivery) override;
    void ReadUnanswered(const NoReply&) override { ++unanswered; }
    void WriteEnded(const WriteEnd& end) override;

  private:
    std::chrono::microseconds roundTripSum_{0};
    std::uint64_t roundTrips_ = 0;
    std::chrono::microseconds answerTimeSum_{0};
    std::uint64_t answerTimes_ = 0;
};

} // namespace lq
