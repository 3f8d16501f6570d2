#pragma once

#include <string>

namespace lq {

// Where "COMn" aliases live: $LQ_MODBUS_PORTS, else $XDG_RUNTIME_DIR/lq-modbus-rtu,
// else /tmp/lq-modbus-rtu-<uid>. An alias is a symbolic link named COMn to a device.
std::string PortAliasFolder();

// Turns a port name as the operator typed it into a device path:
// - a name containing "/" is a path, used as is;
// - "COMn" (any case, n >= 1) is the alias COMn in PortAliasFolder() if that exists, else /dev/ttyS<n-1>;
// - any other name X is /dev/X (so "ttyUSB0" works).
// An empty name, or one with a NUL in it, gives an empty path, which no open can succeed on.
std::string ResolvePortName(const std::string& commName);

// "COMn" with n >= 1 in any case; returns n, or 0 when the name is not of that form.
unsigned ComPortNumber(const std::string& commName);

} // namespace lq
