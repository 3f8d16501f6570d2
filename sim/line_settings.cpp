#include "sim/line_settings.h"

#include <array>
#include <bit>
#include <utility>

namespace lq::sim {

namespace {

// The bit that follows the 8 data bits of a character.
bool BitAfterData(std::uint8_t byte, Framing framing) {
    const bool oddOnes = (std::popcount(byte) & 1) != 0;
    switch (ParityOf(framing)) {
    case FramingParity::None:
        return true; // the first stop bit
    case FramingParity::Even:
        return oddOnes; // makes the number of ones even
    case FramingParity::Odd:
        return !oddOnes;
    }
    return true;
}

int BaudOfSpeed(speed_t speed) {
    static constexpr std::array<std::pair<speed_t, int>, 19> kSpeeds{{
        {B50, 50},       {B75, 75},         {B110, 110},       {B134, 134},       {B150, 150},
        {B200, 200},     {B300, 300},       {B600, 600},       {B1200, 1200},     {B1800, 1800},
        {B2400, 2400},   {B4800, 4800},     {B9600, 9600},     {B19200, 19200},   {B38400, 38400},
        {B57600, 57600}, {B115200, 115200}, {B230400, 230400}, {B460800, 460800},
    }};
    for (const auto& [constant, baud] : kSpeeds)
        if (constant == speed) return baud;
    return 0;
}

} // namespace

std::optional<Framing> ParseLineFraming(std::string_view text) {
    for (const Framing framing : kFramings)
        if (text == FramingShortName(framing) || text == FramingName(framing)) return framing;
    return std::nullopt;
}

LineSettings SettingsOfTerminal(const termios& terminal) {
    Framing framing = Framing::E1;
    if ((terminal.c_cflag & PARODD) != 0) {
        framing = Framing::O1;
    } else if ((terminal.c_cflag & CSTOPB) != 0) {
        framing = Framing::N2;
    }
    return {BaudOfSpeed(cfgetospeed(&terminal)), framing};
}

Hearing Hear(const LineSettings& controller, const LineSettings& master) {
    if (controller.baud != master.baud) return Hearing::Noise;
    return controller.framing == master.framing ? Hearing::Clear : Hearing::Misframed;
}

void Misread(Frame& reply, Framing sent, Framing read) {
    for (std::uint8_t& byte : reply)
        if (BitAfterData(byte, sent) != BitAfterData(byte, read)) byte = 0;
}

} // namespace lq::sim
