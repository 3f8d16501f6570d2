#include <gtest/gtest.h>

#include "modbus/display_text.h"
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

TEST(DisplayText, SubstituteFillsEachPlaceholderOnceInTheTranslationsOrder) {
    const struct {
        const char* pattern;
        const char* text;
    } cases[] = {
        {"读块 %1 的应答（寄存器 %2–%3）", "读块 2 的应答（寄存器 20–29）"},
        {"registers %2-%3 of block %1", "registers 20-29 of block 2"},
        {"%1%1", "22"},
        {"missing %4, lone % and 100%", "missing %4, lone % and 100%"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Substitute(c.pattern, {"2", "20", "29"}), c.text) << c.pattern;
    // What an argument holds is not looked at again.
    EXPECT_EQ(Substitute("%1 %2", {"%2", "b"}), "%2 b");
}

TEST(DisplayText, TheInstalledLookupGivesTheTextAndNoneGivesTheSource) {
    EXPECT_EQ(Translated("Test", "无应答"), "无应答");
    InstallTextLookup([](const char* context, const char* source) {
        return std::string(context) + ":" + (std::string(source) == "无应答" ? "No reply" : source);
    });
    EXPECT_EQ(LQ_TR("Test", "无应答"), "Test:No reply");
    InstallTextLookup(nullptr);
    EXPECT_EQ(Translated("Test", "无应答"), "无应答");
}

} // namespace
} // namespace lq
