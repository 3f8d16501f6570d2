#pragma once

// What every benchmark reads of its own process: CPU time and resident memory. Plain C++, for the benchmarks
// without Qt as for the panel's.
#include <fstream>
#include <string>
#include <sys/resource.h>

namespace lq::bench {

// User and system CPU time of this process so far, in seconds (microsecond resolution).
inline double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Resident memory now (not the peak), in KiB.
inline long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(256, '\n');
    }
    return 0;
}

} // namespace lq::bench
