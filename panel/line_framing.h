#pragma once

#include <QString>
#include <optional>

#include "modbus/controller_search.h"
#include "serial/comm.h"

namespace lq {

// The framing the framing box names ("8_N_2", "8_E_1", "8_O_1"); none for any other text.
std::optional<Framing> FramingNamed(const QString& text);

// Parity and stop bits of a framing (a character without parity gets a second stop bit), staged on the
// port: they reach an open port at its next apply of the line settings.
void StageFraming(TComm& comm, Framing framing);

} // namespace lq
