#pragma once

// What the panel benchmarks share: the process's CPU time, and the operator's way to a polling panel.
#include <QCheckBox>
#include <QPushButton>

#include <cstdio>
#include <sys/resource.h>

#include "panel/form1.h"

namespace lq::bench {

// User and system CPU time of this process so far, in seconds (microsecond resolution).
inline double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Types the port's name into the port box, clicks "打开串口" and ticks "通讯", as an operator would. False,
// with a line on standard error, when the port did not open.
inline bool OpenAndPoll(TForm1& form, const char* port, const char* program) {
    TForm1::LineChoice choice;
    choice.port = QString::fromLocal8Bit(port);
    form.ApplyLineSettings(choice);
    form.OpenPort();
    if (!form.PortInUse()) {
        std::fprintf(stderr, "%s: port %s did not open\n", program, port);
        return false;
    }
    form.SetPolling(true);
    return true;
}

} // namespace lq::bench
