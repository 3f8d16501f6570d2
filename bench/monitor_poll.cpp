// The cost of the communication monitor: the real main window polling a controller for the given time, with
// "通讯监视" open and following the newest row, or without it, reporting the CPU time of the polling alone.
// run_all.sh runs both at the same time against two simulators, so both see the same machine load.
//
// Usage: monitor_poll PORT SECONDS [--monitor]
#include "panel/diagnostics_entry.h"
#include "panel/diagnostics_window.h"
#include "panel/form1.h"
#include "panel/traffic_table_model.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>

namespace {

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: monitor_poll PORT SECONDS [--monitor]\n");
        return 2;
    }
    const bool monitor = argc > 3 && std::string(argv[3]) == "--monitor";
    const int seconds = std::atoi(argv[2]);
    QApplication app(argc, argv);
    lq::TForm1 form;
    form.show();
    lq::DiagnosticsEntry entry(form);
    if (monitor) entry.Open();

    form.ComboBox4->setEditText(QString::fromLocal8Bit(argv[1]));
    form.BitBtn7->click();
    if (!form.Comm1->Connected()) {
        std::fprintf(stderr, "monitor_poll: port %s did not open\n", argv[1]);
        return 1;
    }
    form.CheckBox2->click();

    // Start-up is left out: the first paint, and the fonts of the first rows' texts, loaded when the first
    // rows reach the table a refresh after the window opens. The figure is what polling costs while it runs.
    constexpr int kWarmUpS = 6;
    double start = 0;
    QTimer::singleShot(kWarmUpS * 1000, &app, [&] { start = CpuSeconds(); });
    // exit(), not quit(): quit() closes every window first, and the figures below read the open one.
    QTimer::singleShot((seconds + kWarmUpS) * 1000, &app, [&app] { app.exit(0); });
    app.exec();
    const double cpu = CpuSeconds() - start;

    std::printf("monitor %d\n", monitor ? 1 : 0);
    std::printf("cpu_polling_s %.4f\n", cpu);
    std::printf("poll_seconds %d\n", seconds);
    std::printf("accepted %llu\n", static_cast<unsigned long long>(form.Master().Statistics().repliesAccepted));
    std::printf("rows %d\n", entry.Window() ? entry.Window()->Traffic().rowCount() : -1);
    std::printf("held %zu\n", entry.Window() ? entry.Window()->Traffic().HeldBack() : 0);
    return 0;
}
