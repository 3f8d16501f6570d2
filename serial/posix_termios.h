#pragma once

#include "serial/comm_types.h"

namespace lq::posix {

// Writes a control block to a terminal. Fields the driver refuses (a zero or unsupported rate, one and a
// half stop bits, a data size outside 5..8) keep their previous setting; the result is false then.
bool WriteControlBlock(int fd, const Dcb& block);
// Reads the terminal's settings into a block; fields without a termios counterpart come from shadow.
bool ReadControlBlock(int fd, const Dcb& shadow, Dcb& block);

} // namespace lq::posix
