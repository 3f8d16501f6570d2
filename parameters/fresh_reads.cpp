#include "parameters/fresh_reads.h"

namespace lq {

void FreshReads::Restart() {
    asked_.fill(false);
    fresh_.fill(false);
}

void FreshReads::RequestSent(const SentRequest& request) {
    if (request.kind == RequestKind::Read && request.block < asked_.size()) asked_[request.block] = true;
}

void FreshReads::DeliveryJudged(const Delivery& delivery) {
    if (delivery.verdict != DeliveryVerdict::Accepted || delivery.block >= fresh_.size()) return;
    if (asked_[delivery.block]) fresh_[delivery.block] = true;
}

} // namespace lq
