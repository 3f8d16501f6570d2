#include <gtest/gtest.h>

#include "parameters/parameter_diff.h"

namespace {

TEST(ParameterDiff, ListsEveryRegisterOfEitherSetAndRestoresOnlyTheDifferences) {
    const lq::ParameterSet controller{{4, 1000}, {36, 650}, {41, 120}, {42, 30}};
    const lq::ParameterSet file{{4, 1000}, {36, 600}, {41, 90}, {39, 800}};
    const auto rows = lq::CompareParameters(controller, file);
    struct Row {
        int reg;
        std::optional<std::uint16_t> controller, file;
        bool differs;
    };
    const Row expected[] = {{4, 1000, 1000, false},
                            {36, 650, 600, true},
                            {39, std::nullopt, 800, false},
                            {41, 120, 90, true},
                            {42, 30, std::nullopt, false}};
    ASSERT_EQ(rows.size(), std::size(expected));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].reg, expected[i].reg) << i;
        EXPECT_EQ(rows[i].controller, expected[i].controller) << i;
        EXPECT_EQ(rows[i].file, expected[i].file) << i;
        EXPECT_EQ(rows[i].Differs(), expected[i].differs) << i;
    }
    const auto writes = lq::WritesToRestore(rows);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].reg, 36);
    EXPECT_EQ(writes[0].from, 650);
    EXPECT_EQ(writes[0].to, 600);
    EXPECT_EQ(writes[1].reg, 41);
    EXPECT_EQ(writes[1].to, 90);
}

TEST(ParameterTable, ValuesInTheirUnits) {
    EXPECT_EQ(lq::ParameterValueText(36, 300), "30.0 °C");
    EXPECT_EQ(lq::ParameterValueText(4, 1000), "100.0 %");
    EXPECT_EQ(lq::ParameterValueText(41, 120), "120 s");
    EXPECT_EQ(lq::PollBlockOf(5), 0);
    EXPECT_EQ(lq::PollBlockOf(42), 3);
}

} // namespace
