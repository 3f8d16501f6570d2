// How a following trend view pages: when it redraws, what it cuts its lines at, and its round value axes.
#include "trend/axis_scale.h"
#include "trend/marker_flags.h"
#include "trend/trend_follow.h"
#include "trend/trend_plot_points.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lq {
namespace {

TEST(TrendFollow, JumpsAtThePageEdgeAndOtherwiseDrawsNewPointsOncePerRoundOrColumn) {
    struct Case {
        const char* what;
        double now, drawnAt;
        bool newData;
        double spanMs;
        int columns;
        FollowStep step;
    };
    constexpr double kPageEnd = 1'000'000;
    const Case cases[] = {
        {"now reaches the edge", kPageEnd, kPageEnd - 500, false, 600000, 800, FollowStep::NewPage},
        {"now is past the edge", kPageEnd + 1, kPageEnd - 9000, true, 600000, 800, FollowStep::NewPage},
        {"nothing new", kPageEnd - 1, kPageEnd - 60000, false, 600000, 800, FollowStep::Nothing},
        {"within a round of the poll", kPageEnd - 1, kPageEnd - 1999, true, 600000, 800, FollowStep::Nothing},
        {"a round since", kPageEnd - 1, kPageEnd - 2001, true, 600000, 800, FollowStep::NewPoints},
        {"2 h on 900 columns: within a column", kPageEnd - 1, kPageEnd - 7000, true, 7200000, 900,
         FollowStep::Nothing},
        {"2 h on 900 columns: a column since", kPageEnd - 1, kPageEnd - 8001, true, 7200000, 900,
         FollowStep::NewPoints},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TrendFollow::Next(c.now, kPageEnd, c.drawnAt, c.newData, c.spanMs, c.columns), c.step)
            << c.what;
    EXPECT_EQ(TrendFollow::PageEnd(5000, 600000), 65000); // a tenth of the span ahead
}

TEST(TrendFollow, SleepsUntilTheEdgeOrTheNextStripButAtLeastATickAndAtMostTenSeconds) {
    struct Case {
        const char* what;
        double now, drawnAt, spanMs;
        int columns;
        double sleepMs;
    };
    constexpr double kPageEnd = 1'000'000;
    const Case cases[] = {
        {"the edge comes before the next strip", kPageEnd - 1000, kPageEnd - 1000, 600000, 800, 1000},
        {"the next round of the poll", kPageEnd - 60000, kPageEnd - 60500, 600000, 800, 1500},
        {"2 h on 900 columns: a column", kPageEnd - 60000, kPageEnd - 60000, 7200000, 900, 8000},
        {"due already, nothing came: a tick", kPageEnd - 60000, kPageEnd - 90000, 600000, 800, 500},
        {"2 h on 100 columns: ten seconds", kPageEnd - 600000, kPageEnd - 600000, 7200000, 100, 10000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TrendFollow::SleepMs(c.now, kPageEnd, c.drawnAt, c.spanMs, c.columns), c.sleepMs) << c.what;
}

// PV-like points every 500 ms from 0 on, up to and including `untilMs`.
void FillUntil(TrendRing<TrendPoint>& series, double untilMs) {
    const double next = series.Empty() ? 0 : series.Back().timeMs + 500;
    for (double t = next; t <= untilMs; t += 500)
        series.PushBack({t, static_cast<float>(50 + 20 * std::sin(t / 7000)), t == 0});
}

TEST(TrendPaging, PointsAfterTheCutLeaveThePieceBeforeItAsItWas) {
    // Thinned (many points to a column) and as they are (few): the piece before the cut never changes.
    for (const int columns : {100, 2000}) {
        TrendRing<TrendPoint> series(4000);
        constexpr double from = 0, to = 600000, settled = 543250; // settled is not on a column edge
        FillUntil(series, settled);
        const double cut = ColumnEdgeAtOrBefore(from, to, columns, settled);
        EXPECT_LE(cut, settled);
        EXPECT_GT(cut, settled - (to - from) / columns);
        const auto before = SplitAt(PlotLines(series, from, to, columns), cut);
        ASSERT_EQ(before.size(), 2u) << columns;
        for (double until = settled + 2000; until < to; until += 2000) {
            FillUntil(series, until);
            const auto after = SplitAt(PlotLines(series, from, to, columns), cut);
            ASSERT_EQ(after.size(), 2u);
            ASSERT_EQ(after[0], before[0]) << columns << " columns, until " << until;
            EXPECT_EQ(after[1].front(), after[0].back());                // the line goes on across the cut
            EXPECT_GT(after[1].back().x, until - (to - from) / columns); // and reaches the newest column
        }
    }
}

TEST(TrendPaging, EachLineIsCutOnlyWhereItCrossesAndDrawsTheSameLine) {
    const std::vector<std::vector<PlotPoint>> lines{
        {{0, 1}, {10, 2}}, {{20, 3}, {30, 4}, {40, 5}}, {{50, 6}, {60, 7}}};
    const auto pieces = SplitAt(lines, 30);
    // Before the cut, across it, after it.
    const std::vector<std::vector<PlotPoint>> expected{
        {{0, 1}, {10, 2}}, {{20, 3}}, {{20, 3}, {30, 4}, {40, 5}}, {{50, 6}, {60, 7}}};
    EXPECT_EQ(pieces, expected);
    EXPECT_EQ(SplitAt(lines, 100), lines);
    EXPECT_EQ(SplitAt(lines, -5), lines);
}

TEST(AxisScale, HoldsTheValuesWithAMarginOnRoundTicks) {
    struct Case {
        double low, high, minSpan;
    };
    const Case cases[] = {{40, 60, 10},   {0, 100, 10}, {64.9, 65.1, 10},  {379.6, 380.4, 40}, {-3, 250, 10},
                          {0.2, 0.3, 10}, {0, 0, 40},   {1234, 98765, 10}, {10.9, 20.9, 5}};
    for (const Case& c : cases) {
        const AxisScale scale = RoundAxisScale(c.low, c.high, c.minSpan);
        const std::string what = std::to_string(c.low) + ".." + std::to_string(c.high);
        EXPECT_TRUE(scale.Holds(c.low - 1, c.high + 1)) << what;
        EXPECT_TRUE(scale.Holds(c.low - (c.high - c.low) * 0.08, c.high + (c.high - c.low) * 0.08)) << what;
        EXPECT_GE(scale.max - scale.min, c.minSpan) << what;
        EXPECT_GE(scale.ticks, 4) << what;
        EXPECT_LE(scale.ticks, 9) << what;
        const double step = (scale.max - scale.min) / (scale.ticks - 1);
        const double power = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
        const double mantissa = std::round(step / power * 1000) / 1000;
        EXPECT_TRUE(mantissa == 1 || mantissa == 2 || mantissa == 5) << what << " step " << step;
        EXPECT_DOUBLE_EQ(std::remainder(scale.min, step), 0) << what;
    }
    EXPECT_FALSE(RoundAxisScale(40, 60, 10).Holds(0, 60));
}

TEST(MarkerFlags, OverlappingFlagsGoToTheNextFreeRowAndNoneCrossesThePlotsEnd) {
    struct Case {
        const char* what;
        std::vector<FlagSize> flags;
        int rows;
        std::vector<FlagPlace> places;
    };
    constexpr double kRight = 500, kGap = 2;
    const Case cases[] = {
        {"apart: all in the top row", {{10, 60}, {100, 60}, {300, 60}}, 4, {{10, 0}, {100, 0}, {300, 0}}},
        {"just the gap apart", {{10, 60}, {72, 60}}, 4, {{10, 0}, {72, 0}}},
        {"a pixel short of the gap", {{10, 60}, {71, 60}}, 4, {{10, 0}, {71, 1}}},
        {"three close together stack", {{10, 60}, {20, 60}, {30, 60}}, 4, {{10, 0}, {20, 1}, {30, 2}}},
        {"a row freed again is taken first",
         {{10, 60}, {20, 60}, {75, 60}, {85, 60}},
         4,
         {{10, 0}, {20, 1}, {75, 0}, {85, 1}}},
        {"at the plot's end: left of the line", {{470, 60}}, 4, {{410, 0}}},
        {"a flipped flag stacks under the one before", {{430, 60}, {480, 60}}, 4, {{430, 0}, {420, 1}}},
        {"rows all taken: the one that ends first",
         {{10, 80}, {20, 60}, {30, 60}},
         2,
         {{10, 0}, {20, 1}, {30, 1}}},
        {"no rows asked for: one", {{10, 60}, {20, 60}}, 0, {{10, 0}, {20, 0}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlaceFlags(c.flags, kRight, c.rows, kGap), c.places) << c.what;
}

} // namespace
} // namespace lq
