#pragma once

// Why a connection to a serial device server did not open, in the words of the message box under
// "打开串口错误": the host and port tried, the system's reason and what to check.
#include <string>

#include "serial/comm.h"

namespace lq {

// True for a failure of a network port ("tcp://", "modbus-tcp://"), which NetworkOpenFailureReason explains.
bool IsNetworkOpenFailure(const TOpenError& error);

std::string NetworkOpenFailureReason(const TOpenError& error);

} // namespace lq
