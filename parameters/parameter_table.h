#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lq {

// A controller setting that a parameter set holds: written by the operator's commands, and a setting rather
// than a running command (run/stop and the input level are never part of a set).
struct ParameterInfo {
    int reg;
    std::string_view name; // the panel's caption for it, in Chinese as the parameter file keeps it
    std::string_view unit;
    int divisor; // raw ÷ divisor is the value in its unit
};

// The seven parameters in register order.
std::span<const ParameterInfo> Parameters();
std::optional<ParameterInfo> ParameterOf(int reg);

// Register → raw value, in register order.
using ParameterSet = std::map<int, std::uint16_t>;

// The raw value in the parameter's unit: 300 of register 36 is 30.0.
double ParameterValue(int reg, std::uint16_t raw);
// "30.0 °C", "120 s": as the panel shows it, with its unit.
std::string ParameterValueText(int reg, std::uint16_t raw);

// The poll block whose read carries the register.
std::uint8_t PollBlockOf(int reg);

} // namespace lq
