#include <gtest/gtest.h>

#include "journal/alarm_board.h"

namespace lq {
namespace {

using S = AlarmState;
using namespace std::chrono_literals;

const std::chrono::system_clock::time_point kT0{std::chrono::hours(500'000)};

struct Step {
    S from;
    bool active;
    S to;
};

TEST(AlarmState, EveryConditionInEveryState) {
    const Step steps[] = {
        {S::Normal, false, S::Normal},
        {S::Normal, true, S::ActiveUnacknowledged},
        {S::ActiveUnacknowledged, true, S::ActiveUnacknowledged},
        {S::ActiveUnacknowledged, false, S::ReturnedUnacknowledged},
        {S::ActiveAcknowledged, true, S::ActiveAcknowledged},
        {S::ActiveAcknowledged, false, S::Normal},
        {S::ReturnedUnacknowledged, false, S::ReturnedUnacknowledged},
        {S::ReturnedUnacknowledged, true, S::ActiveUnacknowledged},
    };
    for (const Step& s : steps)
        EXPECT_EQ(AfterCondition(s.from, s.active), s.to) << int(s.from) << " active " << s.active;
}

TEST(AlarmState, AcknowledgeInEveryState) {
    const std::pair<S, S> steps[] = {
        {S::Normal, S::Normal},
        {S::ActiveUnacknowledged, S::ActiveAcknowledged},
        {S::ActiveAcknowledged, S::ActiveAcknowledged},
        {S::ReturnedUnacknowledged, S::Normal},
    };
    for (const auto& [from, to] : steps)
        EXPECT_EQ(AfterAcknowledge(from), to) << int(from);
}

TEST(AlarmBoard, SeveralBitsInOneReplyChangeTogetherAtItsTime) {
    AlarmBoard board;
    const auto changes = board.Observe(0b1'0000'0110, kT0);
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0].bit, 1);
    EXPECT_EQ(changes[1].bit, 2);
    EXPECT_EQ(changes[2].bit, 8);
    for (const int bit : {1, 2, 8}) {
        EXPECT_EQ(board.At(bit).state, S::ActiveUnacknowledged);
        EXPECT_EQ(board.At(bit).since, kT0);
    }
    EXPECT_EQ(board.At(0).state, S::Normal);
    EXPECT_EQ(board.Unacknowledged(), 3);
    EXPECT_TRUE(board.Observe(0b1'0000'0110, kT0 + 2s).empty()) << "a bit still set changes nothing";
}

TEST(AlarmBoard, AcknowledgeOneThenAllLeavesOnlyWhatHasNothingToAcknowledge) {
    AlarmBoard board;
    board.Observe(0b11, kT0);
    board.Observe(0b01, kT0 + 1s); // bit 1 returned unacknowledged
    ASSERT_TRUE(board.Acknowledge(0, kT0 + 2s));
    EXPECT_EQ(board.At(0).state, S::ActiveAcknowledged);
    EXPECT_FALSE(board.Acknowledge(0, kT0 + 3s)) << "nothing left to acknowledge";
    EXPECT_EQ(board.Unacknowledged(), 1);
    const auto all = board.AcknowledgeAll(kT0 + 4s);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].bit, 1);
    EXPECT_EQ(board.At(1).state, S::Normal);
    EXPECT_EQ(board.Unacknowledged(), 0);
}

TEST(AlarmBoard, NamesAreTheLampsLabels) {
    EXPECT_EQ(AlarmName(0), "PWER");
    EXPECT_EQ(AlarmName(4), "TEMP MAX");
    EXPECT_EQ(AlarmName(8), "CUUR SHO");
    EXPECT_EQ(AlarmName(9), "");
}

} // namespace
} // namespace lq
