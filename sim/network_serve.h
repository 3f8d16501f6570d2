#pragma once

#include "sim/network_listen.h"
#include "sim/register_recorder.h"
#include "sim/signal_watch.h"
#include "sim/sim_engine.h"

#include <string>
#include <sys/types.h>

namespace lq::sim {

struct NetworkSurroundings {
    pid_t parent;
    SignalWatch& signals;
    RegisterRecorder& recorder;
    const std::string& countersFile;
};

// Listens, prints the port name the panel opens ("tcp://127.0.0.1:4001"), and serves one connection at a
// time until a signal comes or the parent is gone; a second client is closed at once while one is served.
// The exit status.
int ServeNetwork(const NetworkListen& listen, const NetworkSurroundings& around, SimEngine& engine,
                 const SimClock& clock);

} // namespace lq::sim
