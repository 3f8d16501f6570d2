#pragma once

#include <cstddef>
#include <deque>

#include "monitor/traffic_row.h"

namespace lq {

// The newest rows of the traffic record, at most a fixed number: each row past it pushes out the oldest.
class TrafficRows {
  public:
    static constexpr std::size_t kDefaultCapacity = 10'000;

    explicit TrafficRows(std::size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

    // How many of the oldest rows must go to make room for `incoming` more (all of them when `incoming` alone
    // exceeds the capacity).
    std::size_t OverflowFor(std::size_t incoming) const;
    // Appends the row, dropping the oldest one when full.
    void Append(TrafficRow row);
    void DropOldest(std::size_t count);
    void Clear() { rows_.clear(); }

    std::size_t Size() const { return rows_.size(); }
    std::size_t Capacity() const { return capacity_; }
    const TrafficRow& operator[](std::size_t index) const { return rows_[index]; }
    auto begin() const { return rows_.begin(); }
    auto end() const { return rows_.end(); }

  private:
    std::size_t capacity_;
    std::deque<TrafficRow> rows_;
};

} // namespace lq
