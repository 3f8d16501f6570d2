#include "monitor/traffic_rows.h"

#include <algorithm>

namespace lq {

std::size_t TrafficRows::OverflowFor(std::size_t incoming) const {
    const std::size_t after = rows_.size() + incoming;
    return after > capacity_ ? std::min(after - capacity_, rows_.size()) : 0;
}

void TrafficRows::Append(TrafficRow row) {
    if (capacity_ == 0) return;
    if (rows_.size() == capacity_) rows_.pop_front();
    rows_.push_back(std::move(row));
}

void TrafficRows::DropOldest(std::size_t count) {
    rows_.erase(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(std::min(count, rows_.size())));
}

} // namespace lq
