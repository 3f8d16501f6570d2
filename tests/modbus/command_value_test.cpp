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

struct EntryTextCase {
    const char* text;
    bool wholeNumbers;
    EntryTextFault fault;
};

TEST(CheckEntryText, RefusesWhatTheFieldCannotTakeAsTyped) {
    const EntryTextCase cases[] = {
        {"12.6", true, EntryTextFault::NotWhole},   {"12.6", false, EntryTextFault::None},
        {"3.", true, EntryTextFault::NotWhole},     {"126", true, EntryTextFault::None},
        {"-0.04", false, EntryTextFault::Negative}, {"-5", true, EntryTextFault::Negative},
        {"-1.5", true, EntryTextFault::Negative},   {"", false, EntryTextFault::Empty},
        {"  ", true, EntryTextFault::Empty},        {" 7 ", true, EntryTextFault::None},
        {"1,5", true, EntryTextFault::None},
    };
    for (const EntryTextCase& c : cases)
        EXPECT_EQ(CheckEntryText(c.text, '.', c.wholeNumbers), c.fault)
            << c.text << " whole " << c.wholeNumbers;
    EXPECT_EQ(CheckEntryText("1,5", ',', true), EntryTextFault::NotWhole);
}

} // namespace
} // namespace lq
