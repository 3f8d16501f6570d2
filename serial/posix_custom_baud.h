#pragma once

#include <cstdint>

namespace lq::posix {

// Rates without a B constant go through the kernel's arbitrary-rate interface, whose header clashes with
// <termios.h>; hence a source file of their own.
// Rates above 20 Mbit/s, which no hardware runs at, are refused like any rate the driver refuses.
bool SetCustomBaud(int fd, std::uint32_t rate);
// The output rate the driver holds, 0 when it cannot tell.
std::uint32_t GetCustomBaud(int fd);

} // namespace lq::posix
