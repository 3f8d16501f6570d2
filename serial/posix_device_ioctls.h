#pragma once

// The driver calls of the POSIX back end that a slow or wedged adapter can hold up: the line checks and the
// RS-485 mode. They are made without the back end's lock, so a call that hangs stalls only its own thread.

#include "serial/serial_backend.h"

#include <linux/serial.h>
#include <memory>

namespace lq::posix {

// Each call answers 0 or the errno of the failure.
class IDeviceIoctls {
  public:
    virtual ~IDeviceIoctls() = default;
    virtual int GetCounters(int fd, serial_icounter_struct& counts) = 0; // TIOCGICOUNT
    virtual int GetModemLines(int fd, int& lines) = 0;                   // TIOCMGET
    virtual int GetRs485(int fd, serial_rs485& settings) = 0;            // TIOCGRS485
    // TIOCSRS485; the kernel writes back the settings it adopted.
    virtual int SetRs485(int fd, serial_rs485& settings) = 0;
};

// The calls as the kernel answers them.
std::shared_ptr<IDeviceIoctls> KernelIoctls();

} // namespace lq::posix

namespace lq {

// The POSIX back end over other driver calls, for tests that need a driver the machine does not have.
std::shared_ptr<ISerialBackend> MakePosixBackend(std::shared_ptr<posix::IDeviceIoctls> ioctls);

} // namespace lq
