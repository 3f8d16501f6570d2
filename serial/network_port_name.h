#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lq {

// A port reached over the network through a serial device server instead of a local device.
enum class NetworkPortKind {
    RtuOverTcp, // "tcp://": the server passes the RTU bytes, CRC and all, through a TCP connection
    ModbusTcp,  // "modbus-tcp://": a gateway that takes Modbus TCP (MBAP header, no CRC) and speaks RTU
};

struct NetworkPortName {
    NetworkPortKind kind = NetworkPortKind::RtuOverTcp;
    std::string host; // a name or an address; an IPv6 address without its brackets
    std::uint16_t port = 0;
    bool operator==(const NetworkPortName&) const = default;
};

// True when the name starts like a network port ("tcp://", "modbus-tcp://", any case), complete or not, so
// that a half-typed address is never taken for a device path.
bool LooksLikeNetworkPort(std::string_view name);

// "tcp://HOST:PORT" or "modbus-tcp://HOST:PORT"; HOST is a name, an IPv4 address or an IPv6 address in
// brackets, PORT 1..65535. None for anything else, a half-typed address included.
std::optional<NetworkPortName> ParseNetworkPortName(std::string_view name);

} // namespace lq
