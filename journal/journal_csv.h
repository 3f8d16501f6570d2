#pragma once

#include <string>

#include "journal/journal_entry.h"

namespace lq {

// The journal file's first line: time,kind,subject,value,outcome,text.
std::string JournalCsvHeader();
// One entry as one line of the journal file, without its line end: a field holding a comma, a quote or a
// line end is quoted, its quotes doubled, so that a reader of CSV gets the text back as written.
std::string JournalCsvLine(const JournalEntry& entry);
// "2026-12-08": the local day an entry belongs to, which names its file.
std::string LocalDay(std::chrono::system_clock::time_point at);

} // namespace lq
