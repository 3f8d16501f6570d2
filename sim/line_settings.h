#pragma once

#include "modbus/line_framing.h"
#include "sim/slave_protocol.h"

#include <optional>
#include <string_view>
#include <termios.h>

namespace lq::sim {

struct LineSettings {
    int baud = 19200;
    Framing framing = Framing::N2;

    bool operator==(const LineSettings&) const = default;
};

// "8N2", "8E1", "8O1", or the panel's spelling "8_N_2", "8_E_1", "8_O_1".
std::optional<Framing> ParseLineFraming(std::string_view text);

// The master's settings as its end of a pseudo-terminal shows them. The terminal keeps the speed, CSTOPB and
// PARODD, but the kernel clears PARENB and forces 8 data bits, so two stop bits mean 8N2, PARODD means 8O1
// and neither means 8E1. A speed without a standard constant reads as 0.
LineSettings SettingsOfTerminal(const termios& terminal);

// What the controller makes of a request sent with the master's settings.
enum class Hearing {
    Clear,     // same rate and framing
    Noise,     // another rate: no frame at all, so it stays silent
    Misframed, // its rate, another framing: it answers, and the master misreads the reply
};
Hearing Hear(const LineSettings& controller, const LineSettings& master);

// The reply as a receiver with another framing reads it: a byte whose bit after the data, as sent, is not
// what the receiver expects there (its stop bit, or its own parity) is a framing or parity error and reads as
// 0; the others arrive intact.
void Misread(Frame& reply, Framing sent, Framing read);

} // namespace lq::sim
