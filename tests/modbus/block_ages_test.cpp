// When a block's values stop being current: only an accepted reply of that block renews them, and they are
// old once three poll turns (6 s at 500 ms a tick) have passed without one. Time is a fake clock.
#include <gtest/gtest.h>

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

TEST(BlockAges, OldOnlyAfterThreeTurnsWithoutAnAcceptedReplyOfTheBlock) {
    constexpr auto kOk = DeliveryVerdict::Accepted;
    const struct {
        const char* name;
        std::vector<Judged> deliveries;
        int nowMs, block, ageMs;
        bool old;
    } cases[] = {
        {"never answered, three turns", {}, 6000, 2, 6000, false},
        {"never answered, just over", {}, 6001, 2, 6001, true},
        {"answered three turns ago", {{1000, 2, kOk}}, 7000, 2, 6000, false},
        {"answered longer ago", {{1000, 2, kOk}}, 7001, 2, 6001, true},
        {"refused or damaged since",
         {{1000, 2, kOk},
          {3000, 2, DeliveryVerdict::ReadRefused},
          {5000, 2, DeliveryVerdict::BadCrc},
          {6000, 2, DeliveryVerdict::ShortOrSplit},
          {7000, 2, DeliveryVerdict::FramesRunTogether}},
         7500,
         2,
         6500,
         true},
        {"another block answered", {{1000, 2, kOk}, {6500, 1, kOk}}, 7500, 2, 6500, true},
        {"that other block", {{1000, 2, kOk}, {6500, 1, kOk}}, 7500, 1, 1000, false},
        {"answered again", {{1000, 2, kOk}, {12000, 2, kOk}}, 12000, 2, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
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
        const auto block = static_cast<std::uint8_t>(c.block);
        EXPECT_EQ(ages.Old(block), c.old);
        EXPECT_EQ(ages.Age(block), milliseconds(c.ageMs));
    }
}

} // namespace
} // namespace lq::testing
