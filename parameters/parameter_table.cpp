#include "parameters/parameter_table.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "modbus/display_text.h"
#include "modbus/register_image.h"

namespace lq {

namespace {

// Names as the panel's captions (modbus/register_labels), translated in the same context as those; units as
// its displays show them.
constexpr std::array<ParameterInfo, 7> kParameters{{
    {4, LQ_TR_NOOP("Registers", "最大输出量限制"), "%", 10},
    {5, LQ_TR_NOOP("Registers", "最小输出量限制"), "%", 10},
    {36, "SV", "°C", 10},
    {39, "AL1", "°C", 10},
    {40, "P", "°C", 10},
    {41, "I", "s", 1},
    {42, "D", "s", 1},
}};

} // namespace

std::span<const ParameterInfo> Parameters() {
    return kParameters;
}

std::optional<ParameterInfo> ParameterOf(int reg) {
    const auto* found = std::find_if(kParameters.begin(), kParameters.end(),
                                     [reg](const ParameterInfo& p) { return p.reg == reg; });
    if (found == kParameters.end()) return std::nullopt;
    return *found;
}

double ParameterValue(int reg, std::uint16_t raw) {
    const auto info = ParameterOf(reg);
    return static_cast<double>(raw) / (info ? info->divisor : 1);
}

std::string ParameterValueText(int reg, std::uint16_t raw) {
    const auto info = ParameterOf(reg);
    std::array<char, 32> text{};
    if (info && info->divisor == 10)
        std::snprintf(text.data(), text.size(), "%.1f", ParameterValue(reg, raw));
    else
        std::snprintf(text.data(), text.size(), "%u", static_cast<unsigned>(raw));
    std::string result = text.data();
    if (info) {
        result += ' ';
        result += info->unit;
    }
    return result;
}

std::uint8_t PollBlockOf(int reg) {
    std::uint8_t block = 0;
    for (std::size_t i = 0; i < kPollBlockStarts.size(); ++i)
        if (reg >= kPollBlockStarts[i]) block = static_cast<std::uint8_t>(i);
    return block;
}

} // namespace lq
