#pragma once

#include <cstdint>
#include <string>

namespace lq::sim {

// Where the simulator plays a serial device server instead of a pseudo-terminal.
struct NetworkListen {
    bool modbusTcp = false; // a Modbus TCP gateway; else the RTU bytes pass as they are
    std::string address = "127.0.0.1";
    std::uint16_t port = 0; // 0: the system picks one, printed at start
};

} // namespace lq::sim
