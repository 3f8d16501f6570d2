#include "monitor/traffic_row.h"

#include "modbus/frame_meaning.h"

namespace lq {

TrafficRow MakeTrafficRow(const SentRequest& request) {
    return {request.at.wall,
            TrafficDirection::Sent,
            false,
            std::nullopt,
            std::vector<std::uint8_t>(request.frame.begin(), request.frame.end()),
            DescribeRequest(request)};
}

TrafficRow MakeTrafficRow(const Delivery& delivery) {
    return {delivery.at.wall,
            TrafficDirection::Received,
            IsFault(delivery.verdict),
            delivery.roundTrip,
            std::vector<std::uint8_t>(delivery.bytes.begin(), delivery.bytes.end()),
            DescribeDelivery(delivery),
            delivery.answerTime};
}

TrafficRow MakeTrafficRow(const NoReply& noReply) {
    return {noReply.at.wall, TrafficDirection::Missing, true, std::nullopt, {}, DescribeNoReply(noReply)};
}

} // namespace lq
