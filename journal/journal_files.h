#pragma once

#include <functional>
#include <memory>
#include <string>

#include "journal/journal_entry.h"
#include "recording/append_file.h"

namespace lq {

// The journal on disk: one file per local day, "YYYY-MM-DD.csv" in the folder (made when missing), each
// entry appended as one line handed to the system at once, a header on a new file. A file that cannot be
// written is reported once and its lines are dropped; the next day's file is tried afresh.
class JournalFiles {
  public:
    explicit JournalFiles(std::string folder);

    // False when the entry's day file has failed.
    bool Write(const JournalEntry& entry);

    const std::string& Folder() const { return folder_; }
    // The file of the day written last, and why it failed (empty while it works).
    const std::string& Path() const { return path_; }
    const std::string& Error() const { return error_; }
    // Told once for each file that fails: its path and the system's reason.
    std::function<void(const std::string& path, const std::string& reason)> onFailed;

  private:
    void OpenDay(const std::string& day);
    void Failed(const std::string& reason);

    std::string folder_;
    std::string day_;
    std::string path_;
    std::string error_;
    std::unique_ptr<AppendFile> file_;
};

// $XDG_STATE_HOME/lq-modbus-rtu/journal, or ~/.local/state/lq-modbus-rtu/journal where it is not set.
std::string DefaultJournalFolder();

} // namespace lq
