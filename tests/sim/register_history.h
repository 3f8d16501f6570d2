#pragma once

#include "sim/registers.h"

#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <span>
#include <vector>

namespace lq::sim {

// The simulator's register file after each line of its history ("register value", appended in the order the
// changes happened). A reply carries the registers as they stood at one moment, and every such moment is one
// of these states; the states in between (half of one recorded change applied) only make the search lenient
// by a fraction of one model step.
class RegisterHistory {
  public:
    // Complete lines only: a last line without its newline is still being written.
    static RegisterHistory Parse(std::istream& in);

    std::size_t StateCount() const { return states_.size(); }

    // The first state at or after `from` in which the registers from `firstRegister` on hold `values`.
    std::optional<std::size_t> FindBlock(std::size_t from, int firstRegister,
                                         std::span<const std::uint16_t> values) const;

  private:
    std::vector<RegisterFile> states_;
};

} // namespace lq::sim
