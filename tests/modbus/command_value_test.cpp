#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "modbus/command_value.h"

namespace lq {
namespace {

struct ValueCase {
    double value;
    std::int32_t written;
};

class CommandValues : public ::testing::TestWithParam<ValueCase> {};

TEST_P(CommandValues, RoundToEvenThenSaturate)
{
    EXPECT_EQ(CommandValue(GetParam().value), GetParam().written) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Table, CommandValues,
                         ::testing::Values(ValueCase{2.5, 2}, ValueCase{3.5, 4}, ValueCase{-0.5, 0},
                                           ValueCase{999.5, 1000}, ValueCase{998.5, 998}, ValueCase{-1.0, -1},
                                           ValueCase{65535.0, 65535}, ValueCase{65536.0, 65535},
                                           ValueCase{1e12, 65535}, ValueCase{-32768.0, -32768},
                                           ValueCase{-32769.0, -32768}, ValueCase{-1e12, -32768},
                                           ValueCase{std::numeric_limits<double>::infinity(), 65535},
                                           ValueCase{std::numeric_limits<double>::quiet_NaN(), 0}));

TEST(TimesTen, EntryValuesRoundAsTheOperatorExpects)
{
    EXPECT_EQ(CommandValue(TimesTen(2.25)), 22);
    EXPECT_EQ(CommandValue(TimesTen(2.35)), 24);
    EXPECT_EQ(CommandValue(TimesTen(6553.6)), 65535);
    EXPECT_EQ(CommandValue(TimesTen(-0.1)), -1);
}

} // namespace
} // namespace lq
