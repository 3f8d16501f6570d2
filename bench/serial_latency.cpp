// Frame latency of the receive path and CPU use of an idle open port, over a pseudo-terminal.
//
// Latency: the time from the last byte of an 8-byte frame entering the line to its OnReceiveData call, minus
// the 100 ms inter-byte time-out that ends the read (median and 99th percentile over 200 frames).
// Idle: process CPU time (user + system) while a port sits open with no traffic for 10 s.
#include "bench/process_usage.h"
#include "serial/comm.h"
#include "serial/testing/pumped_notification_window.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <pty.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

} // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 200;
    const int idleSeconds = argc > 2 ? std::atoi(argv[2]) : 10;

    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::perror("openpty");
        return 1;
    }

    auto owned = std::make_unique<lq::serial_testing::PumpedNotificationWindow>();
    auto* window = owned.get();
    lq::TComm comm(std::move(owned));
    comm.CommName = name;
    comm.SetBaudRate(19200);
    comm.SetOutx_XonXoffFlow(false);
    comm.SetInx_XonXoffFlow(false);
    comm.SetRtsControl(lq::TRtsControl::RtsDisable);
    Clock::time_point delivered{};
    bool got = false;
    comm.OnReceiveData = [&](lq::TComm*, const std::uint8_t*, std::uint16_t) {
        delivered = Clock::now();
        got = true;
    };
    comm.OpenPort();

    const std::uint8_t frame[8] = {0x01, 0x03, 0x00, 0x0A, 0x00, 0x0A, 0xE4, 0x0F};
    const auto interval = std::chrono::milliseconds(comm.ReadIntervalTimeout());
    std::vector<double> latencies;
    for (int i = 0; i < frames; ++i) {
        got = false;
        if (write(master, frame, sizeof frame) != static_cast<ssize_t>(sizeof frame)) return 1;
        const auto lastByte = Clock::now();
        if (!window->PumpUntil([&] { return got; }, 5s)) {
            std::fprintf(stderr, "frame %d not delivered\n", i);
            return 1;
        }
        latencies.push_back(
            std::chrono::duration<double, std::milli>(delivered - lastByte - interval).count());
    }
    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double q) { return latencies[static_cast<std::size_t>(q * (latencies.size() - 1))]; };
    std::printf("frames %d: latency beyond the %lld ms interval: median %.3f ms, p99 %.3f ms, max %.3f ms\n",
                frames, static_cast<long long>(interval.count()), at(0.5), at(0.99), latencies.back());

    const double before = 1000 * lq::bench::CpuSeconds();
    window->PumpFor(std::chrono::seconds(idleSeconds));
    const double idle = 1000 * lq::bench::CpuSeconds() - before;
    std::printf("idle open port for %d s: %.3f ms CPU\n", idleSeconds, idle);

    comm.ClosePort();
    close(slave);
    close(master);
    return 0;
}
