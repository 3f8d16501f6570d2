// Reads end at an inter-byte silence of ReadIntervalTimeout (100 ms): checked in effect on a
// pseudo-terminal, with a far end that pauses inside a frame.
#include "tests/serial/comm_fixture.h"
#include "tests/serial/pty_pair.h"

#include <gtest/gtest.h>
#include <thread>

namespace lq::test {
namespace {

using Clock = std::chrono::steady_clock;

struct GapCase {
    const char* name;
    std::chrono::milliseconds gap;
    std::size_t deliveries;
};
void PrintTo(const GapCase& c, std::ostream* os) {
    *os << c.name;
}

class FramingGap : public ::testing::TestWithParam<GapCase> {
  protected:
    void SetUp() override {
        port.comm->CommName = pty.SlavePath();
        port.comm->SetOutx_XonXoffFlow(false);
        port.comm->SetInx_XonXoffFlow(false);
        port.comm->OnReceiveData = [this](TComm*, const std::uint8_t* buffer, std::uint16_t length) {
            port.frames.emplace_back(buffer, buffer + length);
            deliveredAt.push_back(Clock::now());
        };
        port.comm->OpenPort();
    }

    // The far end sends a frame in two halves with a pause between them, while this thread takes the
    // deliveries as they come.
    void SendWithGap(const std::vector<std::uint8_t>& frame, std::chrono::milliseconds gap) {
        const std::vector<std::uint8_t> head(frame.begin(), frame.begin() + 3);
        const std::vector<std::uint8_t> tail(frame.begin() + 3, frame.end());
        std::thread farEnd([&] {
            pty.Write(head);
            const auto headSent = Clock::now();
            std::this_thread::sleep_for(gap); // the pause under test, not a wait for an outcome
            lastWriteStarted = Clock::now();
            pty.Write(tail);
            actualGap = lastWriteStarted - headSent;
        });
        const bool all = port.PumpUntilBytes(frame.size(), 5s);
        farEnd.join();
        ASSERT_TRUE(all);
    }

    static constexpr auto kInterval = std::chrono::milliseconds(100);
    PtyPair pty;
    CommUnderTest port;
    std::vector<Clock::time_point> deliveredAt;
    Clock::time_point lastWriteStarted;
    Clock::duration actualGap{};
};

TEST_P(FramingGap, PauseInsideAFrameSplitsItOnlyWhenLongerThanTheInterval) {
    const std::vector<std::uint8_t> frame{0x01, 0x03, 0x14, 0x00, 0x2A, 0x00, 0x2B, 0x9C, 0x1E};
    SendWithGap(frame, GetParam().gap);
    if (GetParam().gap < kInterval && actualGap >= kInterval)
        GTEST_SKIP() << "the far end was held up past the interval; the run shows nothing";

    EXPECT_EQ(port.frames.size(), GetParam().deliveries);
    EXPECT_EQ(port.Joined(), frame);
    if (GetParam().deliveries == 2) {
        EXPECT_EQ(port.frames[0].size(), 3u) << "the split is at the pause";
    }
    // A read completes only after the silence: never sooner than the interval after the last byte.
    ASSERT_FALSE(deliveredAt.empty());
    EXPECT_GE(deliveredAt.back() - lastWriteStarted, kInterval);
}

INSTANTIATE_TEST_SUITE_P(Gaps, FramingGap,
                         ::testing::Values(GapCase{"ShortPauseOneDelivery", std::chrono::milliseconds(40), 1},
                                           GapCase{"LongPauseTwoDeliveries", std::chrono::milliseconds(150),
                                                   2}));

} // namespace
} // namespace lq::test
