#include "parameters/parameter_diff.h"

namespace lq {

std::vector<ParameterComparison> CompareParameters(const ParameterSet& controller, const ParameterSet& file) {
    std::vector<ParameterComparison> rows;
    for (const ParameterInfo& info : Parameters()) {
        const auto c = controller.find(info.reg);
        const auto f = file.find(info.reg);
        if (c == controller.end() && f == file.end()) continue;
        ParameterComparison row{info.reg, std::nullopt, std::nullopt};
        if (c != controller.end()) row.controller = c->second;
        if (f != file.end()) row.file = f->second;
        rows.push_back(row);
    }
    return rows;
}

std::vector<PlannedWrite> WritesToRestore(const std::vector<ParameterComparison>& comparison) {
    std::vector<PlannedWrite> writes;
    for (const ParameterComparison& row : comparison)
        if (row.Differs()) writes.push_back({row.reg, *row.controller, *row.file});
    return writes;
}

} // namespace lq
