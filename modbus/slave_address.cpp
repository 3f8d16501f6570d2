#include "modbus/slave_address.h"

#include <algorithm>
#include <cctype>

#include "modbus/text_helpers.h"

namespace lq {

namespace {

std::string_view WithoutHexPrefix(std::string_view text) {
    for (const std::string_view prefix : {"0x", "0X", "$", "x", "X"})
        if (text.substr(0, prefix.size()) == prefix) return text.substr(prefix.size());
    return {};
}

} // namespace

std::optional<std::uint8_t> SlaveAddressFromText(std::string_view text) {
    const std::int32_t address = TextToInt(text);
    if (address < kLowestSlaveAddress || address > kHighestSlaveAddress) return std::nullopt;
    return static_cast<std::uint8_t>(address);
}

bool IsWholeNumberText(std::string_view text) {
    const std::string_view hexDigits = WithoutHexPrefix(text);
    const bool hex = !hexDigits.empty();
    const std::string_view digits = hex ? hexDigits : text;
    return !digits.empty() && std::all_of(digits.begin(), digits.end(), [hex](char c) {
        const auto u = static_cast<unsigned char>(c);
        return hex ? std::isxdigit(u) != 0 : std::isdigit(u) != 0;
    });
}

} // namespace lq
