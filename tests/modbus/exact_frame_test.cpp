#include <gtest/gtest.h>

#include "master_fakes.h"
#include "modbus/reply_shape.h"

namespace lq::testing {
namespace {

using std::chrono::milliseconds;

const std::vector<std::uint16_t> kBlock0{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
const std::vector<std::uint16_t> kBlock1{11, 12, 13, 14, 15, 16, 17, 18, 19, 20};

Bytes Join(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Damaged(Bytes frame, std::size_t at) {
    frame[at] ^= 0x04;
    return frame;
}

Bytes WithoutByte(Bytes frame, std::size_t at) {
    frame.erase(frame.begin() + static_cast<std::ptrdiff_t>(at));
    return frame;
}

struct ShapeCase {
    const char* name;
    Bytes bytes;
    ReplyShape shape;
};

class ReplyCheck : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(ReplyCheck, ADeliveryIsAReplyOnlyWhenItIsExactlyOneFrame) {
    const RequestFrame pending = BuildWriteRequest(1, 4, 0x03, 0x20);
    EXPECT_EQ(ClassifyReply(GetParam().bytes, &pending).shape, GetParam().shape) << GetParam().name;
}

const Bytes kEcho = WriteEcho(4, 800);

INSTANTIATE_TEST_SUITE_P(
    Deliveries, ReplyCheck,
    ::testing::Values(
        ShapeCase{"read reply", ReadReply(kBlock0), ReplyShape::ReadReply},
        ShapeCase{"read reply and a stray 00", Join(ReadReply(kBlock0), {0x00}), ReplyShape::ReadReply},
        ShapeCase{"read reply and a stray FF", Join(ReadReply(kBlock0), {0xFF}), ReplyShape::ReadReply},
        ShapeCase{"read reply and two stray bytes", Join(ReadReply(kBlock0), {0x00, 0x00}),
                  ReplyShape::RunTogether},
        ShapeCase{"read reply and garbage", Join(ReadReply(kBlock0), {0x5A}), ReplyShape::RunTogether},
        ShapeCase{"good reply, then a damaged one", Join(ReadReply(kBlock0), Damaged(ReadReply(kBlock1), 9)),
                  ReplyShape::RunTogether},
        ShapeCase{"damaged reply, then a good one", Join(Damaged(ReadReply(kBlock0), 9), ReadReply(kBlock1)),
                  ReplyShape::RunTogether},
        ShapeCase{"echo, then a read reply's start", Join(kEcho, {0x01, 0x03, 0x14}),
                  ReplyShape::RunTogether},
        ShapeCase{"a fragment, then a whole echo", Join({0x01, 0x03, 0x14, 0x00}, kEcho),
                  ReplyShape::RunTogether},
        ShapeCase{"echo", kEcho, ReplyShape::EchoOf},
        ShapeCase{"echo and a stray FF", Join(kEcho, {0xFF}), ReplyShape::EchoOf},
        ShapeCase{"another write's echo", WriteEcho(5, 100), ReplyShape::WriteEcho},
        ShapeCase{"exception", ExceptionReply(3, 2), ReplyShape::Exception},
        ShapeCase{"exception and a stray 00", Join(ExceptionReply(3, 2), {0x00}), ReplyShape::Exception},
        ShapeCase{"a byte lost", WithoutByte(ReadReply(kBlock0), 7), ReplyShape::Fragment},
        ShapeCase{"a bit flipped", Damaged(ReadReply(kBlock0), 12), ReplyShape::BadCrc},
        ShapeCase{"a reply of two registers", WithCrc({0x01, 0x03, 0x04, 0, 1, 0, 2}),
                  ReplyShape::OtherFrame}),
    [](const ::testing::TestParamInfo<ShapeCase>& info) { return "case" + std::to_string(info.index); });

TEST(ReplyCheck, FramesRunTogetherStoreNothingAndEndTheRead) {
    for (const Bytes& delivery : {Join(ReadReply(kBlock0), Damaged(ReadReply(kBlock1), 9)),
                                  Join(ReadReply(kBlock0), ReadReply(kBlock1))}) {
        MasterRig rig;
        rig.PollAt(1);
        rig.Deliver(delivery);
        EXPECT_EQ(rig.master.Registers()[10], 0);
        EXPECT_FALSE(rig.master.ReadInFlight());
        EXPECT_FALSE(rig.master.LinkLampLit());
        EXPECT_EQ(rig.master.Statistics().framesRunTogether, 1u);
    }
}

// A master whose deliveries say when their first byte came, on the rig's fake clock.
struct TimedRig : MasterRig {
    std::vector<Delivery> judged;
    struct Recorder : ILinkObserver {
        std::vector<Delivery>* out;
        void DeliveryJudged(const Delivery& d) override { out->push_back(d); }
    } recorder;

    TimedRig() {
        recorder.out = &judged;
        master.AddObserver(recorder);
    }
    // The bytes' first one came `offset` after (or, negative, before) the last request was sent, and the
    // delivery ends `length` later.
    void DeliverAt(const Bytes& bytes, milliseconds firstByteOffset,
                   milliseconds length = milliseconds(110)) {
        const auto first = clock.now + firstByteOffset;
        clock.Advance(std::max(firstByteOffset + length, milliseconds(0)));
        master.ReceiveDelivery(bytes.data(), static_cast<std::uint16_t>(bytes.size()), first);
    }
};

struct ArrivalCase {
    int firstByteMs; // relative to the request's send
    bool stored;
};

class ArrivalBeforeRequest : public ::testing::TestWithParam<ArrivalCase> {};

TEST_P(ArrivalBeforeRequest, OnlyADeliveryThatBeganAfterItsRequestAnswersIt) {
    TimedRig rig;
    rig.Tick();
    rig.DeliverAt(ReadReply(kBlock0), milliseconds(GetParam().firstByteMs));
    ASSERT_EQ(rig.judged.size(), 1u);
    EXPECT_EQ(rig.master.Registers()[0] == 1, GetParam().stored);
    EXPECT_EQ(rig.judged[0].verdict,
              GetParam().stored ? DeliveryVerdict::Accepted : DeliveryVerdict::BeforeRequest);
    // A late copy of something earlier leaves the read waiting for its own reply.
    EXPECT_EQ(rig.master.ReadInFlight(), !GetParam().stored);
    if (GetParam().stored) {
        EXPECT_EQ(rig.judged[0].answerTime, std::chrono::microseconds(milliseconds(GetParam().firstByteMs)));
        EXPECT_EQ(rig.judged[0].roundTrip,
                  std::chrono::microseconds(milliseconds(GetParam().firstByteMs + 110)));
    }
}

INSTANTIATE_TEST_SUITE_P(Offsets, ArrivalBeforeRequest,
                         ::testing::Values(ArrivalCase{-60, false}, ArrivalCase{-1, false},
                                           ArrivalCase{0, true}, ArrivalCase{2, true},
                                           ArrivalCase{300, true}));

TEST(ArrivalBeforeRequest, TheRestOfASplitReplyIsTimedFromTheRequestItFollowed) {
    TimedRig rig;
    rig.Tick();
    Bytes reply = ReadReply(kBlock0);
    rig.DeliverAt(Bytes(reply.begin(), reply.begin() + 12), milliseconds(5));
    rig.Tick(); // the fragment's read ends; the next block is asked
    rig.DeliverAt(Bytes(reply.begin() + 12, reply.end()), milliseconds(-100));
    ASSERT_EQ(rig.judged.size(), 2u);
    EXPECT_EQ(rig.judged[1].verdict, DeliveryVerdict::BeforeRequest);
    EXPECT_EQ(rig.judged[1].roundTrip, std::chrono::microseconds(milliseconds(115 + 500 + 10)));
    EXPECT_EQ(rig.master.Statistics().beforeRequest, 1u);
}

TEST(ArrivalBeforeRequest, AnEchoCountsFromTheWritesFirstSendNotItsRepeat) {
    for (const int firstByteMs : {-5, 5}) {
        TimedRig rig;
        ASSERT_TRUE(rig.master.IssueWrite(4, 800));
        rig.DeliverAt(WriteEcho(4, 800), milliseconds(firstByteMs));
        EXPECT_EQ(rig.master.Write().pending, firstByteMs < 0 ? 1 : 0) << firstByteMs;
    }
    TimedRig rig;
    ASSERT_TRUE(rig.master.IssueWrite(4, 800));
    rig.clock.Advance(milliseconds(300));
    rig.Tick(); // the repeat goes out
    ASSERT_EQ(rig.master.Write().sends, 2);
    rig.DeliverAt(WriteEcho(4, 800), milliseconds(-100)); // the first send's echo, late
    EXPECT_EQ(rig.master.Write().pending, 0);
    // Timed from the send it answers: 300 ms and a tick before the repeat, less the 100 ms it came before it.
    EXPECT_EQ(rig.judged.back().answerTime, std::chrono::microseconds(milliseconds(300 + 500 - 100)));
}

TEST(SecondReply, AReplyAfterTheReadsOwnReplyCameDamagedOrInsideAnEarlierDeliveryIsNotStored) {
    const Bytes late = ReadReply(kBlock0);
    const Bytes own = ReadReply(kBlock1);
    const struct {
        const char* what;
        Bytes first;
        int firstByteMs;
    } cases[] = {
        {"own reply cut short", Bytes(own.begin(), own.begin() + 20), 5},
        {"own reply ran into a stale frame", Join(ReadReply(kBlock1), own), -2},
    };
    for (const auto& c : cases) {
        TimedRig rig;
        rig.PollAt(1);
        rig.DeliverAt(c.first, milliseconds(c.firstByteMs));
        rig.DeliverAt(late, milliseconds(5));
        EXPECT_EQ(rig.master.Registers()[10], 0) << c.what;
        EXPECT_EQ(rig.judged.back().verdict, DeliveryVerdict::SecondReply) << c.what;
    }
}

// A write goes out at the tick while the read still waits. What began after the read's request and before
// the write's is the read's: its whole reply is stored, and after a part of it no later reply is.
TEST(SecondReply, WhatBeganBetweenTheReadsRequestAndALaterWritesIsTheReads) {
    const Bytes own = ReadReply(kBlock1);
    const struct {
        const char* what;
        Bytes first;
        std::uint16_t register10;
    } cases[] = {
        {"own reply whole", own, 11},
        {"own reply's first bytes", Bytes(own.begin(), own.begin() + 4), 0},
    };
    for (const auto& c : cases) {
        TimedRig rig;
        rig.PollAt(1);
        ASSERT_TRUE(rig.master.IssueWrite(4, 800));
        rig.Tick();
        ASSERT_EQ(rig.master.Write().sends, 1) << c.what;
        ASSERT_TRUE(rig.master.ReadInFlight()) << c.what;
        rig.DeliverAt(c.first, milliseconds(-100));
        rig.DeliverAt(ReadReply(kBlock0), milliseconds(5));
        EXPECT_EQ(rig.master.Registers()[10], c.register10) << c.what;
        EXPECT_EQ(rig.judged.back().verdict, DeliveryVerdict::SecondReply) << c.what;
    }
}

TEST(SecondReply, AnotherReplyAfterOneWasStoredIsNamedAndDarkensTheLamp) {
    TimedRig rig;
    rig.PollAt(1);
    rig.DeliverAt(ReadReply(kBlock0), milliseconds(20)); // a held-back reply to block 0, taken for block 1
    ASSERT_TRUE(rig.master.LinkLampLit());
    rig.DeliverAt(ReadReply(kBlock1), milliseconds(10)); // block 1's own reply
    EXPECT_EQ(rig.judged.back().verdict, DeliveryVerdict::SecondReply);
    EXPECT_FALSE(rig.master.LinkLampLit());
    EXPECT_EQ(rig.master.Statistics().secondReplies, 1u);
    ASSERT_TRUE(rig.master.IssueWrite(4, 800)); // a new request: a read reply after it is merely unasked
    rig.Deliver(ReadReply(kBlock1));
    EXPECT_EQ(rig.judged.back().verdict, DeliveryVerdict::Unasked);
}

} // namespace
} // namespace lq::testing
