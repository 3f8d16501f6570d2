#include "sim/fault_injector.h"

#include <gtest/gtest.h>

namespace lq::sim {
namespace {

Frame SampleReply(int n) {
    Frame reply{1, 0x03, 20};
    for (int k = 0; k < 20; ++k)
        reply.push_back(static_cast<std::uint8_t>(n * 7 + k));
    AppendCrc(reply);
    return reply;
}

Frame Joined(const std::vector<ReplyChunk>& chunks) {
    Frame all;
    for (const auto& chunk : chunks)
        all.insert(all.end(), chunk.bytes.begin(), chunk.bytes.end());
    return all;
}

struct Tally {
    int dropped = 0;
    int corrupted = 0;
    int split = 0;
};

Tally Count(FaultOptions options, std::uint64_t seed, int replies) {
    FaultInjector faults(options, seed);
    Tally tally;
    for (int n = 0; n < replies; ++n) {
        const Frame reply = SampleReply(n);
        const auto plan = faults.Plan(reply);
        if (plan.empty()) {
            ++tally.dropped;
            continue;
        }
        if (plan.size() == 2) ++tally.split;
        if (Joined(plan) != reply) ++tally.corrupted;
    }
    return tally;
}

struct RateCase {
    const char* name;
    FaultOptions options;
};

class FaultRateTest : public ::testing::TestWithParam<RateCase> {};

TEST_P(FaultRateTest, EachFaultHappensAtItsProbability) {
    const FaultOptions options = GetParam().options;
    constexpr int kReplies = 20000;
    const Tally tally = Count(options, 1234, kReplies);
    const int sent = kReplies - tally.dropped;
    // Wide enough that a fixed seed cannot land outside by chance, narrow enough to catch a wrong rate.
    EXPECT_NEAR(tally.dropped, options.drop * kReplies, 0.02 * kReplies);
    EXPECT_NEAR(tally.corrupted, options.corrupt * sent, 0.02 * kReplies);
    EXPECT_NEAR(tally.split, options.split * sent, 0.02 * kReplies);
}

INSTANTIATE_TEST_SUITE_P(Rates, FaultRateTest,
                         ::testing::Values(RateCase{"None", {}}, RateCase{"Drop", {.drop = 0.3}},
                                           RateCase{"Corrupt", {.corrupt = 0.3}},
                                           RateCase{"Split", {.split = 0.5}},
                                           RateCase{"Always", {.drop = 0.0, .corrupt = 1.0, .split = 1.0}},
                                           RateCase{"Mixed", {.drop = 0.1, .corrupt = 0.2, .split = 0.3}},
                                           RateCase{"AllDropped", {.drop = 1.0, .corrupt = 1.0}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FaultInjector, SameSeedMistreatsTheSameReplies) {
    const FaultOptions options{.drop = 0.2, .corrupt = 0.3, .split = 0.3, .delay = milliseconds(5)};
    FaultInjector a(options, 99);
    FaultInjector b(options, 99);
    FaultInjector c(options, 100);
    int differences = 0;
    for (int n = 0; n < 200; ++n) {
        const auto planA = a.Plan(SampleReply(n));
        const auto planB = b.Plan(SampleReply(n));
        const auto planC = c.Plan(SampleReply(n));
        ASSERT_EQ(planA.size(), planB.size());
        for (std::size_t i = 0; i < planA.size(); ++i) {
            EXPECT_EQ(planA[i].bytes, planB[i].bytes);
            EXPECT_EQ(planA[i].after, planB[i].after);
        }
        if (planA.size() != planC.size() || Joined(planA) != Joined(planC)) ++differences;
    }
    EXPECT_GT(differences, 0) << "another seed gives another run";
}

TEST(FaultInjector, CorruptedReplyDiffersInOneByteAndAlwaysFailsItsCrc) {
    FaultInjector faults({.corrupt = 1.0}, 5);
    for (int n = 0; n < 2000; ++n) {
        const Frame reply = SampleReply(n);
        const auto plan = faults.Plan(reply);
        ASSERT_EQ(plan.size(), 1u);
        const Frame& damaged = plan[0].bytes;
        ASSERT_EQ(damaged.size(), reply.size());
        int changed = 0;
        for (std::size_t i = 0; i < reply.size(); ++i)
            changed += damaged[i] != reply[i];
        EXPECT_EQ(changed, 1);
        EXPECT_FALSE(HasValidCrc(damaged));
    }
}

TEST(FaultInjector, SplitReplyPausesLongerThanTheMastersReadTimeout) {
    const milliseconds delay(30);
    FaultInjector faults({.split = 1.0, .delay = delay}, 8);
    for (int n = 0; n < 100; ++n) {
        const Frame reply = SampleReply(n);
        const auto plan = faults.Plan(reply);
        ASSERT_EQ(plan.size(), 2u);
        EXPECT_FALSE(plan[0].bytes.empty());
        EXPECT_FALSE(plan[1].bytes.empty());
        EXPECT_EQ(Joined(plan), reply);
        EXPECT_EQ(plan[0].after, delay);
        EXPECT_GT(plan[1].after - plan[0].after, milliseconds(100));
    }
}

TEST(FaultInjector, SilenceStaysSilent) {
    FaultInjector faults({.corrupt = 1.0, .split = 1.0}, 1);
    EXPECT_TRUE(faults.Plan({}).empty());
}

} // namespace
} // namespace lq::sim
