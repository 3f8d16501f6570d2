#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "modbus/command_value.h"

namespace lq {
namespace {

struct ValueCase {
    double value;
    int written; // -1: refused
};

class RegisterValues : public ::testing::TestWithParam<ValueCase> {};

TEST_P(RegisterValues, RoundToEvenAndOnlyWhatARegisterHolds) {
    const auto written = RegisterValue(GetParam().value);
    if (GetParam().written < 0) {
        EXPECT_FALSE(written) << GetParam().value;
    } else {
        ASSERT_TRUE(written) << GetParam().value;
        EXPECT_EQ(*written, GetParam().written) << GetParam().value;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, RegisterValues,
                         ::testing::Values(ValueCase{2.5, 2}, ValueCase{3.5, 4}, ValueCase{-0.5, 0},
                                           ValueCase{999.5, 1000}, ValueCase{998.5, 998}, ValueCase{0.0, 0},
                                           ValueCase{65535.0, 65535}, ValueCase{65534.5, 65534},
                                           ValueCase{65535.5, -1}, ValueCase{65536.0, -1},
                                           ValueCase{-1.0, -1}, ValueCase{-0.6, -1}, ValueCase{1e12, -1},
                                           ValueCase{-1e12, -1},
                                           ValueCase{std::numeric_limits<double>::infinity(), -1},
                                           ValueCase{std::numeric_limits<double>::quiet_NaN(), -1}));

TEST(TimesTen, EntryValuesRoundAsTheOperatorExpects) {
    EXPECT_EQ(RegisterValue(TimesTen(2.25)), 22);
    EXPECT_EQ(RegisterValue(TimesTen(2.35)), 24);
    EXPECT_EQ(RegisterValue(TimesTen(6553.5)), 65535);
    EXPECT_FALSE(RegisterValue(TimesTen(6553.6)));
    EXPECT_FALSE(RegisterValue(TimesTen(-0.1)));
}

} // namespace
} // namespace lq
