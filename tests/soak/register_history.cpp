#include "tests/soak/register_history.h"

#include <algorithm>
#include <iterator>
#include <sstream>
#include <string>

namespace lq::soak {

RegisterHistory RegisterHistory::Parse(std::istream& in) {
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto lastNewline = text.find_last_of('\n');
    text.erase(lastNewline == std::string::npos ? 0 : lastNewline + 1);

    RegisterHistory history;
    sim::RegisterFile current{};
    std::istringstream lines(text);
    int reg = 0;
    unsigned value = 0;
    while (lines >> reg >> value) {
        if (reg < 0 || reg >= sim::kRegisterCount || value > 0xFFFF) continue;
        current[static_cast<std::size_t>(reg)] = static_cast<std::uint16_t>(value);
        history.states_.push_back(current);
    }
    return history;
}

std::optional<std::size_t> RegisterHistory::FindBlock(std::size_t from, int firstRegister,
                                                      std::span<const std::uint16_t> values) const {
    if (firstRegister < 0 || firstRegister + values.size() > static_cast<std::size_t>(sim::kRegisterCount))
        return std::nullopt;
    for (std::size_t at = from; at < states_.size(); ++at) {
        const auto block = states_[at].begin() + firstRegister;
        if (std::equal(values.begin(), values.end(), block)) return at;
    }
    return std::nullopt;
}

} // namespace lq::soak
