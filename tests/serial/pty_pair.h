#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lq::test {

// A pseudo-terminal pair whose master side plays the device at the far end of the line.
class PtyPair {
  public:
    PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;
    ~PtyPair();

    const std::string& SlavePath() const { return slavePath_; }
    int SlaveFd() const { return slave_; }
    int MasterFd() const { return master_; }
    // Writes every byte to the master side, blocking while the line is full.
    void Write(const std::vector<std::uint8_t>& bytes) const;
    // The far end goes away, as when the simulator quits.
    void CloseMaster();
    // Reads from the master side until n bytes arrived or the time is up.
    std::vector<std::uint8_t> Read(std::size_t n, std::chrono::milliseconds timeout) const;

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

std::size_t OpenDescriptorCount();
std::size_t ThreadCount();
// The threads the serial component started and that still run.
std::size_t SerialThreadCount();
std::vector<std::uint8_t> Pattern(std::size_t n, std::size_t offset = 0);

} // namespace lq::test
