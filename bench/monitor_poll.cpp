// The cost of the communication monitor: the real main window polling a controller for the given time, with
// "通讯监视" open and following the newest row, or without it, reporting the CPU time of the polling alone.
// run_all.sh runs both at the same time against two simulators, so both see the same machine load.
//
// Usage: monitor_poll PORT SECONDS [--monitor]
#include "bench/panel_bench.h"
#include "panel/form1.h"
#include "panel/monitor/monitor_tool.h"
#include "panel/monitor/monitor_window.h"
#include "panel/monitor/traffic_table_model.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: monitor_poll PORT SECONDS [--monitor]\n");
        return 2;
    }
    const bool monitor = argc > 3 && std::string(argv[3]) == "--monitor";
    const int seconds = std::atoi(argv[2]);
    QApplication app(argc, argv);
    lq::TForm1 form;
    form.show();
    lq::MonitorTool entry(form);
    if (monitor) entry.Open();

    if (!lq::bench::OpenAndPoll(form, argv[1], "monitor_poll")) return 1;

    // Start-up is left out: the first paint, and the fonts of the first rows' texts, loaded when the first
    // rows reach the table a refresh after the window opens. The figure is what polling costs while it runs.
    constexpr int kWarmUpS = 6;
    double start = 0;
    QTimer::singleShot(kWarmUpS * 1000, &app, [&] { start = lq::bench::CpuSeconds(); });
    // exit(), not quit(): quit() closes every window first, and the figures below read the open one.
    QTimer::singleShot((seconds + kWarmUpS) * 1000, &app, [&app] { app.exit(0); });
    app.exec();
    const double cpu = lq::bench::CpuSeconds() - start;

    std::printf("monitor %d\n", monitor ? 1 : 0);
    std::printf("cpu_polling_s %.4f\n", cpu);
    std::printf("poll_seconds %d\n", seconds);
    std::printf("accepted %llu\n",
                static_cast<unsigned long long>(form.Master().Statistics().repliesAccepted));
    std::printf("rows %d\n", entry.Window() ? entry.Window()->Traffic().rowCount() : -1);
    std::printf("held %zu\n", entry.Window() ? entry.Window()->Traffic().HeldBack() : 0);
    return 0;
}
