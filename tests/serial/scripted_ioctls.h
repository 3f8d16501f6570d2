#pragma once

#include "serial/posix_device_ioctls.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace lq::test {

// Driver calls of a serial adapter the machine does not have: counters and modem lines that answer (or
// hang on request), and an RS-485 mode with a record of every setting written.
class ScriptedIoctls final : public posix::IDeviceIoctls {
  public:
    // The next counters call blocks until Release, as on a wedged USB adapter.
    void Wedge();
    void Release();
    bool WaitUntilWedged(std::chrono::milliseconds timeout);
    bool WaitForCounterCalls(int calls, std::chrono::milliseconds timeout);

    // RS-485 calls fail with this errno (0: the driver has the mode).
    int rs485Error = 0;
    // The driver accepts the settings but drops the mode, as some do.
    bool dropsRs485 = false;
    serial_rs485 rs485{};
    std::vector<serial_rs485> rs485Written;

    int GetCounters(int fd, serial_icounter_struct& counts) override;
    int GetModemLines(int fd, int& lines) override;
    int GetRs485(int fd, serial_rs485& settings) override;
    int SetRs485(int fd, serial_rs485& settings) override;

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool wedgeArmed_ = false;
    bool wedged_ = false;
    int counterCalls_ = 0;
};

} // namespace lq::test
