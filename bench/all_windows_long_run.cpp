// The long run of the whole panel, for the performance table: the real main window with "通讯监视", the trend
// (recording its CSV) and "报警与事件" (writing its day files) open, every bounded store filled to its bound
// (the monitor's rows, the trend's points, the journal's entries), then 10 000 more exchanges with faults:
// resident memory before and after those. Then the CPU of the panel polling pw5-sim with every window open.
//
// Filling the stores at the panel's 500 ms cadence would take hours (the trend keeps two hours of each
// block), so the stores are filled, and the 10 000 exchanges made, at the master's own speed: the port is a
// pseudo-terminal whose far end answers nothing, and the bench ticks the master itself and hands it each
// reply as the serial component would. Every observer and window sees what a poll would give it; only the
// pauses after each request are real. Replies missing altogether are left to the CPU phase (the master waits
// 1.2 s for each), whose simulator drops and damages replies.
//
// Usage: all_windows_long_run PORT SECONDS [--no-fill] [--rounds N]   (PORT: a running pw5-sim's; --no-fill:
// the CPU phase only, with the windows open on what it reads; --rounds: that many CPU rounds of SECONDS, and
// their median). Run it offscreen.
#include "bench/panel_bench.h"
#include "modbus/crc16.h"
#include "modbus/register_image.h"
#include "panel/journal/journal_tool.h"
#include "panel/monitor/monitor_tool.h"
#include "panel/monitor/monitor_window.h"
#include "panel/monitor/traffic_table_model.h"
#include "panel/trend/trend_tool.h"
#include "panel/trend/trend_window.h"
#include "tests/serial/pty_pair.h"
#include "trend/trend_series.h"

#include <QApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace lq::bench {
namespace {

using Bytes = std::vector<std::uint8_t>;

void AppendCrc(Bytes& frame) {
    const std::uint16_t crc = CalcCRC16(frame.data(), static_cast<std::int32_t>(frame.size()));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8)); // CalcCRC16 gives the byte sent first on top
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
}

// The reply to a read of `block` with changing values, and in block 1 an alarm bit that comes and goes, so
// that the trend has lines and the journal entries.
Bytes ReadReply(std::uint8_t block, int n) {
    Bytes reply{0x01, 0x03, 2 * kPollQuantity};
    for (int r = 0; r < kPollQuantity; ++r) {
        const auto value = static_cast<std::uint16_t>(block == 1 && r == 3 ? (n / 4) % 2 << ((n / 8) % 9)
                                                                           : 300 + (n + 7 * r) % 200);
        reply.push_back(static_cast<std::uint8_t>(value >> 8));
        reply.push_back(static_cast<std::uint8_t>(value & 0xFF));
    }
    AppendCrc(reply);
    return reply;
}

// One in eight replies is damaged: a bit error, an exception, or cut short.
Bytes Damaged(Bytes reply, int n) {
    switch (n % 3) {
    case 0:
        reply[5] ^= 0x10;
        return reply;
    case 1: {
        Bytes exception{0x01, 0x83, 0x04};
        AppendCrc(exception);
        return exception;
    }
    default:
        reply.resize(9);
        return reply;
    }
}

// One poll turn of the master: the tick settles the read before and sends the next, which gets its reply.
// Every hundredth turn also writes SV and hands back its echo.
void Exchange(TForm1& form, int n) {
    ModbusMaster& master = form.Master();
    master.Timer1Timer();
    if (master.ReadInFlight()) {
        Bytes reply = ReadReply(master.PollIndex(), n);
        if (n % 8 == 5) reply = Damaged(std::move(reply), n / 8);
        master.ReceiveDelivery(reply.data(), static_cast<std::uint16_t>(reply.size()));
    }
    if (n % 100 == 50) {
        if (master.IssueWrite(36, 600 + n % 200) && !master.Write().waiting) {
            const RequestFrame echo = master.Write().frame;
            master.ReceiveDelivery(echo.data(), static_cast<std::uint16_t>(echo.size()));
        }
    }
    if (n % 20 == 0) QApplication::processEvents();
}

// The master's verdicts on what the bench handed it, to show the mix of faults the windows saw.
struct Verdicts final : ILinkObserver {
    std::array<long, static_cast<std::size_t>(DeliveryVerdict::SecondReply) + 1> count{};
    void DeliveryJudged(const Delivery& d) override { ++count.at(static_cast<std::size_t>(d.verdict)); }
    void Print() const {
        std::printf("verdicts:");
        for (long c : count)
            std::printf(" %ld", c);
        std::printf("  (accepted, write confirmed, write refused, read refused, bad CRC, short, ...)\n");
    }
};

struct Stores {
    const MonitorTool& monitor;
    const TrendTool& trend;
    const JournalTool& journal;
    mutable int trafficRows = 0;
    mutable bool trafficDropped = false;

    bool Full() const {
        const TrendSeries& series = trend.Model();
        for (std::size_t q = 0; q < TrendSeries::kQuantityCount; ++q)
            if (series.Series(q).Size() < TrendSeries::kCapacity) return false;
        return TrafficFull() && journal.Log().Entries().Size() >= journal.Log().Entries().Capacity();
    }
    // The table makes room a tenth of its bound at a time, so it is full once it has had to.
    bool TrafficFull() const {
        const int rows = monitor.Window()->Traffic().rowCount();
        trafficDropped = trafficDropped || rows < trafficRows;
        trafficRows = rows;
        return trafficDropped;
    }
    void Print(const char* when) const {
        std::printf("%s: %d traffic rows, %zu trend points per quantity, %zu journal entries\n", when,
                    monitor.Window()->Traffic().rowCount(), trend.Model().Series(0).Size(),
                    journal.Log().Entries().Size());
    }
};

// Polls pw5-sim at the panel's own cadence after a warm-up, `rounds` times for `seconds` each; the CPU share
// of one core in each round, and their median. Single rounds of two minutes differ by a tenth and more on a
// small virtual machine; the median of a few says what the panel costs rather than what its neighbours did.
double PollSimulator(TForm1& form, const char* port, int seconds, int rounds) {
    if (!OpenAndPoll(form, port, "all_windows_long_run")) return -1;
    constexpr int kWarmUpS = 6;
    QEventLoop loop;
    QTimer::singleShot(kWarmUpS * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    std::vector<double> shares;
    for (int round = 0; round < rounds; ++round) {
        const double before = CpuSeconds();
        QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        shares.push_back(100 * (CpuSeconds() - before) / seconds);
        if (rounds > 1)
            std::printf("round %d of %d: %.3f %% of one core\n", round + 1, rounds, shares.back());
    }
    std::sort(shares.begin(), shares.end());
    return shares[shares.size() / 2];
}

// Fills every store to its bound, then makes 10 000 more exchanges; prints the stores and the memory.
void FillThenGrow(TForm1& form, const Stores& stores) {
    Verdicts verdicts;
    form.Master().AddObserver(verdicts);
    int n = 0;
    while (!stores.Full()) {
        Exchange(form, n++);
        if (n % 5000 == 0) stores.Print("filling");
    }
    QApplication::processEvents();
    stores.Print("stores full");
    const long full = ResidentKiB();
    const double before = CpuSeconds();
    for (const int end = n + 10000; n < end;)
        Exchange(form, n++);
    QApplication::processEvents();
    const long after = ResidentKiB();
    const double cpu = CpuSeconds() - before;
    stores.Print("10000 exchanges later");
    verdicts.Print();
    form.Master().RemoveObserver(verdicts);
    std::printf("resident with every store full: %ld KiB\n", full);
    std::printf("after 10000 more exchanges with faults: %+ld KiB (%.0f us CPU per exchange)\n", after - full,
                1e6 * cpu / 10000);
}

int Run(const char* simPort, int seconds, bool fill, int rounds) {
    const std::string folder = "/tmp/lq-bench-all-windows-" + std::to_string(::getpid());
    std::filesystem::create_directories(folder);
    TForm1 form;
    form.show();
    JournalTool journal(form);
    journal.Start(true, QString::fromStdString(folder));
    MonitorTool monitor(form);
    monitor.Open();
    TrendTool trend(form);
    journal.Watch(trend);
    trend.Start(true, QString::fromStdString(folder + "/trend.csv"));
    if (fill) {
        const test::PtyPair silentLine; // its far end answers nothing, and throws away what it is sent
        QSocketNotifier drain(silentLine.MasterFd(), QSocketNotifier::Read);
        QObject::connect(&drain, &QSocketNotifier::activated, [&silentLine] {
            std::array<char, 4096> bytes{};
            [[maybe_unused]] const ssize_t thrownAway =
                ::read(silentLine.MasterFd(), bytes.data(), bytes.size());
        });
        if (!OpenAndPoll(form, silentLine.SlavePath().c_str(), "all_windows_long_run")) return 1;
        FillThenGrow(form, Stores{monitor, trend, journal});
        form.ClosePort();
        // The fill packed the trend's two hours of points into its last minutes: the 2 h span shows them all,
        // as after two hours of polling, where the 10 min one would show forty times what it ever holds.
        trend.Window()->SetSpanMinutes(120);
    }
    const double share = PollSimulator(form, simPort, seconds, rounds);
    std::printf("polling %s for %d s%s with every window open%s: %.3f %% of one core\n", simPort, seconds,
                rounds > 1 ? " a round, the median" : "", fill ? ", every store full" : "", share);
    form.ClosePort();
    std::filesystem::remove_all(folder);
    return share < 0 ? 1 : 0;
}

} // namespace
} // namespace lq::bench

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: all_windows_long_run PORT SECONDS [--no-fill] [--rounds N]\n");
        return 2;
    }
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // progress shows as it comes, also through a pipe
    bool fill = true;
    int rounds = 1;
    for (int i = 3; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--no-fill") fill = false;
        if (option == "--rounds" && i + 1 < argc) rounds = std::max(1, std::atoi(argv[++i]));
    }
    return lq::bench::Run(argv[1], std::max(1, std::atoi(argv[2])), fill, rounds);
}
