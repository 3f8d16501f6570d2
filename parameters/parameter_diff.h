#pragma once

#include <optional>
#include <vector>

#include "parameters/parameter_table.h"

namespace lq {

// One register of a comparison: what the controller holds beside what the file says.
struct ParameterComparison {
    int reg = 0;
    std::optional<std::uint16_t> controller; // empty when the controller's set lacks it
    std::optional<std::uint16_t> file;       // empty when the file lacks it
    bool Differs() const { return controller && file && *controller != *file; }
};

// Every register of either set, in register order.
std::vector<ParameterComparison> CompareParameters(const ParameterSet& controller, const ParameterSet& file);

// A write a restore makes: a register whose controller value differs from the file's.
struct PlannedWrite {
    int reg = 0;
    std::uint16_t from = 0;
    std::uint16_t to = 0;
};

// The differences only, in register order: what a restore writes.
std::vector<PlannedWrite> WritesToRestore(const std::vector<ParameterComparison>& comparison);

} // namespace lq
