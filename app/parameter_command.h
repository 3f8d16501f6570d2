#pragma once

#include "app/command_line.h"

namespace lq {

// Exit statuses of --compare and --restore.
inline constexpr int kParametersEqualStatus = 0;
inline constexpr int kParametersDifferStatus = 1; // --compare: they differ; --restore --yes: a write failed
inline constexpr int kParameterErrorStatus = 2;   // a bad file, no controller, a file not written

// --backup, --compare or --restore on the line the serial options name, without a window (a
// QCoreApplication must exist). Prints to standard output, reasons to standard error, and gives the exit
// status.
int RunParameterCommand(const SerialStart& serial, const ParameterStart& start);

} // namespace lq
