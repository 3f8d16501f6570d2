#include "master_fakes.h"
#include "recording_fakes.h"
#include "trend/trend_plot_points.h"
#include "trend/trend_series.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace lq {
namespace {

using testing::Accepted;
using testing::At;
using testing::Written;

std::size_t QuantityOf(int reg) {
    const auto q = TrendSeries::Quantities();
    return static_cast<std::size_t>(
        std::find_if(q.begin(), q.end(), [reg](const TrendQuantity& t) { return t.reg == reg; }) - q.begin());
}

class TrendSeriesTest : public ::testing::Test {
  protected:
    RegisterImage image_;
    TrendSeries model_{image_};
};

TEST_F(TrendSeriesTest, EachQuantityIsInThePanelsUnits) {
    struct Case {
        int reg;
        std::uint16_t raw;
        float shown;
    };
    const Case cases[] = {{35, 655, 65.5f}, {36, 700, 70.0f}, {12, 73, 73.0f},  {11, 456, 45.6f},
                          {20, 123, 12.3f}, {21, 124, 12.4f}, {22, 125, 12.5f}, {23, 3801, 380.1f}};
    for (const Case& c : cases)
        image_.Set(c.reg, c.raw);
    for (std::uint8_t block : {1, 2, 3})
        model_.DeliveryJudged(Accepted(block, 0));
    for (const Case& c : cases) {
        const auto& series = model_.Series(QuantityOf(c.reg));
        ASSERT_EQ(series.Size(), 1u) << c.reg;
        EXPECT_FLOAT_EQ(series.Back().value, c.shown) << c.reg;
    }
}

TEST_F(TrendSeriesTest, AReplyAddsPointsOnlyToTheQuantitiesOfItsBlock) {
    model_.DeliveryJudged(Accepted(0, 0));
    model_.DeliveryJudged(Accepted(3, 500));
    model_.DeliveryJudged({{}, DeliveryVerdict::BadCrc, 2, 0, std::nullopt, At(1000)});
    for (std::size_t q = 0; q < TrendSeries::kQuantityCount; ++q)
        EXPECT_EQ(model_.Series(q).Size(), TrendSeries::Quantities()[q].reg >= 35 ? 1u : 0u) << q;
}

TEST_F(TrendSeriesTest, NoSeriesHoldsMoreThanItsCapacityNorOlderThanTwoHours) {
    TrendSeries small(image_, 100);
    for (int n = 0; n < 250; ++n)
        small.DeliveryJudged(Accepted(3, n * 500));
    const auto& pv = small.Series(QuantityOf(35));
    ASSERT_EQ(pv.Size(), 100u);
    EXPECT_EQ(pv.Front().timeMs - small.ChartTime(At(0)), 150 * 500.0); // the oldest went first
    EXPECT_EQ(pv.Back().timeMs - small.ChartTime(At(0)), 249 * 500.0);

    // Full-size: 2.5 h at 2 Hz in block 3 keeps 2 h, 14 400 points.
    for (int n = 0; n < 18000; ++n)
        model_.DeliveryJudged(Accepted(3, n * 500));
    const auto& sv = model_.Series(QuantityOf(36));
    EXPECT_LE(sv.Size(), TrendSeries::kCapacity);
    EXPECT_GE(sv.Size(), TrendSeries::kCapacity - 1);
    EXPECT_LE(sv.Back().timeMs - sv.Front().timeMs, 2 * 3600 * 1000.0);

    // At the panel's own pace, a block every 2 s, three hours fit the ring; only the last two are kept.
    TrendSeries paced(image_);
    for (int n = 0; n < 5400; ++n)
        paced.DeliveryJudged(Accepted(3, n * 2000LL));
    const auto& pvPaced = paced.Series(QuantityOf(35));
    EXPECT_EQ(pvPaced.Back().timeMs - pvPaced.Front().timeMs, 2 * 3600 * 1000.0);
}

enum class Reply { Good, Lost, Damaged };
using Script = std::function<Reply(std::uint8_t block, int read)>; // how the read-th read of a block ends

// The trend fed by a real master on fakes, each of its reads answered as a script says.
struct PolledTrend {
    testing::MasterRig rig;
    TrendSeries model{rig.master.Registers()};
    std::array<int, 4> reads{};

    PolledTrend() { rig.master.AddObserver(model); }
    void Poll(int ticks, const Script& script) {
        for (int n = 0; n < ticks; ++n) {
            const std::size_t sent = rig.sender.sent.size();
            rig.Tick();
            if (rig.sender.sent.size() == sent) continue; // a read still waiting for its reply or time-out
            const std::uint8_t block = rig.master.PollIndex();
            testing::Bytes reply = testing::ReadReply(std::vector<std::uint16_t>(10, 500));
            switch (script(block, reads[block]++)) {
            case Reply::Good:
                rig.Deliver(reply);
                break;
            case Reply::Damaged:
                reply.back() ^= 0x5A;
                rig.Deliver(reply);
                break;
            case Reply::Lost:
                break;
            }
        }
    }
    std::size_t Lines(std::size_t quantity) const {
        const auto& series = model.Series(quantity);
        std::size_t lines = 0;
        for (std::size_t i = 0; i < series.Size(); ++i)
            lines += series[i].startsSegment;
        return lines;
    }
};

// The `from`-th to `to`-th reads of `block` end as `reply`, every other read is answered.
Script Reads(std::uint8_t block, int from, int to, Reply reply) {
    return [=](std::uint8_t b, int read) {
        return b == block && read >= from && read <= to ? reply : Reply::Good;
    };
}

TEST(TrendLineBreaks, OnlyAfterThreeTurnsWithoutTheBlockOrAcrossAClosedPortOrAStoppedPoll) {
    constexpr std::uint8_t kPv = 3; // PV's block; the master gives a block three tries a turn
    const auto others = [](int from, int to) {
        return Script([=](std::uint8_t b, int read) {
            return b != kPv && read >= from && read <= to ? Reply::Lost : Reply::Good;
        });
    };
    const Script good = [](std::uint8_t, int) { return Reply::Good; };
    const auto untick = [&good](int ticks) {
        return std::function<void(PolledTrend&)>([ticks, good](PolledTrend& t) {
            t.rig.view.ticked = false;
            t.Poll(ticks, good);
            t.rig.view.ticked = true;
        });
    };
    struct Case {
        const char* what;
        Script script;
        std::function<void(PolledTrend&)> meanwhile; // between two stretches of polling
        std::size_t lines;
    };
    const Case cases[] = {
        {"every reply good", good, {}, 1},
        {"one reply lost", Reads(kPv, 3, 3, Reply::Lost), {}, 1},
        {"one reply damaged", Reads(kPv, 3, 3, Reply::Damaged), {}, 1},
        {"two lost in a row", Reads(kPv, 3, 4, Reply::Lost), {}, 1},
        {"three lost: one turn missed", Reads(kPv, 3, 5, Reply::Lost), {}, 1},
        {"two turns missed", Reads(kPv, 3, 8, Reply::Lost), {}, 1},
        {"three turns missed", Reads(kPv, 3, 11, Reply::Lost), {}, 2},
        {"three damaged turns missed", Reads(kPv, 3, 11, Reply::Damaged), {}, 2},
        {"the other blocks missing two turns each", others(3, 8), {}, 1},
        {"every block missing a turn, one after the other",
         [](std::uint8_t, int read) { return read >= 3 && read <= 5 ? Reply::Lost : Reply::Good; },
         {},
         2},
        {"the port closed and opened again at once", good,
         [](PolledTrend& t) {
             t.rig.master.PortClosed();
             t.model.PortClosed();
         },
         2},
        {"\"通讯\" unticked for a second", good, untick(2), 1},
        {"\"通讯\" unticked for four turns", good, untick(16), 2},
    };
    for (const Case& c : cases) {
        PolledTrend trend;
        trend.Poll(60, c.script);
        if (c.meanwhile) c.meanwhile(trend);
        trend.Poll(60, c.script);
        EXPECT_GE(trend.model.Series(QuantityOf(35)).Size(), 12u) << c.what;
        EXPECT_EQ(trend.Lines(QuantityOf(35)), c.lines) << c.what;
        EXPECT_EQ(trend.Lines(QuantityOf(36)), c.lines) << c.what; // SV, from the same block
    }
}

TEST(TrendLineBreaks, NeverOnALineThatLosesOrDamagesOneReplyInEight) {
    PolledTrend trend;
    std::minstd_rand random(27);
    trend.Poll(2 * 3600, [&random](std::uint8_t, int) {
        const auto n = random() % 16;
        return n == 0 ? Reply::Lost : n == 1 ? Reply::Damaged : Reply::Good;
    });
    for (std::size_t q = 0; q < TrendSeries::kQuantityCount; ++q) {
        EXPECT_GT(trend.model.Series(q).Size(), 600u) << q;
        EXPECT_EQ(trend.Lines(q), 1u) << q;
    }
}

TEST_F(TrendSeriesTest, ConfirmedWritesOfSettingsBecomeMarkersWithTheirValueInPanelUnits) {
    struct Case {
        std::uint8_t reg;
        std::uint16_t raw;
        WriteOutcome outcome;
        const char* text; // empty: no marker
    };
    const Case cases[] = {
        {36, 655, WriteOutcome::Confirmed, "SV 65.5"},
        {39, 800, WriteOutcome::Confirmed, "AL1 80.0"},
        {40, 52, WriteOutcome::Confirmed, "P 5.2"},
        {41, 240, WriteOutcome::Confirmed, "I 240"},
        {42, 60, WriteOutcome::Confirmed, "D 60"},
        {4, 950, WriteOutcome::Confirmed, "最大输出量限制 95.0"},
        {5, 50, WriteOutcome::Confirmed, "最小输出量限制 5.0"},
        {0, 5000, WriteOutcome::Confirmed, ""},
        {3, 1, WriteOutcome::Confirmed, ""},
        {36, 700, WriteOutcome::Unconfirmed, ""},
        {36, 700, WriteOutcome::Refused, ""},
        {36, 700, WriteOutcome::Superseded, ""},
    };
    std::vector<std::string> expected;
    std::int64_t ms = 0;
    for (const Case& c : cases) {
        model_.WriteEnded(Written(c.reg, c.raw, c.outcome, ms += 500));
        if (*c.text) expected.emplace_back(c.text);
    }
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < model_.Markers().Size(); ++i)
        texts.push_back(model_.Markers()[i].text);
    EXPECT_EQ(texts, expected);
    EXPECT_DOUBLE_EQ(model_.Markers().Front().value, 65.5);
    EXPECT_EQ(model_.Markers().Front().timeMs, model_.ChartTime(At(500)));
}

TEST_F(TrendSeriesTest, ChartTimeFollowsTheSteadyClockFromTheFirstWallTime) {
    LinkTime later = At(10000);
    later.wall -= std::chrono::hours(1); // the clock was set back meanwhile
    const double first = model_.ChartTime(At(0));
    EXPECT_EQ(model_.ChartTime(later) - first, 10000.0);
}

TEST(TrendPlotPoints, ManyPointsToAColumnKeepTheirLowestAndHighestInTimeOrder) {
    TrendRing<TrendPoint> series(1000);
    // 100 points in each of 10 columns of 100 ms: a sawtooth with its peak and trough mid-column.
    for (int n = 0; n < 1000; ++n) {
        const int k = n % 100;
        series.PushBack({static_cast<double>(n),
                         static_cast<float>(k == 40   ? 500
                                            : k == 60 ? -500
                                                      : k),
                         n == 0});
    }
    const auto lines = PlotLines(series, 0, 1000, 10);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0].size(), 20u);
    const std::vector<PlotPoint> firstColumn{lines[0][0], lines[0][1]};
    EXPECT_EQ(firstColumn[0].x, 40);
    EXPECT_EQ(firstColumn[0].y, 500);
    EXPECT_EQ(firstColumn[1].x, 60);
    EXPECT_EQ(firstColumn[1].y, -500);
    // Few points are passed as they are, with one beyond each edge.
    const auto few = PlotLines(series, 500.5, 510.5, 1000);
    ASSERT_EQ(few.size(), 1u);
    EXPECT_EQ(few[0].front().x, 500);
    EXPECT_EQ(few[0].back().x, 511);
}

TEST(TrendPlotPoints, NearestPointAndValueRange) {
    TrendRing<TrendPoint> series(10);
    for (int n = 0; n < 5; ++n)
        series.PushBack({n * 1000.0, static_cast<float>(n * n), n == 0});
    ASSERT_NE(NearestPoint(series, 2400, 500), nullptr);
    EXPECT_EQ(NearestPoint(series, 2400, 500)->timeMs, 2000);
    EXPECT_EQ(NearestPoint(series, 2600, 500)->timeMs, 3000);
    EXPECT_EQ(NearestPoint(series, -100, 500)->timeMs, 0);
    EXPECT_EQ(NearestPoint(series, 5600, 500), nullptr);
    const auto range = ValueRange(series, 1000, 3000);
    ASSERT_TRUE(range);
    EXPECT_EQ(range->low, 1);
    EXPECT_EQ(range->high, 9);
    EXPECT_FALSE(ValueRange(series, 4100, 4900));
}

} // namespace
} // namespace lq
