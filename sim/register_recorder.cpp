#include "sim/register_recorder.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

namespace lq::sim {

RegisterRecorder::RegisterRecorder(std::string dumpPath, std::string historyPath)
    : dumpPath_(std::move(dumpPath)), historyPath_(std::move(historyPath)) {}

bool RegisterRecorder::Record(const RegisterFile& registers) {
    if (last_ && *last_ == registers) return true;
    const bool ok = WriteDump(registers) && AppendHistory(registers);
    last_ = registers;
    return ok;
}

bool RegisterRecorder::WriteDump(const RegisterFile& registers) const {
    if (dumpPath_.empty()) return true;
    const std::string temporary = dumpPath_ + ".tmp";
    {
        std::ofstream out(temporary, std::ios::trunc);
        for (int reg = 0; reg < kRegisterCount; ++reg)
            out << reg << ' ' << registers[static_cast<std::size_t>(reg)] << '\n';
        out.flush();
        if (!out) return false;
    }
    return std::rename(temporary.c_str(), dumpPath_.c_str()) == 0;
}

bool RegisterRecorder::AppendHistory(const RegisterFile& registers) const {
    if (historyPath_.empty()) return true;
    std::ostringstream lines;
    for (int reg = 0; reg < kRegisterCount; ++reg) {
        const auto at = static_cast<std::size_t>(reg);
        if (!last_ || (*last_)[at] != registers[at]) lines << reg << ' ' << registers[at] << '\n';
    }
    std::ofstream out(historyPath_, std::ios::app);
    out << lines.str();
    out.flush();
    return static_cast<bool>(out);
}

std::optional<RegisterFile> ReadRegisterDump(const std::string& path) {
    std::ifstream in(path);
    if (!in) return std::nullopt;
    RegisterFile registers{};
    int seen = 0;
    int reg = 0;
    long value = 0;
    while (in >> reg >> value) {
        if (reg != seen || value < 0 || value > 65535) return std::nullopt;
        registers[static_cast<std::size_t>(reg)] = static_cast<std::uint16_t>(value);
        ++seen;
    }
    if (seen != kRegisterCount) return std::nullopt;
    return registers;
}

std::vector<RegisterChange> ReadRegisterHistory(std::istream& in) {
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto lastNewline = text.find_last_of('\n');
    text.erase(lastNewline == std::string::npos ? 0 : lastNewline + 1);

    std::vector<RegisterChange> changes;
    std::istringstream lines(text);
    int reg = 0;
    unsigned value = 0;
    while (lines >> reg >> value) {
        if (reg < 0 || reg >= kRegisterCount || value > 0xFFFF) continue;
        changes.push_back({reg, static_cast<std::uint16_t>(value)});
    }
    return changes;
}

} // namespace lq::sim
