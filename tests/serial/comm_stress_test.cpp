// Long runs over a pseudo-terminal: repeated open/close under traffic, and one long unbroken stream.
#include "tests/serial/comm_fixture.h"
#include "tests/serial/pty_pair.h"

#include <atomic>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace lq::test {
namespace {

// Keeps bytes flowing in both directions on the master side until stopped, whether the port is open or not.
class TrafficPeer {
  public:
    explicit TrafficPeer(int master) : master_(master) {
        fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
        thread_ = std::thread([this] { Run(); });
    }
    ~TrafficPeer() {
        stop_ = true;
        thread_.join();
    }

  private:
    void Run() {
        const auto burst = Pattern(64);
        std::uint8_t sink[4096];
        while (!stop_) {
            pollfd p{master_, POLLIN | POLLOUT, 0};
            if (::poll(&p, 1, 5) <= 0) continue;
            if (p.revents & POLLIN) [[maybe_unused]]
                auto n = ::read(master_, sink, sizeof sink);
            if (p.revents & POLLOUT) [[maybe_unused]]
                auto n = ::write(master_, burst.data(), burst.size());
        }
    }

    int master_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

TEST(SerialStress, OpenCloseCyclesUnderTrafficLeaveNothingBehind) {
    PtyPair pty;
    const std::size_t fds = OpenDescriptorCount();
    const std::size_t threads = ThreadCount();
    std::size_t received = 0;
    {
        TrafficPeer peer(pty.MasterFd());
        CommUnderTest port;
        port.comm->CommName = pty.SlavePath();
        port.comm->SetReadIntervalTimeout(2);
        const auto request = Pattern(8);
        for (int cycle = 0; cycle < 500; ++cycle) {
            ASSERT_NO_THROW(port.comm->OpenPort()) << "cycle " << cycle;
            ASSERT_TRUE(port.comm->SendData(request.data(), 8));
            const std::size_t before = port.frames.size();
            port.window->PumpUntil([&] { return port.frames.size() > before; }, 200ms);
            port.comm->ClosePort();
        }
        port.window->Pump();
        received = port.frames.size();
    }
    EXPECT_GT(received, 0u);
    EXPECT_EQ(OpenDescriptorCount(), fds);
    EXPECT_EQ(ThreadCount(), threads);
}

TEST(SerialStress, SixteenMebibytesArriveWholeAndInOrder) {
    constexpr std::size_t kTotal = 16u << 20;
    PtyPair pty;
    CommUnderTest port;
    port.comm->CommName = pty.SlavePath();
    // The class default of XON/XOFF flow control would take DC1 and DC3 out of the stream.
    port.comm->SetOutx_XonXoffFlow(false);
    port.comm->SetInx_XonXoffFlow(false);
    std::size_t received = 0;
    std::size_t misplaced = 0;
    std::size_t oversized = 0;
    port.comm->OnReceiveData = [&](TComm*, const std::uint8_t* buffer, std::uint16_t length) {
        if (length > 4096) ++oversized;
        for (std::uint16_t i = 0; i < length; ++i)
            if (buffer[i] != static_cast<std::uint8_t>((received + i) % 251)) ++misplaced;
        received += length;
    };
    port.comm->OpenPort();
    std::thread writer([&pty] {
        constexpr std::size_t kChunk = 1u << 20;
        for (std::size_t offset = 0; offset < kTotal; offset += kChunk)
            pty.Write(Pattern(kChunk, offset));
    });
    const bool complete = port.window->PumpUntil([&] { return received >= kTotal; }, 60s);
    writer.join();
    EXPECT_TRUE(complete) << received << " of " << kTotal << " bytes";
    EXPECT_EQ(received, kTotal);
    EXPECT_EQ(misplaced, 0u);
    EXPECT_EQ(oversized, 0u);
    EXPECT_EQ(port.hangups, 0);
}

} // namespace
} // namespace lq::test
