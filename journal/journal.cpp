#include "journal/journal.h"

#include "journal/journal_events.h"

namespace lq {

Journal::Journal(const RegisterImage& registers, JournalWording wording, std::size_t capacity)
    : wording_(std::move(wording)), store_(capacity),
      link_(registers, alarms_, wording_, [this](JournalEntry entry) { Add(std::move(entry)); }) {}

void Journal::Add(JournalEntry entry) {
    if (files_) files_->Write(entry);
    store_.Add(std::move(entry));
    if (onEntry) onEntry(store_[store_.Size() - 1]);
}

void Journal::Acknowledge(int bit, std::chrono::system_clock::time_point at) {
    if (const auto change = alarms_.Acknowledge(bit, at)) Add(AcknowledgeEntry(wording_, *change, at));
}

void Journal::AcknowledgeAll(std::chrono::system_clock::time_point at) {
    for (const AlarmBoard::Change& change : alarms_.AcknowledgeAll(at))
        Add(AcknowledgeEntry(wording_, change, at));
}

void Journal::WriteTo(const std::string& folder) {
    files_.reset();
    if (folder.empty()) return;
    files_ = std::make_unique<JournalFiles>(folder);
    files_->onFailed = [this](const std::string& path, const std::string& reason) {
        if (onFileFailed) onFileFailed(path, reason);
    };
}

} // namespace lq
