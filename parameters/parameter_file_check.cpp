#include "parameters/parameter_file_check.h"

#include <cmath>

#include "modbus/command_value.h"

namespace lq {

namespace {

bool Whole(double value) {
    return std::isfinite(value) && std::floor(value) == value;
}

FileCheck Fault(FileProblem problem, int index = -1, const ParameterFileEntry* entry = nullptr) {
    FileCheck check;
    check.problem = problem;
    check.index = index;
    if (entry != nullptr) {
        check.reg = entry->reg.value_or(0);
        check.raw = entry->raw.value_or(0);
    }
    return check;
}

// The raw value an operator entry of this register would write: the same rule, so a file can hold no value
// the operator could not have given.
std::optional<std::uint16_t> EntryValue(const std::optional<double>& raw) {
    if (!raw || !Whole(*raw)) return std::nullopt;
    return RegisterValue(*raw);
}

} // namespace

FileCheck CheckParameterFile(const ParameterFileContent& content) {
    if (content.format != kParameterFileFormat) return Fault(FileProblem::WrongFormat);
    if (content.version != kParameterFileVersion) return Fault(FileProblem::WrongVersion);
    if (!content.hasParameterList) return Fault(FileProblem::NoParameterList);
    if (content.parameters.empty()) return Fault(FileProblem::EmptyList);
    FileCheck check;
    for (std::size_t i = 0; i < content.parameters.size(); ++i) {
        const ParameterFileEntry& entry = content.parameters[i];
        const int index = static_cast<int>(i);
        if (!entry.reg || !Whole(*entry.reg)) return Fault(FileProblem::BadRegister, index, &entry);
        if (std::fabs(*entry.reg) > 65535 || !ParameterOf(static_cast<int>(*entry.reg)))
            return Fault(FileProblem::NotAParameter, index, &entry);
        const int reg = static_cast<int>(*entry.reg);
        const auto raw = EntryValue(entry.raw);
        if (!raw) return Fault(FileProblem::BadRaw, index, &entry);
        if (!check.set.emplace(reg, *raw).second) return Fault(FileProblem::Duplicate, index, &entry);
    }
    return check;
}

} // namespace lq
