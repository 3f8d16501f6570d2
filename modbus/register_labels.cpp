#include "modbus/register_labels.h"

#include <algorithm>
#include <array>

#include "modbus/display_text.h"

namespace lq {

namespace {

// The captions as laid out on the panel, without their trailing "：". Those already in English are the
// technicians' own terms and stay as they are in every language.
constexpr std::array<RegisterLabel, 17> kShown{{
    {0, LQ_TR_NOOP("Registers", "输入"), 100},
    {3, "RUN/STOP", 1},
    {4, LQ_TR_NOOP("Registers", "最大输出量限制"), 10},
    {5, LQ_TR_NOOP("Registers", "最小输出量限制"), 10},
    {11, LQ_TR_NOOP("Registers", "输出量"), 10},
    {12, LQ_TR_NOOP("Registers", "温度"), 1},
    {13, LQ_TR_NOOP("Registers", "警报"), 1},
    {20, "R_C", 10},
    {21, "S_C", 10},
    {22, "T_C", 10},
    {23, "Volt", 10},
    {35, "PV", 10},
    {36, "SV", 10},
    {39, "AL1", 10},
    {40, "P", 10},
    {41, "I", 1},
    {42, "D", 1},
}};

} // namespace

std::span<const RegisterLabel> ShownRegisters() {
    return kShown;
}

std::optional<RegisterLabel> LabelOf(int reg) {
    const auto found =
        std::find_if(kShown.begin(), kShown.end(), [reg](const RegisterLabel& l) { return l.reg == reg; });
    if (found == kShown.end()) return std::nullopt;
    return *found;
}

std::string ShownCaption(std::string_view caption) {
    return Translated("Registers", std::string(caption).c_str());
}

std::string ColumnName(int reg) {
    std::string name = "r" + std::to_string(reg);
    const auto label = LabelOf(reg);
    if (!label) return name;
    name += ' ';
    name += label->label;
    if (label->divisor != 1) name += " (÷" + std::to_string(label->divisor) + ")";
    return name;
}

double InPanelUnits(int reg, std::int32_t raw) {
    const auto label = LabelOf(reg);
    return static_cast<double>(raw) / (label ? label->divisor : 1);
}

} // namespace lq
