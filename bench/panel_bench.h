#pragma once

// What the panel benchmarks share: the process's CPU time and resident memory, and the operator's way to a
// polling panel.
#include <QCheckBox>
#include <QPushButton>

#include <cstdio>

#include "bench/process_usage.h"
#include "panel/form1.h"

namespace lq::bench {

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
