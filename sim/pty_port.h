#pragma once

#include "sim/unique_fd.h"

#include <string>

namespace lq::sim {

// A pseudo-terminal pair in raw mode. The simulator talks on the master side; the panel opens the slave
// device. The simulator keeps its own slave descriptor open too, so that the master side never reads a
// hang-up when the panel closes the port and opens it again. Throws std::system_error on failure.
class PtyPort {
  public:
    PtyPort();

    int MasterFd() const { return master_.Get(); }
    const std::string& DevicePath() const { return devicePath_; }

  private:
    UniqueFd master_;
    UniqueFd slave_;
    std::string devicePath_;
};

} // namespace lq::sim
