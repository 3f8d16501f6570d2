#include "master_ports.h"

#include <chrono>
#include <thread>

namespace lq {

void ThreadSleepPause::Sleep(unsigned milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace lq
