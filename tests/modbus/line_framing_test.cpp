// The framings' names and bits, which the framing box, the command line, the search and the simulator share.
#include "modbus/line_framing.h"

#include <gtest/gtest.h>

namespace lq {
namespace {

TEST(LineFraming, EachFramingHasItsNamesParityAndStopBits) {
    struct Case {
        Framing framing;
        std::string_view name, shortName;
        FramingParity parity;
        int stopBits;
    };
    constexpr Case kCases[] = {
        {Framing::N2, "8_N_2", "8N2", FramingParity::None, 2},
        {Framing::E1, "8_E_1", "8E1", FramingParity::Even, 1},
        {Framing::O1, "8_O_1", "8O1", FramingParity::Odd, 1},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(FramingName(c.framing), c.name);
        EXPECT_EQ(FramingShortName(c.framing), c.shortName);
        EXPECT_EQ(ParityOf(c.framing), c.parity) << c.name;
        EXPECT_EQ(StopBitsOf(c.framing), c.stopBits) << c.name;
        EXPECT_EQ(FramingNamed(c.name), c.framing);
    }
}

TEST(LineFraming, OnlyTheFramingBoxsOwnNamesNameAFraming) {
    for (const std::string_view text : {"8N2", "8_n_2", "8_N_1", " 8_N_2", "8_N_2 ", ""})
        EXPECT_FALSE(FramingNamed(text).has_value()) << text;
}

} // namespace
} // namespace lq
