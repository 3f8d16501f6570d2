#include <gtest/gtest.h>

#include "modbus/text_helpers.h"

namespace lq {
namespace {

struct TextCase {
    const char* text;
    std::int32_t value;
};

class TextToIntCases : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextToIntCases, ReadsLeniently) {
    EXPECT_EQ(TextToInt(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TextToIntCases,
    ::testing::Values(TextCase{"1", 1}, TextCase{"19200", 19200}, TextCase{"", 0}, TextCase{"abc", 0},
                      TextCase{"12abc", 12}, TextCase{"256", 256}, TextCase{"300", 300}, TextCase{"-1", -1},
                      TextCase{"+7", 7}, TextCase{"$10", 16}, TextCase{"0x10", 16}, TextCase{"0X1f", 31},
                      TextCase{"x10", 16}, TextCase{"X10", 16}, TextCase{"$", 0}, TextCase{" 7", 7},
                      TextCase{"   -42", -42}, TextCase{"7 ", 7}, TextCase{"\t7", 0},
                      // Cut short: the digits so far, without the sign.
                      TextCase{"-12a", 12}, TextCase{"-", 0}, TextCase{"--1", 0}, TextCase{"$1G", 1},
                      TextCase{"2147483647", 2147483647}, TextCase{"-2147483648", INT32_MIN},
                      TextCase{"2147483648", 214748364}, TextCase{"99999999999", 999999999},
                      TextCase{"$7FFFFFFF", INT32_MAX}, TextCase{"$80000000", 0x8000000}, TextCase{"1.5", 1},
                      TextCase{"9600baud", 9600}));

TEST(IntToText, WritesPlainDecimal) {
    EXPECT_EQ(IntToText(0), "0");
    EXPECT_EQ(IntToText(1111), "1111");
    EXPECT_EQ(IntToText(-1), "-1");
    EXPECT_EQ(IntToText(65535), "65535");
    EXPECT_EQ(IntToText(INT32_MIN), "-2147483648");
}

TEST(FirstChars, CutsByCharacters) {
    EXPECT_EQ(FirstChars("65535", 7), "65535");
    EXPECT_EQ(FirstChars("-2147483648", 7), "-214748");
    EXPECT_EQ(FirstChars("abc", 0), "");
    EXPECT_EQ(FirstChars("", 7), "");
    EXPECT_EQ(FirstChars("通讯通讯", 3), "通讯通");
}

} // namespace
} // namespace lq
