#pragma once

#include "sim/registers.h"

#include <csignal>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <sys/types.h>
#include <vector>

namespace lq::sim {

// Runs the real pw5-sim for a test. The constructor starts it with the given options in a fresh private
// alias folder (handed to it as LQ_MODBUS_PORTS), with a dump file and a history file in a temporary
// folder, and returns once it has printed its device path; it throws std::runtime_error if the
// simulator fails to start within a few seconds. The destructor stops it (SIGTERM, then SIGKILL if
// needed), reaps it and removes every file it made.
//
// A panel in the same process finds the alias only if LQ_MODBUS_PORTS names AliasFolder(): call
// ExportAliasFolder() before the panel resolves its port name.
class SimProcess {
  public:
    // aliasFolder: where the alias goes; empty for a fresh private folder that is removed at the end.
    explicit SimProcess(std::vector<std::string> options = {},
                        const std::string& executable = DefaultExecutable(), std::string aliasFolder = {});
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    static std::string DefaultExecutable();

    pid_t Pid() const { return pid_; }
    const std::string& DevicePath() const { return devicePath_; }
    const std::string& AliasFolder() const { return aliasFolder_; }
    const std::string& PortName() const { return portName_; }
    std::string AliasPath() const { return aliasFolder_ + "/" + portName_; }
    void ExportAliasFolder() const;

    // The simulator's registers as of its last change; written before the reply to any request that changed
    // them leaves, so a master that has its answer finds the new value here.
    std::optional<RegisterFile> Registers() const;

    // Every value each register has held since start, from the history file.
    std::map<int, std::set<std::uint16_t>> HeldValues() const;
    // The history file itself, in the order the changes happened; its last line may still be partial.
    std::string HistoryPath() const { return tempDir_ + "/history"; }

    // Sends the signal and waits for the exit; returns the wait status, or -1 if it had to be killed.
    // Later calls (and the destructor) do nothing.
    int Stop(int signal = SIGTERM);

  private:
    std::string tempDir_;
    std::string aliasFolder_;
    std::string portName_ = "COM4";
    std::string devicePath_;
    pid_t pid_ = -1;
};

} // namespace lq::sim
