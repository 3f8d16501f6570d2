#include "journal/journal_files.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "journal/journal_csv.h"

namespace lq {

JournalFiles::JournalFiles(std::string folder) : folder_(std::move(folder)) {}

bool JournalFiles::Write(const JournalEntry& entry) {
    const std::string day = LocalDay(entry.time);
    if (day != day_) OpenDay(day);
    if (!file_) return false;
    if (file_->Append(JournalCsvLine(entry))) return true;
    Failed(file_->Error());
    return false;
}

void JournalFiles::OpenDay(const std::string& day) {
    day_ = day;
    file_.reset();
    error_.clear();
    path_ = (std::filesystem::path(folder_) / (day + ".csv")).string();
    std::error_code made;
    std::filesystem::create_directories(folder_, made);
    auto file = std::make_unique<AppendFile>(path_);
    if (file->Failed()) {
        Failed(made ? made.message() : file->Error());
        return;
    }
    if (file->HeldNoLine() && !file->Append(JournalCsvHeader())) {
        Failed(file->Error());
        return;
    }
    file_ = std::move(file);
}

void JournalFiles::Failed(const std::string& reason) {
    file_.reset();
    error_ = reason;
    if (onFailed) onFailed(path_, reason);
}

std::string DefaultJournalFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    std::filesystem::path base;
    if (state != nullptr && *state == '/') {
        base = state;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home != nullptr ? home : ".") / ".local" / "state";
    }
    return (base / "lq-modbus-rtu" / "journal").string();
}

} // namespace lq
