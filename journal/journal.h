#pragma once

#include <functional>
#include <memory>
#include <string>

#include "journal/alarm_board.h"
#include "journal/journal_files.h"
#include "journal/journal_store.h"
#include "journal/journal_wording.h"
#include "journal/link_journal.h"

namespace lq {

// The alarm and event journal: the alarms' states, the newest entries in memory and, unless switched off,
// every entry in the day files. Fed by its link observer (give Link() to the master) and by Add() for what
// the master does not see (the port, the line settings, recordings).
class Journal {
  public:
    Journal(const RegisterImage& registers, JournalWording wording,
            std::size_t capacity = JournalStore::kDefaultCapacity);

    void Add(JournalEntry entry);
    void Acknowledge(int bit, std::chrono::system_clock::time_point at);
    void AcknowledgeAll(std::chrono::system_clock::time_point at);

    // Files from now on in this folder; an empty folder keeps none.
    void WriteTo(const std::string& folder);
    // Null while no files are kept.
    const JournalFiles* Files() const { return files_.get(); }

    LinkJournal& Link() { return link_; }
    const AlarmBoard& Alarms() const { return alarms_; }
    const JournalStore& Entries() const { return store_; }
    const JournalWording& Wording() const { return wording_; }

    // Told of each entry once it is stored and written.
    std::function<void(const JournalEntry&)> onEntry;
    // Told once for each day file that cannot be written: its path and the system's reason.
    std::function<void(const std::string& path, const std::string& reason)> onFileFailed;

  private:
    JournalWording wording_;
    AlarmBoard alarms_;
    JournalStore store_;
    std::unique_ptr<JournalFiles> files_;
    LinkJournal link_;
};

} // namespace lq
