#pragma once

#include "modbus/line_framing.h"
#include "serial/comm.h"

namespace lq {

// Parity and stop bits of a framing, staged on the port: they reach an open port at its next apply of the
// line settings.
void StageFraming(TComm& comm, Framing framing);

} // namespace lq
