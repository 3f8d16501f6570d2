#include "journal/journal_store.h"

namespace lq {

void JournalStore::Add(JournalEntry entry) {
    entries_.push_back(std::move(entry));
    ++total_;
    while (entries_.size() > capacity_)
        entries_.pop_front();
}

} // namespace lq
