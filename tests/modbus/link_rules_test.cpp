// The rules that keep the operator from trusting a link that is not there: silence, late replies, refused
// blocks, and writes that are done only when their own echo says so. Time is a fake clock stepped by the
// tests.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "master_fakes.h"

namespace lq::testing {
namespace {

using std::chrono::milliseconds;

const std::vector<std::uint16_t> kZeros(10, 0);

// What the master told its observers, one short line per event.
class EventLog : public ILinkObserver {
  public:
    std::vector<std::string> events;
    void RequestSent(const SentRequest& r) override {
        events.push_back(r.kind == RequestKind::Read    ? "read " + std::to_string(r.block)
                         : r.kind == RequestKind::Write ? "write " + std::to_string(r.registerAddress)
                                                        : "repeat " + std::to_string(r.registerAddress));
    }
    void DeliveryJudged(const Delivery& d) override {
        static const char* const names[] = {"accepted",     "confirmed",      "write refused", "read refused",
                                            "bad crc",      "short",          "stray echo",    "unasked",
                                            "run together", "before request", "second reply"};
        events.push_back(std::string(names[static_cast<int>(d.verdict)]) +
                         (d.verdict == DeliveryVerdict::Accepted ? " " + std::to_string(d.block) : ""));
    }
    void ReadUnanswered(const NoReply& n) override {
        events.push_back("no reply " + std::to_string(n.block));
    }
    void WriteEnded(const WriteEnd& e) override {
        static const char* const names[] = {"confirmed", "refused", "unconfirmed", "superseded", "not sent"};
        events.push_back("write ended " + std::string(names[static_cast<int>(e.outcome)]) + " after " +
                         std::to_string(e.sends));
    }
};

struct ObservedRig : MasterRig {
    EventLog log;
    ObservedRig() { master.AddObserver(log); }
};

TEST(NoReply, SilenceDarkensTheLampByTheNextTick) {
    ObservedRig rig;
    rig.Tick();
    rig.Deliver(ReadReply(kZeros));
    ASSERT_TRUE(rig.master.LinkLampLit());
    rig.Tick(); // block 1 asked for; the controller has gone silent
    EXPECT_TRUE(rig.master.LinkLampLit()) << "a read just sent is not a failure yet";
    rig.Tick();
    EXPECT_FALSE(rig.master.LinkLampLit());
    EXPECT_FALSE(rig.view.lampShownLit);
    EXPECT_EQ(rig.log.events.back(), "no reply 1");
    EXPECT_EQ(rig.master.Statistics().unanswered, 1u);
}

TEST(NoReply, ASilentControllerIsAskedAgainAfterTheResponseTimeOutAndTheRotationGoesOn) {
    MasterRig rig;
    std::vector<int> sendTicks;
    for (int tick = 1; tick <= 13; ++tick) {
        const std::size_t before = rig.sender.sent.size();
        rig.Tick();
        if (rig.sender.sent.size() > before) sendTicks.push_back(tick);
    }
    // At most one read in flight: 1.2 s without an answer gives it up at the third tick after it.
    EXPECT_EQ(sendTicks, (std::vector<int>{1, 4, 7, 10, 13}));
    EXPECT_EQ(ReadStarts(rig.sender), (std::vector<int>{0, 0, 0, 10, 10}));
    EXPECT_FALSE(rig.master.LinkLampLit());
}

TEST(NoReply, ClosingThePortDarkensTheLampAndForgetsTheReadInFlight) {
    MasterRig rig;
    rig.Tick();
    rig.Deliver(ReadReply(kZeros));
    rig.Tick();
    ASSERT_TRUE(rig.master.ReadInFlight());
    rig.master.PortClosed();
    EXPECT_FALSE(rig.master.LinkLampLit());
    EXPECT_FALSE(rig.master.ReadInFlight());
}

// A controller that answers every read after `delay`, its reply carrying the registers' own numbers, polled
// every 500 ms: whatever the delay up to the response time-out, no block is ever stored under another.
class SlowController : public ::testing::TestWithParam<int> {};

TEST_P(SlowController, EveryBlockIsReadAndEveryReplyLandsInItsOwnBlock) {
    MasterRig rig;
    const milliseconds delay(GetParam());
    std::multimap<std::chrono::steady_clock::time_point, Bytes> due;
    std::size_t answered = 0;
    std::set<int> blocksStored;
    for (int tick = 0; tick < 80; ++tick) {
        const auto tickAt = rig.clock.now + MasterRig::kTick;
        while (!due.empty() && due.begin()->first <= tickAt) {
            rig.clock.now = due.begin()->first;
            rig.Deliver(due.begin()->second);
            due.erase(due.begin());
        }
        rig.clock.now = tickAt;
        rig.master.Timer1Timer();
        for (; answered < rig.sender.sent.size(); ++answered) {
            const int start = rig.sender.sent[answered][3];
            std::vector<std::uint16_t> values;
            for (int k = 0; k < 10; ++k)
                values.push_back(static_cast<std::uint16_t>(start + k));
            due.emplace(rig.clock.now + delay, ReadReply(values));
        }
        for (int reg = 0; reg <= RegisterImage::kHighestRegister; ++reg) {
            if (rig.master.Registers()[reg] == 0) continue;
            ASSERT_EQ(rig.master.Registers()[reg], reg) << "register " << reg << " at tick " << tick;
            blocksStored.insert(reg < 10 ? 0 : reg < 20 ? 1 : reg < 30 ? 2 : 3);
        }
    }
    EXPECT_EQ(blocksStored, (std::set<int>{0, 1, 2, 3}));
}

INSTANTIATE_TEST_SUITE_P(DelaysInMs, SlowController, ::testing::Values(20, 300, 480, 650, 900, 1100, 1400));

TEST(LateReply, AReplyWhoseReadWasGivenUpIsNotStored) {
    ObservedRig rig;
    for (int tick = 0; tick < 3; ++tick)
        rig.Tick(); // block 0 asked once, still in flight
    rig.Tick();     // given up; asked again
    rig.Deliver(ReadReply(std::vector<std::uint16_t>(10, 7)));
    EXPECT_EQ(rig.master.Registers()[0], 7) << "the read in flight asked for this block";
    rig.Tick();
    rig.Deliver(ReadReply(std::vector<std::uint16_t>(10, 9))); // block 1 in flight now: stored there
    // No read in flight, and one reply already stored for this request: one of the two came late.
    rig.Deliver(ReadReply(std::vector<std::uint16_t>(10, 5)));
    EXPECT_EQ(rig.master.Registers()[10], 9);
    EXPECT_EQ(rig.log.events.back(), "second reply");
}

// The controller refuses one block: the poll moves on at once. It garbles one: after three tries of it the
// poll moves on. Either way it comes back to that block on its next turn.
struct RefusedBlockCase {
    const char* what;
    Bytes answer;
    std::vector<int> starts;
};

class RefusedBlock : public ::testing::TestWithParam<RefusedBlockCase> {};

TEST_P(RefusedBlock, TheOtherBlocksKeepBeingRead) {
    MasterRig rig;
    for (int tick = 0; tick < 14; ++tick) {
        rig.Tick();
        if (!rig.master.ReadInFlight()) continue;
        rig.Deliver(rig.master.PollIndex() == 2 ? GetParam().answer : ReadReply(kZeros));
    }
    EXPECT_EQ(ReadStarts(rig.sender), GetParam().starts) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, RefusedBlock,
    ::testing::Values(RefusedBlockCase{"exception 02",
                                       ExceptionReply(0x03, 0x02),
                                       {0, 10, 20, 35, 0, 10, 20, 35, 0, 10, 20, 35, 0, 10}},
                      RefusedBlockCase{"bad CRC",
                                       [] {
                                           Bytes b = ReadReply(kZeros);
                                           b[24] ^= 1;
                                           return b;
                                       }(),
                                       {0, 10, 20, 20, 20, 35, 0, 10, 20, 20, 20, 35, 0, 10}}));

TEST(Write, OnlyItsOwnEchoConfirmsIt) {
    ObservedRig rig;
    rig.master.IssueWrite(36, 425);
    rig.Deliver(WriteEcho(36, 424));
    EXPECT_EQ(rig.master.Write().pending, 1) << "another value's echo";
    Bytes otherSlave = WriteEcho(36, 425);
    otherSlave[0] = 2;
    rig.Deliver(otherSlave);
    EXPECT_EQ(rig.master.Write().pending, 1) << "another slave's frame";
    rig.Deliver(WriteEcho(36, 425));
    EXPECT_EQ(rig.master.Write().pending, 0);
    EXPECT_EQ(rig.log.events, (std::vector<std::string>{"write 36", "stray echo", "short", "confirmed",
                                                        "write ended confirmed after 1"}));
    EXPECT_EQ(rig.master.Statistics().writesConfirmed, 1u);
}

struct RefusalCase {
    const char* what;
    Bytes answer;
    bool refused;
};

class WriteRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(WriteRefusal, EndsTheWriteOnlyForAnExceptionOfThatSlaveToAWrite) {
    const auto& c = GetParam();
    MasterRig rig;
    rig.Tick();
    rig.Deliver(ReadReply(kZeros));
    ASSERT_TRUE(rig.master.LinkLampLit());
    rig.master.IssueWrite(39, 800);
    rig.Deliver(c.answer);
    EXPECT_EQ(rig.master.Write().pending, c.refused ? 0 : 1) << c.what;
    if (c.refused) {
        EXPECT_FALSE(rig.master.LinkLampLit()) << c.what;
        EXPECT_EQ(rig.master.Statistics().writesRefused, 1u);
        EXPECT_EQ(rig.master.Statistics().exceptionsByCode[3], 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, WriteRefusal,
    ::testing::Values(RefusalCase{"exception 03 to the write", ExceptionReply(0x06, 0x03), true},
                      RefusalCase{"exception to a read", ExceptionReply(0x03, 0x03), false},
                      RefusalCase{"another slave's exception",
                                  [] {
                                      Bytes b = ExceptionReply(0x06, 0x03);
                                      b[0] = 2;
                                      return b;
                                  }(),
                                  false}));

TEST(Write, AReadReplyWhileAWriteIsPendingIsStoredAndTheWriteStaysPending) {
    MasterRig rig;
    rig.Tick(); // block 0 in flight
    rig.master.IssueWrite(3, 1);
    rig.Tick(); // no reply yet: the write goes out in place of a read
    ASSERT_EQ(WritesSent(rig.sender), 1u);
    rig.Deliver(ReadReply(std::vector<std::uint16_t>(10, 4)));
    EXPECT_EQ(rig.master.Registers()[0], 4);
    EXPECT_EQ(rig.master.Write().pending, 1);
    rig.Deliver(WriteEcho(3, 1));
    EXPECT_EQ(rig.master.Write().pending, 0);
}

TEST(Write, ACommandDuringAReadInFlightWaitsForItsReply) {
    MasterRig rig;
    rig.Tick();
    rig.master.IssueWrite(4, 800);
    EXPECT_EQ(WritesSent(rig.sender), 0u);
    EXPECT_TRUE(rig.master.Write().waiting);
    rig.Deliver(ReadReply(kZeros));
    EXPECT_EQ(rig.sender.sent.back(), WriteEcho(4, 800));
    EXPECT_EQ(rig.pause.pauses.back(), 40u);
}

TEST(Write, ACommandDuringAReadInFlightGoesAtTheNextTickWhenNoReplyComes) {
    MasterRig rig;
    rig.Tick();
    rig.master.IssueWrite(4, 800);
    rig.Tick();
    EXPECT_EQ(rig.sender.sent.back(), WriteEcho(4, 800));
    EXPECT_EQ(ReadStarts(rig.sender), std::vector<int>{0});
}

TEST(Write, AHeldBackCommandIsNotSentOnceTheBoxIsCleared) {
    MasterRig rig;
    rig.Tick();
    rig.master.IssueWrite(4, 800);
    rig.view.ticked = false;
    rig.Deliver(ReadReply(kZeros));
    rig.Tick();
    EXPECT_EQ(WritesSent(rig.sender), 0u);
}

TEST(Write, AnUnechoedWriteIsSentThreeTimesThenEndsWithTheLampDark) {
    ObservedRig rig;
    rig.Tick();
    rig.Deliver(ReadReply(kZeros));
    rig.master.IssueWrite(5, 100);
    for (int tick = 0; tick < 4; ++tick) {
        rig.Tick();
        rig.master.AgeWriteRequest();
    }
    EXPECT_EQ(WritesSent(rig.sender), 3u);
    EXPECT_EQ(rig.master.Write().pending, 0);
    EXPECT_FALSE(rig.master.LinkLampLit());
    EXPECT_EQ(rig.log.events.back(), "write ended unconfirmed after 3");
    EXPECT_EQ(rig.master.Statistics().writesUnconfirmed, 1u);
}

TEST(Write, AWriteThatExpiresDarkensALitLamp) {
    MasterRig rig;
    rig.Tick();
    rig.master.IssueWrite(5, 100);  // held back for the read's reply
    rig.Deliver(ReadReply(kZeros)); // lights the lamp; the write goes now
    ASSERT_TRUE(rig.master.LinkLampLit());
    for (int refresh = 0; refresh < 4; ++refresh)
        rig.master.AgeWriteRequest();
    EXPECT_EQ(rig.master.Write().pending, 0);
    EXPECT_FALSE(rig.master.LinkLampLit());
    EXPECT_FALSE(rig.view.lampShownLit);
}

TEST(Write, AWriteIsNotRepeatedBeforeItsEchoCanHaveCome) {
    MasterRig rig;
    rig.master.IssueWrite(5, 100);
    rig.clock.Advance(milliseconds(100));
    rig.master.Timer1Timer(); // a tick 100 ms after the send
    EXPECT_EQ(WritesSent(rig.sender), 1u);
    rig.Tick();
    EXPECT_EQ(WritesSent(rig.sender), 2u);
}

TEST(Write, ANewCommandReplacesThePendingOneAndGetsItsOwnSends) {
    ObservedRig rig;
    rig.master.IssueWrite(4, 800);
    rig.Tick(); // one repeat
    rig.master.IssueWrite(5, 100);
    rig.Tick();
    rig.Tick();
    EXPECT_EQ(WritesSent(rig.sender), 5u);
    EXPECT_EQ(rig.sender.sent.back(), WriteEcho(5, 100));
    EXPECT_EQ(rig.log.events[2], "write ended superseded after 2");
}

} // namespace
} // namespace lq::testing
