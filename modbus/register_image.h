#pragma once

#include <array>
#include <cstdint>

namespace lq {

// The four blocks read in rotation, ten registers each from these starts.
constexpr std::array<std::uint8_t, 4> kPollBlockStarts{0, 10, 20, 35};
constexpr std::uint8_t kPollQuantity = 10;

// The panel's copy of the controller's holding registers 0-15, 20-24 and 35-44. Each value is the register's
// 16 bits read unsigned (0..65535) in a signed 32-bit integer, 0 until a reply for its block is accepted.
class RegisterImage {
  public:
    static constexpr int kHighestRegister = 44;

    // Registers of a block kept from a reply: all ten of blocks 0 and 3, 10-15 of block 1, 20-24 of block 2.
    static int KeptCount(std::uint8_t pollIndex);
    static bool IsKept(int reg);

    // 0 for a register that is never kept or out of range.
    std::int32_t operator[](int reg) const;

    // Stores the kept registers of the block at pollIndex from a 25-byte read reply (data at bytes 3..22).
    void StoreBlock(std::uint8_t pollIndex, const std::uint8_t* reply);

    // For tests and display previews: sets one kept register directly.
    void Set(int reg, std::uint16_t value);

  private:
    std::array<std::int32_t, kHighestRegister + 1> values_{};
};

} // namespace lq
