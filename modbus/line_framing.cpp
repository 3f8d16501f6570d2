#include "modbus/line_framing.h"

namespace lq {

namespace {

struct FramingDescription {
    Framing framing;
    std::string_view name;
    std::string_view shortName;
    FramingParity parity;
    int stopBits;
};

constexpr std::array<FramingDescription, 3> kDescriptions{{
    {Framing::N2, "8_N_2", "8N2", FramingParity::None, 2},
    {Framing::E1, "8_E_1", "8E1", FramingParity::Even, 1},
    {Framing::O1, "8_O_1", "8O1", FramingParity::Odd, 1},
}};

const FramingDescription& Described(Framing framing) {
    for (const FramingDescription& d : kDescriptions)
        if (d.framing == framing) return d;
    return kDescriptions[0];
}

} // namespace

std::string_view FramingName(Framing framing) {
    return Described(framing).name;
}

std::string_view FramingShortName(Framing framing) {
    return Described(framing).shortName;
}

std::optional<Framing> FramingNamed(std::string_view name) {
    for (const FramingDescription& d : kDescriptions)
        if (d.name == name) return d.framing;
    return std::nullopt;
}

FramingParity ParityOf(Framing framing) {
    return Described(framing).parity;
}

int StopBitsOf(Framing framing) {
    return Described(framing).stopBits;
}

} // namespace lq
