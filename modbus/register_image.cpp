#include "register_image.h"

namespace lq {

int RegisterImage::KeptCount(std::uint8_t pollIndex) {
    static constexpr std::array<int, 4> kept{10, 6, 5, 10};
    return pollIndex < kept.size() ? kept[pollIndex] : 0;
}

bool RegisterImage::IsKept(int reg) {
    for (std::size_t index = 0; index < kPollBlockStarts.size(); ++index) {
        const int start = kPollBlockStarts[index];
        if (reg >= start && reg < start + KeptCount(static_cast<std::uint8_t>(index))) return true;
    }
    return false;
}

std::int32_t RegisterImage::operator[](int reg) const {
    return reg >= 0 && reg <= kHighestRegister ? values_[reg] : 0;
}

void RegisterImage::StoreBlock(std::uint8_t pollIndex, const std::uint8_t* reply) {
    if (pollIndex >= kPollBlockStarts.size()) return;
    const int start = kPollBlockStarts[pollIndex];
    for (int k = 0; k < KeptCount(pollIndex); ++k)
        values_[start + k] = reply[3 + 2 * k] * 256 + reply[4 + 2 * k];
}

void RegisterImage::Set(int reg, std::uint16_t value) {
    if (IsKept(reg)) values_[reg] = value;
}

} // namespace lq
