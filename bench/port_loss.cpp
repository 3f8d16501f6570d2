// How soon a port that goes away is noticed: the far side of a pseudo-terminal closes while the port is
// open and idle, and the time until OnRequestHangup and until ClosePort has returned is taken (median and
// maximum over N losses). The panel closes the port and shows its notice in that same handler.
#include "serial/comm.h"
#include "serial/testing/pumped_notification_window.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <pty.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

} // namespace

int main(int argc, char** argv) {
    const int losses = argc > 1 ? std::atoi(argv[1]) : 50;
    std::vector<double> noticed;
    std::vector<double> closed;
    for (int i = 0; i < losses; ++i) {
        int master = -1;
        int slave = -1;
        char name[256] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
            std::perror("openpty");
            return 1;
        }
        ::close(slave);
        auto owned = std::make_unique<lq::serial_testing::PumpedNotificationWindow>();
        auto* window = owned.get();
        lq::TComm comm(std::move(owned));
        comm.CommName = name;
        bool lost = false;
        comm.OnRequestHangup = [&lost](lq::TComm*) { lost = true; };
        comm.OpenPort();
        window->PumpFor(20ms); // idle, both threads waiting
        const auto start = Clock::now();
        ::close(master);
        if (!window->PumpUntil([&lost] { return lost; }, 5s)) {
            std::fprintf(stderr, "no hang-up reported within 5 s\n");
            return 1;
        }
        noticed.push_back(Ms(Clock::now() - start));
        comm.ClosePort();
        closed.push_back(Ms(Clock::now() - start));
    }
    std::sort(noticed.begin(), noticed.end());
    std::sort(closed.begin(), closed.end());
    std::printf("port lost → OnRequestHangup: median %.2f ms, max %.2f ms; → port closed: median %.2f ms, "
                "max %.2f ms (%d losses)\n",
                noticed[noticed.size() / 2], noticed.back(), closed[closed.size() / 2], closed.back(),
                losses);
    return 0;
}
