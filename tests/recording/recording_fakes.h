#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "modbus/link_events.h"
#include "modbus/register_image.h"
#include "recording/append_file.h"

namespace lq::testing {

// A sink that keeps its lines, and fails from line `failAt` on (never when 0), as a full disk would.
class MemorySink final : public ILineSink {
  public:
    explicit MemorySink(std::size_t failAt = 0) : failAt_(failAt) {}
    bool Append(std::string_view line) override {
        if (!error_.empty()) {
            ++appendsAfterFailure;
            return false;
        }
        if (failAt_ != 0 && lines.size() + 1 >= failAt_) {
            error_ = "No space left on device";
            return false;
        }
        lines.emplace_back(line);
        return true;
    }
    bool Failed() const override { return !error_.empty(); }
    const std::string& Error() const override { return error_; }
    std::vector<std::string> lines;
    int appendsAfterFailure = 0; // a writer should stop at the first failure

  private:
    std::size_t failAt_;
    std::string error_;
};

// Events as the master reports them, at `ms` milliseconds after a fixed moment on both clocks.
inline LinkTime At(std::int64_t ms) {
    // 2026-03-05 06:07:09 UTC.
    const std::chrono::system_clock::time_point wall{std::chrono::seconds(1772690829)};
    return {std::chrono::steady_clock::time_point{} + std::chrono::milliseconds(ms),
            wall + std::chrono::milliseconds(ms)};
}

inline Delivery Accepted(std::uint8_t block, std::int64_t ms) {
    return {{}, DeliveryVerdict::Accepted, block, 0, std::nullopt, At(ms)};
}

inline WriteEnd Written(std::uint8_t reg, std::uint16_t value, WriteOutcome outcome, std::int64_t ms) {
    return {reg, value, outcome, 0, 1, At(ms)};
}

// Stores a read reply of `block` whose ten registers are `first`, first + 1, … into the image.
inline void StoreCounting(RegisterImage& image, std::uint8_t block, std::uint16_t first) {
    std::uint8_t reply[25]{0x01, 0x03, 20};
    for (int k = 0; k < 10; ++k) {
        const auto v = static_cast<std::uint16_t>(first + k);
        reply[3 + 2 * k] = static_cast<std::uint8_t>(v >> 8);
        reply[4 + 2 * k] = static_cast<std::uint8_t>(v & 0xFF);
    }
    image.StoreBlock(block, reply);
}

} // namespace lq::testing
