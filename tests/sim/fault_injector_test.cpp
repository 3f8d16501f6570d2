#include "sim/fault_injector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <optional>

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

// What the reply's bytes became, before any copy of them.
enum class Bytes { Same, OneByteLess, OneByteMore };

bool WithOneByteLess(const Frame& longer, const Frame& shorter) {
    if (longer.size() != shorter.size() + 1) return false;
    const auto differ = std::mismatch(shorter.begin(), shorter.end(), longer.begin());
    return std::equal(differ.first, shorter.end(), differ.second + 1);
}

// One fault at a time, always on: what becomes of a reply's bytes and when its pieces go (after the end of
// the request; a copy's gap is counted from the first piece).
struct EffectCase {
    const char* name;
    FaultOptions options;
    std::vector<Sending> pieces;
    Bytes bytes;
    microseconds firstMin, firstMax;
    microseconds copyGapMin{}, copyGapMax{};
};

void PrintTo(const EffectCase& c, std::ostream* os) {
    *os << c.name;
}

// Draws from [lo, hi] reach both ends of it, so a range is drawn from and not one end of it.
struct Spread {
    microseconds lo, hi;
    microseconds least = microseconds::max(), most = microseconds::min();
    void Add(microseconds t) {
        least = std::min(least, t);
        most = std::max(most, t);
    }
    bool Covered() const { return least <= lo + (hi - lo) / 5 && most >= hi - (hi - lo) / 5; }
};

class FaultEffectTest : public ::testing::TestWithParam<EffectCase> {};

TEST_P(FaultEffectTest, ChangesTheBytesAndTheTimingAsDocumented) {
    const EffectCase& c = GetParam();
    FaultInjector faults(c.options, 31);
    Spread firsts{c.firstMin, c.firstMax}, gaps{c.copyGapMin, c.copyGapMax};
    for (int n = 0; n < 400; ++n) {
        const Frame reply = SampleReply(n);
        auto plan = faults.Plan(reply);
        std::vector<Sending> kinds;
        for (const ReplyChunk& chunk : plan)
            kinds.push_back(chunk.how);
        ASSERT_EQ(kinds, c.pieces);
        std::optional<ReplyChunk> copy;
        if (plan.back().how == Sending::Copy) {
            copy = plan.back();
            plan.pop_back();
        }
        const Frame sent = Joined(plan);
        switch (c.bytes) {
        case Bytes::Same:
            EXPECT_EQ(sent, reply);
            break;
        case Bytes::OneByteLess:
            EXPECT_TRUE(WithOneByteLess(reply, sent));
            break;
        case Bytes::OneByteMore:
            EXPECT_TRUE(WithOneByteLess(sent, reply));
            break;
        }
        const microseconds first = plan.front().after;
        EXPECT_GE(first, c.firstMin);
        EXPECT_LE(first, c.firstMax);
        firsts.Add(first);
        if (copy) {
            gaps.Add(copy->after - first);
            EXPECT_EQ(copy->bytes, sent) << "a copy carries what went out the first time";
            EXPECT_GE(copy->after - first, c.copyGapMin);
            EXPECT_LE(copy->after - first, c.copyGapMax);
            EXPECT_GE(copy->after, plan.back().after) << "a copy never overtakes the reply it repeats";
        }
    }
    EXPECT_TRUE(firsts.Covered());
    if (c.pieces.back() == Sending::Copy) {
        EXPECT_TRUE(gaps.Covered());
    }
}

constexpr microseconds Ms(double ms) {
    return microseconds(static_cast<long long>(ms * 1000));
}
const auto kOnTime = Sending::OnTime;

INSTANTIATE_TEST_SUITE_P(
    OneFault, FaultEffectTest,
    ::testing::Values(
        EffectCase{"Untouched", {}, {kOnTime}, Bytes::Same, Ms(0), Ms(0)},
        EffectCase{"Delay", {.delay = milliseconds(30)}, {kOnTime}, Bytes::Same, Ms(30), Ms(30)},
        EffectCase{
            "Repeat", {.repeat = 1.0}, {kOnTime, Sending::Copy}, Bytes::Same, Ms(0), Ms(0), Ms(150), Ms(450)},
        EffectCase{"RepeatScaled",
                   {.repeat = 1.0, .timeScale = 0.25},
                   {kOnTime, Sending::Copy},
                   Bytes::Same,
                   Ms(0),
                   Ms(0),
                   Ms(37.5),
                   Ms(112.5)},
        EffectCase{"RepeatOfASplitReply",
                   {.split = 1.0, .repeat = 1.0},
                   {kOnTime, kOnTime, Sending::Copy},
                   Bytes::Same,
                   Ms(0),
                   Ms(0),
                   Ms(150),
                   Ms(450)},
        EffectCase{"HoldBack", {.holdBack = 1.0}, {Sending::Late}, Bytes::Same, Ms(1300), Ms(1700)},
        EffectCase{"HoldBackAfterTheDelay",
                   {.delay = milliseconds(20), .holdBack = 1.0},
                   {Sending::Late},
                   Bytes::Same,
                   Ms(1320),
                   Ms(1720)},
        EffectCase{"HoldBackScaled",
                   {.holdBack = 1.0, .timeScale = 0.25},
                   {Sending::Late},
                   Bytes::Same,
                   Ms(325),
                   Ms(425)},
        EffectCase{"HeldBackAndRepeated",
                   {.repeat = 1.0, .holdBack = 1.0},
                   {Sending::Late, Sending::Copy},
                   Bytes::Same,
                   Ms(1300),
                   Ms(1700),
                   Ms(150),
                   Ms(450)},
        EffectCase{"DropByte", {.dropByte = 1.0}, {kOnTime}, Bytes::OneByteLess, Ms(0), Ms(0)},
        EffectCase{"InsertByte", {.insertByte = 1.0}, {kOnTime}, Bytes::OneByteMore, Ms(0), Ms(0)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FaultInjector, SplitPauseFollowsTheTimeScale) {
    FaultInjector faults({.split = 1.0, .timeScale = 0.25}, 4);
    const auto plan = faults.Plan(SampleReply(1));
    ASSERT_EQ(plan.size(), 2u);
    EXPECT_EQ(plan[1].after - plan[0].after, Ms(37.5));
}

int DifferingBits(const Frame& a, const Frame& b) {
    int bits = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        bits += std::popcount(static_cast<unsigned>(a[i] ^ b[i]));
    return bits;
}

class BitErrorTest : public ::testing::TestWithParam<double> {};

TEST_P(BitErrorTest, FlipsEachBitIndependentlyAtTheRate) {
    const double rate = GetParam();
    FaultInjector faults({.bitErrors = rate}, 12);
    constexpr int kReplies = 4000;
    long flipped = 0, repliesHit = 0;
    for (int n = 0; n < kReplies; ++n) {
        const Frame reply = SampleReply(n);
        const auto plan = faults.Plan(reply);
        ASSERT_EQ(plan.size(), 1u);
        ASSERT_EQ(plan[0].bytes.size(), reply.size());
        const int bits = DifferingBits(plan[0].bytes, reply);
        EXPECT_EQ(bits, faults.LastFate().bitsFlipped);
        flipped += bits;
        repliesHit += bits > 0;
    }
    const double bitsSeen = kReplies * 25.0 * 8;
    EXPECT_NEAR(flipped, rate * bitsSeen, 5 * std::sqrt(rate * (1 - rate) * bitsSeen) + 0.5);
    // Independent bits: a reply is hit with probability 1 - (1 - rate)^200, not `rate`.
    const double hitChance = 1 - std::pow(1 - rate, 200);
    EXPECT_NEAR(repliesHit, hitChance * kReplies,
                5 * std::sqrt(hitChance * (1 - hitChance) * kReplies) + 0.5);
}

INSTANTIATE_TEST_SUITE_P(Rates, BitErrorTest, ::testing::Values(0.0, 0.0005, 0.01, 1.0));

FaultOptions EveryFault() {
    return {.drop = 0.1,
            .corrupt = 0.1,
            .split = 0.1,
            .delay = milliseconds(3),
            .repeat = 0.2,
            .holdBack = 0.2,
            .dropByte = 0.1,
            .insertByte = 0.1,
            .bitErrors = 0.002,
            .timeScale = 0.5};
}

bool SamePlan(const std::vector<ReplyChunk>& a, const std::vector<ReplyChunk>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const ReplyChunk& x, const ReplyChunk& y) {
        return x.after == y.after && x.bytes == y.bytes && x.how == y.how;
    });
}

TEST(FaultInjector, EveryFaultAtOnceIsRepeatableFromTheSeed) {
    FaultInjector a(EveryFault(), 99), b(EveryFault(), 99), c(EveryFault(), 100);
    int differences = 0;
    for (int n = 0; n < 300; ++n) {
        const auto planA = a.Plan(SampleReply(n));
        EXPECT_TRUE(SamePlan(planA, b.Plan(SampleReply(n)))) << "reply " << n;
        differences += SamePlan(planA, c.Plan(SampleReply(n))) ? 0 : 1;
    }
    EXPECT_GT(differences, 0) << "another seed gives another run";
}

// Which replies come first (a read reply, an echo, an exception) depends on the master's timing; the fate of
// the n-th reply must not.
TEST(FaultInjector, AReplysFateDoesNotDependOnTheLengthOfEarlierOnes) {
    FaultInjector afterEchoes(EveryFault(), 5), afterExceptions(EveryFault(), 5);
    const Frame echo{1, 6, 0, 38, 0, 7, 0, 0};
    const Frame exception{1, 0x83, 2, 0, 0};
    for (int n = 0; n < 200; ++n) {
        afterEchoes.Plan(echo);
        afterExceptions.Plan(exception);
        EXPECT_TRUE(SamePlan(afterEchoes.Plan(SampleReply(n)), afterExceptions.Plan(SampleReply(n))))
            << "reply " << 2 * n + 1;
    }
}

} // namespace
} // namespace lq::sim
