// When a block's values stop being current: only an accepted reply of that block renews them, and they are
// old once three poll turns (6 s at 500 ms a tick) have passed without one. Time is a fake clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "master_fakes.h"
#include "modbus/block_ages.h"

namespace lq::testing {
namespace {

using std::chrono::milliseconds;

struct Judged {
    int atMs; // after the start
    std::uint8_t block;
    DeliveryVerdict verdict;
};

struct AgeCase {
    std::string name;
    std::vector<Judged> deliveries;
    int nowMs;
    std::uint8_t block;
    bool old;
    int ageMs;
};

void PrintTo(const AgeCase& c, std::ostream* os) {
    *os << c.name;
}

class BlockAgesTest : public ::testing::TestWithParam<AgeCase> {};

TEST_P(BlockAgesTest, OldOnlyAfterThreeTurnsWithoutAnAcceptedReply) {
    const AgeCase& c = GetParam();
    FakeClock clock;
    const auto start = clock.now;
    BlockAges ages(clock, milliseconds(500));
    for (const Judged& j : c.deliveries) {
        clock.now = start + milliseconds(j.atMs);
        Delivery d{};
        d.verdict = j.verdict;
        d.block = j.block;
        d.at = {clock.now, clock.WallNow()};
        ages.DeliveryJudged(d);
    }
    clock.now = start + milliseconds(c.nowMs);
    EXPECT_EQ(ages.Old(c.block), c.old);
    EXPECT_EQ(ages.Age(c.block), milliseconds(c.ageMs));
}

constexpr auto kAccepted = DeliveryVerdict::Accepted;

INSTANTIATE_TEST_SUITE_P(
    Turns, BlockAgesTest,
    // clang-format off
    ::testing::Values(
        AgeCase{"NeverAnsweredStillNewAtThreeTurns", {}, 6000, 2, false, 6000},
        AgeCase{"NeverAnsweredOldJustAfter", {}, 6001, 2, true, 6001},
        AgeCase{"AnsweredThreeTurnsAgoToTheMillisecond", {{1000, 2, kAccepted}}, 7000, 2, false, 6000},
        AgeCase{"AnsweredLongerAgo", {{1000, 2, kAccepted}}, 7001, 2, true, 6001},
        AgeCase{"RefusedOrDamagedRepliesRenewNothing",
                {{1000, 2, kAccepted},
                 {3000, 2, DeliveryVerdict::ReadRefused},
                 {5000, 2, DeliveryVerdict::BadCrc},
                 {6000, 2, DeliveryVerdict::ShortOrSplit},
                 {7000, 2, DeliveryVerdict::FramesRunTogether}},
                7500, 2, true, 6500},
        AgeCase{"OtherBlocksRenewNothing", {{1000, 2, kAccepted}, {6500, 1, kAccepted}}, 7500, 2, true, 6500},
        AgeCase{"TheOthersStayNewMeanwhile", {{1000, 2, kAccepted}, {6500, 1, kAccepted}}, 7500, 1, false, 1000},
        AgeCase{"AnsweredAgainIsNewAtOnce", {{1000, 2, kAccepted}, {12000, 2, kAccepted}}, 12000, 2, false, 0}),
    // clang-format on
    [](const ::testing::TestParamInfo<AgeCase>& info) { return info.param.name; });

} // namespace
} // namespace lq::testing
