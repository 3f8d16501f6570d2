#include "serial/mbap_stream.h"

#include "serial/mbap.h"

namespace lq {

std::vector<std::uint8_t> TMbapStream::Request(std::span<const std::uint8_t> rtu) {
    std::vector<std::uint8_t> adu = MbapFromRtu(rtu, nextTransaction_);
    if (adu.empty()) return adu;
    expected_ = nextTransaction_++;
    return adu;
}

void TMbapStream::Receive(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& rtu) {
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    MbapScan scan = ScanMbapReplies(pending_, expected_);
    dropped_ += scan.dropped;
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(scan.consumed));
    rtu.insert(rtu.end(), scan.rtu.begin(), scan.rtu.end());
}

} // namespace lq
