// The real main window polling a controller, for the resource figures: it opens the port named on the command
// line through the port box and the open button, ticks "通讯", runs for the given time and reports
// - first paint: from process start to the first paint event of the main window,
// - CPU time (user + system) and peak resident memory over the whole run and over the polling alone.
//
// Usage: panel_poll PORT SECONDS [--first-paint-only]
// Process start is $LQ_BENCH_T0_NS (CLOCK_REALTIME nanoseconds taken by the caller just before exec) when
// set, else the start time in /proc/self/stat (10 ms resolution).
#include "bench/panel_bench.h"
#include "panel/form1.h"
#include "panel/form2.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace lq::bench {
namespace {

double RealtimeSeconds() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double BoottimeSeconds() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Seconds since this process was started.
double SinceProcessStart() {
    if (const char* t0 = std::getenv("LQ_BENCH_T0_NS"); t0 != nullptr && *t0 != '\0')
        return RealtimeSeconds() - static_cast<double>(std::strtoll(t0, nullptr, 10)) * 1e-9;
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The command name in parentheses may hold spaces; the fields after it are plain.
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int i = 3; i < 22; ++i)
        fields >> field;
    long long startTicks = 0;
    fields >> startTicks;
    return BoottimeSeconds() - static_cast<double>(startTicks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

struct Usage {
    double cpuSeconds = 0;
    long maxRssKiB = 0;
};

Usage UsageNow() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return {CpuSeconds(), usage.ru_maxrss};
}

class FirstPaintWatch final : public QObject {
  public:
    double seconds = -1;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && seconds < 0) seconds = SinceProcessStart();
        return QObject::eventFilter(watched, event);
    }
};

} // namespace
} // namespace lq::bench

int main(int argc, char* argv[]) {
    using namespace lq::bench;
    if (argc < 3) {
        std::fprintf(stderr, "usage: panel_poll PORT SECONDS [--first-paint-only]\n");
        return 2;
    }
    const int seconds = std::atoi(argv[2]);
    const bool firstPaintOnly = argc > 3 && std::string(argv[3]) == "--first-paint-only";

    QApplication app(argc, argv);
    FirstPaintWatch paint;
    lq::TForm1 Form1;
    lq::TForm2 Form2;
    Form1.installEventFilter(&paint);
    Form1.show();

    if (firstPaintOnly) {
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &app, [&] {
            if (paint.seconds >= 0) app.quit();
        });
        poll.start(1);
        QTimer::singleShot(10000, &app, &QApplication::quit);
        app.exec();
        std::printf("first_paint_s %.4f\n", paint.seconds);
        return paint.seconds >= 0 ? 0 : 1;
    }

    if (!OpenAndPoll(Form1, argv[1], "panel_poll")) return 1;

    // Counted on the way to the panel's own handler, which still gets every delivery.
    long deliveries = 0;
    long accepted = 0;
    auto handler = Form1.Port().OnReceiveData;
    Form1.Port().OnReceiveData = [&](lq::TComm* sender, const std::uint8_t* buffer, std::uint16_t length) {
        ++deliveries;
        handler(sender, buffer, length);
        accepted += Form1.Master().LinkLampLit() ? 1 : 0;
    };

    const Usage pollStart = UsageNow();
    QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    app.exec();
    const Usage end = UsageNow();

    std::printf("first_paint_s %.4f\n", paint.seconds);
    std::printf("cpu_total_s %.3f\n", end.cpuSeconds);
    std::printf("cpu_polling_s %.3f\n", end.cpuSeconds - pollStart.cpuSeconds);
    std::printf("poll_seconds %d\n", seconds);
    std::printf("max_rss_kib %ld\n", end.maxRssKiB);
    std::printf("deliveries %ld\n", deliveries);
    std::printf("accepted %ld\n", accepted);
    std::printf("link_lamp_lit %d\n", Form1.Master().LinkLampLit() ? 1 : 0);
    std::printf("register_24 %d\n", Form1.Master().Registers()[24]);
    return 0;
}
