#pragma once

#include "sim/controller_model.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace lq::sim {

using Frame = std::vector<std::uint8_t>;

enum ExceptionCode : std::uint8_t {
    kIllegalFunction = 0x01,
    kIllegalDataAddress = 0x02,
    kIllegalDataValue = 0x03,
    kSlaveDeviceFailure = 0x04,
};

inline constexpr std::uint8_t kBroadcastAddress = 0;

// Appends the Modbus CRC to a frame body, first byte first on the wire.
void AppendCrc(Frame& frame);
// True when the frame is at least 4 bytes and ends in the CRC of the bytes before it.
bool HasValidCrc(std::span<const std::uint8_t> frame);

struct SlaveConfig {
    std::uint8_t address = 1;
    bool failEveryRead = false; // reads get exception 04, writes still work
    int refusedReadStart = -1;  // reads from this register get exception 02, as if it were not there
    std::optional<std::chrono::milliseconds> refuseFor{}; // that refusal ends this long after the start
    int unechoedWriteRegister = -1;                       // writes to it are carried out and never answered
};

// The slave side of Modbus RTU for functions 3 (Read Holding Registers) and 6 (Write Single Register)
// over the model's registers. One complete request frame in, the reply frame out; an empty reply
// means the slave stays silent, as it must for a damaged frame, another slave's frame or a broadcast.
class SlaveProtocol {
  public:
    SlaveProtocol(SlaveConfig config, ControllerModel& model) : config_(config), model_(model) {}

    Frame HandleFrame(std::span<const std::uint8_t> frame);
    // From now on the refused block is answered like any other.
    void EndRefusal() { config_.refusedReadStart = -1; }

  private:
    Frame ReadHoldingRegisters(std::span<const std::uint8_t> frame);
    Frame WriteSingleRegister(std::span<const std::uint8_t> frame, bool broadcast);
    Frame Exception(std::uint8_t function, std::uint8_t code) const;

    SlaveConfig config_;
    ControllerModel& model_;
};

} // namespace lq::sim
