#include "sim/register_recorder.h"

#include <cstdio>
#include <fstream>
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

} // namespace lq::sim
