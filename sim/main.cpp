#include "serial/port_names.h"
#include "sim/network_serve.h"
#include "sim/port_alias.h"
#include "sim/pty_port.h"
#include "sim/register_recorder.h"
#include "sim/reply_log.h"
#include "sim/signal_watch.h"
#include "sim/sim_counters.h"
#include "sim/sim_engine.h"
#include "sim/sim_options.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <exception>
#include <iostream>
#include <memory>
#include <poll.h>
#include <random>
#include <termios.h>
#include <unistd.h>

namespace lq::sim {

namespace {

// The loop wakes at least this often to notice that its parent has gone. Parent-death signals are not
// used: they fire when the parent's spawning thread ends, which a test harness may well do early.
constexpr milliseconds kParentCheck{100};

void ReadAvailable(int fd, SimEngine& engine) {
    std::uint8_t buffer[512];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            engine.Receive(std::span(buffer, static_cast<std::size_t>(n)));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        return;
    }
}

// A reader that stopped reading must not stall the simulator: what does not fit is lost, as on a line.
void WriteAll(int fd, const Frame& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            return;
        }
    }
}

// A program that opens the terminal and turns echo on would send each reply straight back here as if
// it were a request; a real serial line never echoes, so the cause is worth telling once.
void WarnIfEchoing(int masterFd, bool& warned) {
    termios tio{};
    if (warned || tcgetattr(masterFd, &tio) != 0 || (tio.c_lflag & ECHO) == 0) return;
    std::cerr << "pw5-sim: warning: the terminal echoes; set the port to raw mode" << std::endl;
    warned = true;
}

timespec UntilDeadline(SimTime deadline, SimTime now) {
    const auto wait = std::clamp(std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - now),
                                 std::chrono::nanoseconds(0), std::chrono::nanoseconds(kParentCheck));
    return timespec{static_cast<time_t>(wait.count() / 1'000'000'000),
                    static_cast<long>(wait.count() % 1'000'000'000)};
}

// What the loop watches and writes besides the engine.
struct Surroundings {
    pid_t parent;
    SignalWatch& signals;
    const PtyPort& pty;
    RegisterRecorder& recorder;
};

// Reads requests and writes replies until a signal comes or the parent is gone; the exit status.
int Serve(const SimOptions& options, const Surroundings& around, SimEngine& engine, const SimClock& clock) {
    const auto& [parent, signals, pty, recorder] = around;
    bool warnedEcho = false;
    for (;;) {
        pollfd fds[2] = {{pty.MasterFd(), POLLIN, 0}, {signals.Fd(), POLLIN, 0}};
        const timespec timeout = UntilDeadline(engine.NextDeadline(), clock.Now());
        if (ppoll(fds, 2, &timeout, nullptr) < 0 && errno != EINTR) {
            std::perror("pw5-sim: ppoll");
            return 1;
        }
        if (fds[1].revents & POLLIN) {
            if (const int signal = signals.Take(); signal != 0) return 0;
        }
        if (getppid() != parent) return 0;
        if (fds[0].revents & POLLIN) {
            ReadAvailable(pty.MasterFd(), engine);
            WarnIfEchoing(pty.MasterFd(), warnedEcho);
        }
        const std::uint64_t heardBefore = engine.Counters().requests;
        const Frame out = engine.Service();
        // Recorded before the reply leaves, so a master holding the echo of a write finds it on file.
        recorder.Record(engine.Model().Registers());
        if (!options.countersFile.empty() && engine.Counters().requests != heardBefore)
            WriteSimCounters(options.countersFile, engine.Counters());
        if (!out.empty()) WriteAll(pty.MasterFd(), out);
    }
}

// On a pseudo-terminal behind a COM alias, the master's line settings readable through it.
int ServePty(const SimOptions& options, const NetworkSurroundings& around, std::uint64_t seed,
             SimEngine& engine, const SimClock& clock) {
    PtyPort pty;
    // The panel looks a COM name up as "COM<n>", so "com04" must be filed under that spelling.
    const unsigned comNumber = ComPortNumber(options.port);
    const std::string aliasName = comNumber >= 1 ? "COM" + std::to_string(comNumber) : options.port;
    PortAlias alias(PortAliasFolder(), aliasName, pty.DevicePath());
    if (options.lineCheck) {
        // The master's settings, as the terminal keeps them (read through our side of it).
        engine.CheckMasterLine([fd = pty.MasterFd()]() -> std::optional<LineSettings> {
            termios terminal{};
            if (tcgetattr(fd, &terminal) != 0) return std::nullopt;
            return SettingsOfTerminal(terminal);
        });
    }
    std::cout << pty.DevicePath() << std::endl;
    std::cerr << "pw5-sim: slave " << int(options.engine.slave.address) << " on " << alias.Path() << " -> "
              << pty.DevicePath() << ", seed " << seed << std::endl;
    return Serve(options, {around.parent, around.signals, pty, around.recorder}, engine, clock);
}

int Run(const SimOptions& options) {
    const pid_t parent = getppid();
    SignalWatch signals;
    EngineConfig config = options.engine;
    config.seed = options.seed ? *options.seed : std::random_device{}();
    SteadyClock clock;
    SimEngine engine(config, clock);
    std::unique_ptr<ReplyLogFile> replyLog;
    if (!options.replyLog.empty()) {
        replyLog = std::make_unique<ReplyLogFile>(options.replyLog);
        engine.LogTo(*replyLog);
    }
    RegisterRecorder recorder(options.dumpFile, options.historyFile);
    recorder.Record(engine.Model().Registers());
    const NetworkSurroundings around{parent, signals, recorder, options.countersFile};
    if (options.network) {
        std::cerr << "pw5-sim: slave " << int(config.slave.address) << ", seed " << config.seed << std::endl;
        return ServeNetwork(*options.network, around, engine, clock);
    }
    return ServePty(options, around, config.seed, engine, clock);
}

} // namespace

} // namespace lq::sim

int main(int argc, char** argv) {
    using namespace lq::sim;
    const ParsedOptions parsed = ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) {
        std::cerr << "pw5-sim: " << parsed.error << '\n' << SimUsage();
        return 2;
    }
    if (parsed.options->help) {
        std::cout << SimUsage();
        return 0;
    }
    if (parsed.options->version) {
        std::cout << "pw5-sim " LQ_VERSION "\n";
        return 0;
    }
    try {
        return Run(*parsed.options);
    } catch (const std::exception& e) {
        std::cerr << "pw5-sim: " << e.what() << '\n';
        return 1;
    }
}
