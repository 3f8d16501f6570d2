#pragma once

#include "sim/unique_fd.h"

namespace lq::sim {

// Turns SIGINT, SIGTERM and SIGHUP into a readable descriptor, so the event loop sees them between two
// polls instead of in a handler, and cleans up on its normal path. Ignores SIGPIPE. Create it before any
// thread exists. Throws std::system_error on failure.
class SignalWatch {
  public:
    SignalWatch();
    int Fd() const { return fd_.Get(); }
    // Reads the pending signal; returns its number, or 0 if none was pending.
    int Take();

  private:
    UniqueFd fd_;
};

} // namespace lq::sim
