#include "sim/sim_engine.h"

#include "modbus/request_frames.h"
#include "tests/sim/fake_clock.h"

#include <gtest/gtest.h>

#include <fstream>
#include <utility>

namespace lq::sim {
namespace {

using std::chrono::microseconds;

// The panel master's own request frames.
Frame ReadRequest(std::uint8_t slave, std::uint8_t start, std::uint8_t quantity) {
    const RequestFrame frame = BuildReadRequest(slave, start, quantity);
    return Frame(frame.begin(), frame.end());
}

Frame WriteRequest(std::uint8_t reg, int value) {
    const RequestFrame frame =
        BuildWriteRequest(1, reg, static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value));
    return Frame(frame.begin(), frame.end());
}

microseconds ExpectedSilence(int baud) {
    // 3.5 characters of 11 bits, rounded up to whole microseconds, never under 1750.
    const long long us = (38'500'000LL + baud - 1) / baud;
    return microseconds(std::max(us, 1750LL));
}

TEST(InterFrameSilence, IsThreeAndAHalfCharactersWithAFloor) {
    for (int baud : {1200, 9600, 19200, 38400, 115200})
        EXPECT_EQ(InterFrameSilence(baud), ExpectedSilence(baud)) << baud;
    EXPECT_GT(InterFrameSilence(9600), InterFrameSilence(19200));
    EXPECT_EQ(InterFrameSilence(38400), InterFrameSilence(115200)) << "fast lines share the fixed floor";
}

class EngineTest : public ::testing::Test {
  protected:
    explicit EngineTest(EngineConfig config = {}) : config_(std::move(config)), engine(config_, clock) {}

    void Send(const Frame& bytes) { engine.Receive(bytes); }

    // Moves the fake clock to each deadline in turn up to `span`, collecting what the engine sends.
    Frame RunFor(std::chrono::nanoseconds span) {
        const SimTime end = clock.Now() + span;
        Frame out = engine.Service();
        while (engine.NextDeadline() <= end) {
            clock.Advance(engine.NextDeadline() - clock.Now());
            const Frame more = engine.Service();
            out.insert(out.end(), more.begin(), more.end());
        }
        clock.Advance(end - clock.Now());
        const Frame more = engine.Service();
        out.insert(out.end(), more.begin(), more.end());
        return out;
    }

    EngineConfig config_;
    FakeClock clock;
    SimEngine engine;
};

TEST_F(EngineTest, AnswersOnlyAfterTheInterFrameSilence) {
    const microseconds silence = InterFrameSilence(config_.baud);
    Send(ReadRequest(1, 0, 10));
    EXPECT_EQ(engine.NextDeadline(), clock.Now() + silence);
    clock.Advance(silence - microseconds(1));
    EXPECT_TRUE(engine.Service().empty());
    clock.Advance(microseconds(1));
    const Frame reply = engine.Service();
    ASSERT_EQ(reply.size(), 25u);
    EXPECT_TRUE(HasValidCrc(reply));
}

TEST_F(EngineTest, BytesWithinTheSilenceJoinOneFrame) {
    const Frame request = ReadRequest(1, 20, 10);
    Send(Frame(request.begin(), request.begin() + 3));
    clock.Advance(InterFrameSilence(config_.baud) / 2);
    EXPECT_TRUE(engine.Service().empty());
    Send(Frame(request.begin() + 3, request.end()));
    EXPECT_EQ(RunFor(milliseconds(10)).size(), 25u);
}

TEST_F(EngineTest, AGapInsideARequestMakesTwoBrokenFramesAndNoReply) {
    const Frame request = ReadRequest(1, 0, 10);
    Send(Frame(request.begin(), request.begin() + 4));
    clock.Advance(InterFrameSilence(config_.baud) * 2);
    Send(Frame(request.begin() + 4, request.end()));
    EXPECT_TRUE(RunFor(milliseconds(50)).empty());
    Send(request);
    EXPECT_EQ(RunFor(milliseconds(50)).size(), 25u) << "the slave is ready for the next good frame";
}

TEST_F(EngineTest, FramesSeparatedBySilenceStayApartEvenIfServicedLate) {
    // The loop may wake only after the next request has arrived; the silence between them still counts.
    Send(ReadRequest(1, 0, 10));
    clock.Advance(InterFrameSilence(config_.baud) * 3);
    Send(ReadRequest(1, 35, 10));
    clock.Advance(InterFrameSilence(config_.baud) * 3);
    const Frame replies = engine.Service();
    ASSERT_EQ(replies.size(), 50u);
    EXPECT_TRUE(HasValidCrc(std::span(replies).first(25)));
    EXPECT_TRUE(HasValidCrc(std::span(replies).subspan(25)));
}

TEST_F(EngineTest, AnOverlongFrameIsDroppedWithoutGrowingWithoutBound) {
    Frame flood(FrameAssembler::kMaxFrame * 4, 0x55);
    const Frame request = ReadRequest(1, 0, 10);
    flood.insert(flood.end(), request.begin(), request.end());
    Send(flood);
    EXPECT_TRUE(RunFor(milliseconds(10)).empty());
    Send(request);
    EXPECT_EQ(RunFor(milliseconds(10)).size(), 25u);
}

TEST_F(EngineTest, ModelStepsOnItsOwnClock) {
    const int counter = engine.Model().Get(kCounter);
    RunFor(std::chrono::seconds(2));
    EXPECT_EQ(engine.Model().Get(kCounter), counter + 2000 / ControllerModel::kStep.count());
}

TEST_F(EngineTest, WriteTakesEffectBeforeItsEchoLeaves) {
    const Frame request = WriteRequest(kSetValue, 777);
    Send(request);
    clock.Advance(InterFrameSilence(config_.baud));
    EXPECT_EQ(engine.Service(), request);
    EXPECT_EQ(engine.Model().Get(kSetValue), 777);
}

class DelayedEngineTest : public EngineTest {
  protected:
    static EngineConfig Config() {
        EngineConfig config;
        config.faults.delay = milliseconds(300);
        return config;
    }
    DelayedEngineTest() : EngineTest(Config()) {}
};

TEST_F(DelayedEngineTest, ReplyWaitsForTheDelayAndRepliesKeepTheirOrder) {
    Send(ReadRequest(1, 0, 10));
    clock.Advance(InterFrameSilence(config_.baud));
    EXPECT_TRUE(engine.Service().empty());
    Send(WriteRequest(kAlarm1, 850));
    const SimTime secondEnd = clock.Now() + InterFrameSilence(config_.baud);
    RunFor(milliseconds(299));
    EXPECT_TRUE(engine.Service().empty());
    const Frame first = RunFor(milliseconds(1));
    EXPECT_EQ(first.size(), 25u);
    clock.Advance(secondEnd + milliseconds(300) - clock.Now() - microseconds(1));
    EXPECT_TRUE(engine.Service().empty());
    clock.Advance(microseconds(1));
    EXPECT_EQ(engine.Service(), WriteRequest(kAlarm1, 850));
}

class SplitEngineTest : public EngineTest {
  protected:
    static EngineConfig Config() {
        EngineConfig config;
        config.faults.split = 1.0;
        config.seed = 77;
        return config;
    }
    SplitEngineTest() : EngineTest(Config()) {}
};

TEST_F(SplitEngineTest, SplitReplyArrivesInTwoPartsSeparatedByThePause) {
    Send(ReadRequest(1, 35, 10));
    clock.Advance(InterFrameSilence(config_.baud));
    const Frame head = engine.Service();
    ASSERT_FALSE(head.empty());
    ASSERT_LT(head.size(), 25u);
    EXPECT_TRUE(RunFor(FaultInjector::kSplitPause - microseconds(1)).empty());
    const Frame tail = RunFor(microseconds(1));
    EXPECT_EQ(head.size() + tail.size(), 25u);
    Frame whole = head;
    whole.insert(whole.end(), tail.begin(), tail.end());
    EXPECT_TRUE(HasValidCrc(whole));
}

class RepeatingEngineTest : public EngineTest {
  protected:
    static EngineConfig Config() {
        EngineConfig config;
        config.faults.repeat = 1.0;
        return config;
    }
    RepeatingEngineTest() : EngineTest(Config()) {}
};

// A repeater's copy of an earlier reply is the line's doing: the controller answers the next request on time,
// and the copy comes when it comes, between or after.
TEST_F(RepeatingEngineTest, ACopyDoesNotHoldUpTheControllersNextAnswer) {
    const microseconds silence = InterFrameSilence(config_.baud);
    Send(ReadRequest(1, 0, 10));
    const Frame first = RunFor(silence);
    ASSERT_EQ(first.size(), 25u);
    RunFor(milliseconds(20));
    Send(ReadRequest(1, 20, 10));
    const Frame second = RunFor(silence);
    ASSERT_EQ(second.size(), 25u) << "the next answer came on time and alone";
    EXPECT_NE(second, first);
    // Both copies, in the order their gaps put them.
    const Frame later = RunFor(milliseconds(460));
    Frame bothInOrder = first, bothReversed = second;
    bothInOrder.insert(bothInOrder.end(), second.begin(), second.end());
    bothReversed.insert(bothReversed.end(), first.begin(), first.end());
    EXPECT_TRUE(later == bothInOrder || later == bothReversed);
}

class RecordingLog final : public ReplyLogSink {
  public:
    void Heard(const HeardRequest& heard) override { log.heard.push_back(heard); }
    void Sent(const SentBytes& sent) override { log.sent.push_back(sent); }
    ReplyLog log;
};

TEST(EngineReplyLog, TellsWhichRequestEachPieceAnswersAndWhenItLeft) {
    EngineConfig config;
    config.faults = {.loseRequest = 0.0, .split = 1.0, .repeat = 1.0};
    FakeClock clock;
    SimEngine engine(config, clock);
    RecordingLog sink;
    engine.LogTo(sink);
    const Frame request = ReadRequest(1, 35, 10);
    const SimTime firstByte = clock.Now();
    engine.Receive(Frame(request.begin(), request.begin() + 4));
    clock.Advance(microseconds(500));
    engine.Receive(Frame(request.begin() + 4, request.end()));
    // From deadline to deadline, so each piece is serviced on its own, and a little late, as a busy process
    // is: what the log tells is when the bytes really left.
    std::vector<std::pair<SimTime, Frame>> wire;
    const SimTime end = clock.Now() + milliseconds(1000);
    while (engine.NextDeadline() <= end) {
        clock.Advance(engine.NextDeadline() - clock.Now() + microseconds(300));
        if (Frame out = engine.Service(); !out.empty()) wire.emplace_back(clock.Now(), std::move(out));
    }

    ASSERT_EQ(sink.log.heard.size(), 1u);
    const HeardRequest& heard = sink.log.heard[0];
    EXPECT_EQ(heard.number, 1u);
    EXPECT_EQ(heard.firstByte, firstByte);
    EXPECT_EQ(heard.request, request);
    ASSERT_EQ(heard.reply.size(), 25u);
    ASSERT_EQ(sink.log.sent.size(), 3u);
    ASSERT_EQ(wire.size(), 3u);
    const Sending expected[] = {Sending::OnTime, Sending::OnTime, Sending::Copy};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(sink.log.sent[i].request, 1u);
        EXPECT_EQ(sink.log.sent[i].how, expected[i]);
        EXPECT_EQ(sink.log.sent[i].at, wire[i].first);
        EXPECT_EQ(sink.log.sent[i].bytes, wire[i].second);
    }
    EXPECT_EQ(sink.log.sent[2].bytes, heard.reply);
}

TEST(EngineReplyLog, ALostRequestIsHeardWithNoReply) {
    EngineConfig config;
    config.faults.loseRequest = 1.0;
    FakeClock clock;
    SimEngine engine(config, clock);
    RecordingLog sink;
    engine.LogTo(sink);
    engine.Receive(ReadRequest(1, 0, 10));
    clock.Advance(milliseconds(10));
    engine.Service();
    ASSERT_EQ(sink.log.heard.size(), 1u);
    EXPECT_TRUE(sink.log.heard[0].reply.empty());
    EXPECT_TRUE(sink.log.sent.empty());
}

TEST(EngineReproducibility, SameSeedGivesTheSameBytesOnTheLine) {
    EngineConfig config;
    config.faults = {.drop = 0.2, .corrupt = 0.3, .split = 0.2, .delay = milliseconds(0)};
    config.seed = 2024;
    Frame lines[2];
    for (Frame& line : lines) {
        FakeClock clock;
        SimEngine engine(config, clock);
        for (int n = 0; n < 40; ++n) {
            engine.Receive(ReadRequest(1, (n % 4) * 10, 10));
            for (int tick = 0; tick < 50; ++tick) {
                clock.Advance(milliseconds(10));
                const Frame out = engine.Service();
                line.insert(line.end(), out.begin(), out.end());
            }
        }
    }
    EXPECT_FALSE(lines[0].empty());
    EXPECT_EQ(lines[0], lines[1]);
}

} // namespace
} // namespace lq::sim

namespace lq::sim {
namespace {

struct FateCase {
    const char* what;
    FaultOptions faults;
    std::uint64_t SimCounters::*counted;
};

class CountedFate : public ::testing::TestWithParam<FateCase> {};

TEST_P(CountedFate, EveryAnswerIsCountedByKindAndByWhatTheLineDidToIt) {
    EngineConfig config;
    config.faults = GetParam().faults;
    FakeClock clock;
    SimEngine engine(config, clock);
    engine.Receive(ReadRequest(1, 0, 10));
    clock.Advance(milliseconds(10));
    engine.Service();
    engine.Receive(WriteRequest(38, 7));
    clock.Advance(milliseconds(10));
    engine.Service();
    const SimCounters& c = engine.Counters();
    EXPECT_EQ(c.requests, 2u);
    EXPECT_EQ(c.readReplies, 1u);
    EXPECT_EQ(c.echoes, 1u);
    EXPECT_EQ(c.*GetParam().counted, 2u) << GetParam().what;
    EXPECT_EQ(c.sentWhole + c.dropped + c.corrupted + c.split + c.repeated + c.heldBack + c.bytesDropped +
                  c.bytesInserted + c.bitErrors,
              2u)
        << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CountedFate,
    ::testing::Values(FateCase{"none", {}, &SimCounters::sentWhole},
                      FateCase{"drop", {.drop = 1.0}, &SimCounters::dropped},
                      FateCase{"corrupt", {.corrupt = 1.0}, &SimCounters::corrupted},
                      FateCase{"split", {.split = 1.0}, &SimCounters::split},
                      FateCase{"repeat", {.repeat = 1.0}, &SimCounters::repeated},
                      FateCase{"hold back", {.holdBack = 1.0}, &SimCounters::heldBack},
                      FateCase{"drop byte", {.dropByte = 1.0}, &SimCounters::bytesDropped},
                      FateCase{"insert byte", {.insertByte = 1.0}, &SimCounters::bytesInserted},
                      FateCase{"bit errors", {.bitErrors = 1.0}, &SimCounters::bitErrors}));

TEST(LostRequest, IsNeitherCarriedOutNorAnswered) {
    EngineConfig config;
    config.faults.loseRequest = 1.0;
    FakeClock clock;
    SimEngine engine(config, clock);
    const std::uint16_t before = engine.Model().Get(38);
    engine.Receive(WriteRequest(38, before + 1));
    clock.Advance(milliseconds(10));
    EXPECT_TRUE(engine.Service().empty());
    EXPECT_EQ(engine.Model().Get(38), before);
    EXPECT_EQ(engine.Counters().requestsLost, 1u);
}

TEST(RefusedBlock, OnlyReadsFromThatRegisterGetExceptionTwo) {
    EngineConfig config;
    config.slave.refusedReadStart = 20;
    FakeClock clock;
    SimEngine engine(config, clock);
    for (std::uint8_t start : {0, 10, 20, 35}) {
        engine.Receive(ReadRequest(1, start, 10));
        clock.Advance(milliseconds(10));
        const Frame reply = engine.Service();
        ASSERT_TRUE(HasValidCrc(reply)) << int(start);
        if (start == 20) {
            EXPECT_EQ(reply, (Frame{0x01, 0x83, 0x02, 0xC0, 0xF1}));
        } else {
            EXPECT_EQ(reply.size(), 25u) << int(start);
        }
    }
    EXPECT_EQ(engine.Counters().exceptions, 1u);
}

TEST(SimCountersFile, ReadsBackWhatWasWrittenAndRefusesAnythingElse) {
    const std::string path = ::testing::TempDir() + "/counters";
    SimCounters written;
    written.requests = 12;
    written.corrupted = 3;
    written.split = 1;
    written.heldBack = 4;
    written.bitErrors = 5;
    ASSERT_TRUE(WriteSimCounters(path, written));
    EXPECT_EQ(ReadSimCounters(path), written);
    std::ofstream(path) << "requests 12\n";
    EXPECT_FALSE(ReadSimCounters(path));
    EXPECT_FALSE(ReadSimCounters(path + ".missing"));
}

} // namespace
} // namespace lq::sim
