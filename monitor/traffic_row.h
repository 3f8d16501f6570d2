#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "modbus/link_events.h"

namespace lq {

enum class TrafficDirection : std::uint8_t {
    Sent,     // 发
    Received, // 收
    Missing,  // a reply that did not come: the "无应答" line
};

// One line of the traffic record: a frame the master sent, a delivery it judged, or a read left unanswered.
struct TrafficRow {
    std::chrono::system_clock::time_point at;
    TrafficDirection direction = TrafficDirection::Sent;
    bool fault = false;
    std::optional<std::chrono::microseconds> roundTrip;
    std::vector<std::uint8_t> bytes;
    std::string meaning;
    // A delivery: from its request's send to its first byte, the controller's own answer time; roundTrip runs
    // to the frame's end and so holds the end-of-frame silence too.
    std::optional<std::chrono::microseconds> answerTime{};
};

TrafficRow MakeTrafficRow(const SentRequest& request);
TrafficRow MakeTrafficRow(const Delivery& delivery);
TrafficRow MakeTrafficRow(const NoReply& noReply);

// An observer of the master that turns each frame, delivery and missing reply into a row for whoever keeps or
// writes them.
class TrafficObserver : public ILinkObserver {
  public:
    void RequestSent(const SentRequest& request) override { AddRow(MakeTrafficRow(request)); }
    void DeliveryJudged(const Delivery& delivery) override { AddRow(MakeTrafficRow(delivery)); }
    void ReadUnanswered(const NoReply& noReply) override { AddRow(MakeTrafficRow(noReply)); }

  protected:
    virtual void AddRow(TrafficRow row) = 0;
};

} // namespace lq
