#include "tests/sim/register_history.h"

#include "sim/register_recorder.h"

#include <algorithm>

namespace lq::sim {

RegisterHistory RegisterHistory::Parse(std::istream& in) {
    RegisterHistory history;
    RegisterFile current{};
    for (const RegisterChange& change : ReadRegisterHistory(in)) {
        current[static_cast<std::size_t>(change.reg)] = change.value;
        history.states_.push_back(current);
    }
    return history;
}

std::optional<std::size_t> RegisterHistory::FindBlock(std::size_t from, int firstRegister,
                                                      std::span<const std::uint16_t> values) const {
    if (firstRegister < 0 || firstRegister + values.size() > static_cast<std::size_t>(kRegisterCount))
        return std::nullopt;
    for (std::size_t at = from; at < states_.size(); ++at) {
        const auto block = states_[at].begin() + firstRegister;
        if (std::equal(values.begin(), values.end(), block)) return at;
    }
    return std::nullopt;
}

} // namespace lq::sim
