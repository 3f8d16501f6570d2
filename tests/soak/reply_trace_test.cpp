#include "tests/soak/reply_trace.h"

#include "modbus/register_image.h"
#include "modbus/request_frames.h"

#include <gtest/gtest.h>

namespace lq::soak {
namespace {

using namespace std::chrono_literals;
using sim::Frame;
using sim::Sending;
using Time = std::chrono::steady_clock::time_point;

constexpr Time At(std::chrono::milliseconds t) {
    return Time(t);
}

Frame ReadOf(std::uint8_t block) {
    const RequestFrame frame = BuildReadRequest(1, kPollBlockStarts[block], kPollQuantity);
    return Frame(frame.begin(), frame.end());
}

Frame ReplyOf(std::uint8_t block) {
    Frame reply(25, static_cast<std::uint8_t>(0x40 + block));
    reply[0] = 1;
    reply[1] = 3;
    reply[2] = 20;
    return reply;
}

// Two reads on the simulator's record: block 2 asked at 0 ms, block 3 at 300 ms. The block 2 reply may
// go on time (2 ms), late (330 ms) or again as a copy (330 ms); the block 3 reply on time (302 ms) or not at
// all.
// What went out of the block 3 read's own reply.
enum class Own { Nothing, Whole, Part, NeverHeard };

struct TraceCase {
    const char* name;
    Sending block2How;
    Own block3Reply;
    std::uint8_t storedAs; // the block the master stored the delivery as
    std::uint8_t deliveredBlock;
    Time readSent;
    std::optional<Time> firstByte;
    Origin expected;
    std::chrono::milliseconds staleAt = 330ms;
    std::optional<std::uint8_t> strayByte{}; // after the frame, in the same delivery
    bool block2InTwoPieces = false;          // sent split, but back to back
};

void PrintTo(const TraceCase& c, std::ostream* os) {
    *os << c.name;
}

sim::ReplyLog Log(const TraceCase& c) {
    sim::ReplyLog log;
    log.heard.push_back({1, At(0ms), ReadOf(2), ReplyOf(2)});
    if (c.block3Reply == Own::NeverHeard) {
        Frame merged = ReadOf(3);
        merged.insert(merged.end(), merged.begin(), merged.end());
        log.heard.push_back({2, At(300ms), merged, {}});
    } else {
        log.heard.push_back({2, At(300ms), ReadOf(3), ReplyOf(3)});
    }
    const Frame reply2 = ReplyOf(2);
    if (c.block2InTwoPieces) {
        log.sent.push_back({1, At(2ms), Sending::OnTime, Frame(reply2.begin(), reply2.begin() + 5)});
        log.sent.push_back({1, At(2ms), Sending::OnTime, Frame(reply2.begin() + 5, reply2.end())});
    } else if (c.block2How != Sending::Late) {
        log.sent.push_back({1, At(2ms), Sending::OnTime, reply2});
    }
    if (c.block3Reply == Own::Whole) log.sent.push_back({2, At(302ms), Sending::OnTime, ReplyOf(3)});
    if (c.block3Reply == Own::Part) log.sent.push_back({2, At(302ms), Sending::OnTime, Frame(10, 1)});
    if (c.block2How != Sending::OnTime) log.sent.push_back({1, At(c.staleAt), c.block2How, ReplyOf(2)});
    return log;
}

class TraceTest : public ::testing::TestWithParam<TraceCase> {};

TEST_P(TraceTest, TellsWhereAnAcceptedBlockCameFrom) {
    const TraceCase& c = GetParam();
    AcceptedBlock block;
    block.pollIndex = c.storedAs;
    block.bytes = ReplyOf(c.deliveredBlock);
    if (c.strayByte) block.bytes.push_back(*c.strayByte);
    block.readSent = c.readSent;
    block.firstByte = c.firstByte;
    block.complete = c.firstByte.value_or(At(400ms)) + 10ms;
    const auto traced = TraceBlocks({block}, Log(c));
    ASSERT_EQ(traced.size(), 1u);
    EXPECT_EQ(traced[0].origin, c.expected);
}

const auto kLate = Sending::Late;
const auto kCopy = Sending::Copy;
const auto kOnTime = Sending::OnTime;

INSTANTIATE_TEST_SUITE_P(
    Cases, TraceTest,
    ::testing::Values(
        TraceCase{"OnTime", kOnTime, Own::Whole, 2, 2, At(0ms), At(2ms), Origin::RightBlock},
        TraceCase{"LateButItsOwnRead", kLate, Own::Nothing, 2, 2, At(0ms), At(330ms), Origin::RightBlockLate},
        TraceCase{"HeldBackAloneInTheNextRead", kLate, Own::Nothing, 3, 2, At(300ms), At(330ms),
                  Origin::HeldBackAlone},
        TraceCase{"CopyAloneInTheNextRead", kCopy, Own::Nothing, 3, 2, At(300ms), At(330ms),
                  Origin::CopyAlone},
        TraceCase{"StaleThoughTheOwnReplyCameWhole", kLate, Own::Whole, 3, 2, At(300ms), At(330ms),
                  Origin::AfterOwnReply},
        TraceCase{"StaleAfterPartOfTheOwnReply", kLate, Own::Part, 3, 2, At(300ms), At(330ms),
                  Origin::AfterOwnReply},
        TraceCase{"StaleThatBeganBeforeTheRead", kLate, Own::Nothing, 3, 2, At(300ms), std::nullopt,
                  Origin::AnotherBlock, 299ms},
        TraceCase{"OnTimeReplyStoredAsAnotherBlock", kOnTime, Own::Nothing, 3, 2, At(0ms), At(2ms),
                  Origin::AnotherBlock},
        TraceCase{"WithAStrayGlitchByte", kOnTime, Own::Whole, 2, 2, At(0ms), At(2ms), Origin::RightBlock,
                  330ms, 0xFF},
        TraceCase{"WithAStrayOtherByte", kOnTime, Own::Whole, 2, 2, At(0ms), At(2ms), Origin::Untraced, 330ms,
                  0x01},
        TraceCase{"BytesNeverSent", kOnTime, Own::Whole, 0, 0, At(0ms), At(2ms), Origin::Untraced},
        TraceCase{"SentOnlyAfterItCame", kLate, Own::Nothing, 3, 2, At(300ms), At(320ms), Origin::Untraced},
        TraceCase{"HeldBackAloneWhenTheReadWasNeverHeard", kLate, Own::NeverHeard, 3, 2, At(300ms), At(330ms),
                  Origin::HeldBackAlone},
        TraceCase{"SplitSentBackToBack", kOnTime, Own::Whole, 2, 2, At(0ms), At(2ms), Origin::RightBlock,
                  330ms, std::nullopt, true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace lq::soak
