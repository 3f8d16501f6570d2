#pragma once

#include <cstdint>
#include <deque>

#include "journal/journal_entry.h"

namespace lq {

// The entries kept in memory, oldest first, the newest `capacity` of them; the file keeps every one.
class JournalStore {
  public:
    static constexpr std::size_t kDefaultCapacity = 10'000;

    explicit JournalStore(std::size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

    void Add(JournalEntry entry);
    std::size_t Size() const { return entries_.size(); }
    const JournalEntry& operator[](std::size_t i) const { return entries_[i]; }
    // Every entry ever added, those dropped included: tells a reader how many came since it last looked.
    std::uint64_t Total() const { return total_; }
    std::size_t Capacity() const { return capacity_; }

  private:
    std::size_t capacity_;
    std::deque<JournalEntry> entries_;
    std::uint64_t total_ = 0;
};

} // namespace lq
