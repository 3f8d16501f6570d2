#include "tests/serial/pty_pair.h"

#include <cerrno>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace lq::test {

PtyPair::PtyPair() {
    char name[256] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
    slavePath_ = name;
    termios t{};
    tcgetattr(slave_, &t);
    cfmakeraw(&t);
    tcsetattr(slave_, TCSANOW, &t);
}

PtyPair::~PtyPair() {
    ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

void PtyPair::CloseMaster() {
    ::close(master_);
    master_ = -1;
}

void PtyPair::Write(const std::vector<std::uint8_t>& bytes) const {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno != EINTR && errno != EAGAIN) {
            throw std::runtime_error("pty write failed");
        }
    }
}

std::vector<std::uint8_t> PtyPair::Read(std::size_t n, std::chrono::milliseconds timeout) const {
    std::vector<std::uint8_t> out;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (out.size() < n) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
        std::uint8_t buffer[4096];
        const ssize_t got = ::read(master_, buffer, std::min(sizeof buffer, n - out.size()));
        if (got > 0) out.insert(out.end(), buffer, buffer + got);
    }
    return out;
}

namespace {

std::size_t CountEntries(const char* folder) {
    std::size_t count = 0;
    if (DIR* dir = opendir(folder)) {
        while (const dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.') ++count;
        closedir(dir);
    }
    return count;
}

} // namespace

std::size_t OpenDescriptorCount() {
    return CountEntries("/proc/self/fd");
}
std::size_t ThreadCount() {
    // Sanitizer runtimes start a helper thread with the first thread the program creates; make sure it
    // exists before anything is counted.
    static const bool primed = [] {
        std::thread([] {}).join();
        return true;
    }();
    (void)primed;
    return CountEntries("/proc/self/task");
}
std::size_t SerialThreadCount() {
    // Qt and the sanitizer runtimes start and end threads of their own at times of their choosing; only the
    // serial component's threads, named at their start, say whether a port left one running.
    std::size_t count = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        if (std::getline(comm, name) && name.starts_with("lq-serial")) ++count;
    }
    return count;
}

std::vector<std::uint8_t> Pattern(std::size_t n, std::size_t offset) {
    // Period 251 (prime) so that chunks of any power-of-two size shift the pattern and reordering shows.
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<std::uint8_t>((i + offset) % 251);
    return bytes;
}

} // namespace lq::test
