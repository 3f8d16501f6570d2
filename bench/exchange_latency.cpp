// End-to-end reply latency of the master against the simulator: from handing a read request to the serial
// component to the master accepting the reply, minus the read interval time-out that ends every read
// (100 ms, as on the panel). What remains is the request's and reply's way through the threads, the
// simulator's end-of-frame silence and the scheduling (median, 99th percentile, max).
//
// Usage: exchange_latency [EXCHANGES]
#include "modbus/master_ports.h"
#include "modbus/modbus_master.h"
#include "serial/comm.h"
#include "serial/testing/pumped_notification_window.h"
#include "tests/sim/sim_process.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace lq::bench {
namespace {

using Clock = std::chrono::steady_clock;

class LampView final : public IMasterView {
  public:
    bool accepted = false;
    std::string AddressText() const override { return "1"; }
    bool CommunicationTicked() const override { return true; }
    void ShowLinkLamp(bool lit) override { accepted = accepted || lit; }
    void SetMemo12Text(const std::string&) override {}
};

class TimedSender final : public IFrameSender {
  public:
    explicit TimedSender(TComm& comm) : comm_(comm) {}
    Clock::time_point sentAt{};
    bool SendData(const std::uint8_t* data, std::uint16_t count) override {
        sentAt = Clock::now();
        return comm_.SendData(data, count);
    }

  private:
    TComm& comm_;
};

} // namespace
} // namespace lq::bench

int main(int argc, char** argv) {
    using namespace lq;
    using namespace lq::bench;
    const int exchanges = argc > 1 ? std::atoi(argv[1]) : 100;

    sim::SimProcess simulator({"--seed", "1"});
    auto owned = std::make_unique<serial_testing::PumpedNotificationWindow>();
    auto& window = *owned;
    TComm comm(std::move(owned));
    comm.CommName = simulator.DevicePath();
    comm.SetBaudRate(19200);
    comm.SetOutx_XonXoffFlow(false);
    comm.SetInx_XonXoffFlow(false);
    comm.SetRtsControl(TRtsControl::RtsDisable);

    LampView view;
    TimedSender sender(comm);
    ThreadSleepPause pause;
    ModbusMaster master(sender, pause, view);
    Clock::time_point acceptedAt{};
    comm.OnReceiveData = [&](TComm*, const std::uint8_t* buffer, std::uint16_t length) {
        master.ReceiveDelivery(buffer, length, comm.ReceiveFirstByteAt());
        if (view.accepted) acceptedAt = Clock::now();
    };
    comm.OpenPort();

    const auto interval = std::chrono::milliseconds(comm.ReadIntervalTimeout());
    std::vector<double> beyond;
    int lost = 0;
    for (int i = 0; i < exchanges; ++i) {
        view.accepted = false;
        master.Timer1Timer();
        if (!window.PumpUntil([&] { return view.accepted; }, std::chrono::seconds(2))) {
            ++lost;
            continue;
        }
        beyond.push_back(
            std::chrono::duration<double, std::milli>(acceptedAt - sender.sentAt - interval).count());
    }
    comm.ClosePort();
    if (beyond.empty()) {
        std::fprintf(stderr, "exchange_latency: no reply accepted\n");
        return 1;
    }
    std::sort(beyond.begin(), beyond.end());
    const auto at = [&](double q) { return beyond[static_cast<std::size_t>(q * (beyond.size() - 1))]; };
    std::printf("exchanges %d lost %d interval_ms %lld beyond_median_ms %.3f beyond_p99_ms %.3f "
                "beyond_max_ms %.3f\n",
                exchanges, lost, static_cast<long long>(interval.count()), at(0.5), at(0.99), beyond.back());
    return 0;
}
