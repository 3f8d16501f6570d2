#pragma once

#include "sim/network_listen.h"
#include "sim/sim_engine.h"

#include <optional>
#include <string>
#include <vector>

namespace lq::sim {

struct SimOptions {
    std::string port = "COM4";
    EngineConfig engine;
    std::optional<std::uint64_t> seed; // none: a fresh seed each run
    std::string dumpFile;
    std::string historyFile;
    std::string countersFile;
    std::string replyLog;
    // --tcp or --modbus-tcp: served on a TCP port instead of a pseudo-terminal.
    std::optional<NetworkListen> network;
    bool lineCheck = false; // compare the master's line settings with the controller's on each request
    bool help = false;
    bool version = false;
};

struct ParsedOptions {
    std::optional<SimOptions> options; // empty on error
    std::string error;
};

// Parses the command line (without the program name).
ParsedOptions ParseSimOptions(const std::vector<std::string>& args);

std::string SimUsage();

// Every option the parser knows, for checking that each one is documented.
std::vector<std::string> SimOptionNames();

} // namespace lq::sim
