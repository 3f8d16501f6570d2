// The soak test trusts this search to tell a faithful block from a corrupted one.
#include "tests/sim/register_history.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace lq::sim {
namespace {

// Registers 0..3 start at 0; then 1 and 2 change together (one record), then 2 alone, then a record
// whose last line has not been finished yet.
constexpr const char* kHistory = "0 0\n1 0\n2 0\n3 0\n"
                                 "1 11\n2 21\n"
                                 "2 22\n"
                                 "3 3";

struct Case {
    const char* name;
    std::size_t from;
    int firstRegister;
    std::vector<std::uint16_t> values;
    std::optional<std::size_t> expected;
};

TEST(RegisterHistory, FindsABlockOnlyInAStateItReallyHad) {
    std::istringstream in(kHistory);
    const RegisterHistory history = RegisterHistory::Parse(in);
    ASSERT_EQ(history.StateCount(), 7u);

    const std::vector<Case> cases{
        {"start", 0, 0, {0, 0, 0, 0}, 0},
        {"after one record", 0, 1, {11, 21}, 5},
        {"later change", 0, 1, {11, 22}, 6},
        {"values mixed from two moments", 0, 1, {0, 22}, std::nullopt},
        {"unfinished line is not a value", 0, 3, {3}, std::nullopt},
        {"nothing earlier than from", 6, 1, {11, 21}, std::nullopt},
        {"block running past the register file", 0, 63, {0, 0}, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(history.FindBlock(c.from, c.firstRegister, c.values), c.expected) << c.name;
}

} // namespace
} // namespace lq::sim
