#include "journal/journal_csv.h"

#include "modbus/local_time_text.h"

namespace lq {

namespace {

std::string Field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

} // namespace

std::string JournalCsvHeader() {
    return "time,kind,subject,value,outcome,text";
}

std::string JournalCsvLine(const JournalEntry& entry) {
    std::string line = IsoTimeText(entry.time);
    line += ',';
    line += KindName(entry.kind);
    line += ',' + Field(entry.subject) + ',';
    if (entry.value) line += std::to_string(*entry.value);
    line += ',' + Field(entry.outcome) + ',' + Field(entry.text);
    return line;
}

std::string LocalDay(std::chrono::system_clock::time_point at) {
    return IsoTimeText(at).substr(0, 10);
}

} // namespace lq
