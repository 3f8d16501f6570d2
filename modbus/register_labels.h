#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lq {

// How the panel shows a register: the caption beside its display and what the raw value is divided by
// there. Kept in step with the refresh tick, which is the one that puts the values on screen.
struct RegisterLabel {
    int reg;
    std::string_view label;
    int divisor; // 1: shown as read
};

// Every register the panel puts on screen under a caption, in register order.
std::span<const RegisterLabel> ShownRegisters();
std::optional<RegisterLabel> LabelOf(int reg);

// A register's caption (this table's, or a parameter's or trend quantity's name, which are the same captions)
// in the interface's language, context "Registers", for a window or an entry a person reads.
std::string ShownCaption(std::string_view caption);

// "r36 SV (÷10)", "r12 温度", "r1": the register number, then its caption and scale where the panel has them.
// A recording's column heading, so always in Chinese: a file's columns do not change with the interface.
std::string ColumnName(int reg);

// A raw register value in the units its display shows.
double InPanelUnits(int reg, std::int32_t raw);

} // namespace lq
