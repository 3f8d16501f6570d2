#pragma once

#include "sim/registers.h"

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace lq::sim {

// Lets a test see the simulator's registers from outside. The dump file always holds the whole register
// file, one "register value" line per register, replaced atomically so a reader never sees half of it.
// The history file grows by one "register value" line per change (all registers at the first record),
// so a reader can tell every value a register has held. Either path may be empty.
class RegisterRecorder {
  public:
    RegisterRecorder(std::string dumpPath, std::string historyPath);

    // Writes out what changed since the last call. Returns false if a file could not be written.
    bool Record(const RegisterFile& registers);

  private:
    bool WriteDump(const RegisterFile& registers) const;
    bool AppendHistory(const RegisterFile& registers) const;

    std::string dumpPath_;
    std::string historyPath_;
    std::optional<RegisterFile> last_;
};

// Reads a dump file back; nothing if it is missing or malformed.
std::optional<RegisterFile> ReadRegisterDump(const std::string& path);

struct RegisterChange {
    int reg = 0;
    std::uint16_t value = 0;
};

// Reads a history file back, in the order the changes happened. The simulator may be appending while it is
// read, so a last line without its newline is left out; so is a line outside the register file.
std::vector<RegisterChange> ReadRegisterHistory(std::istream& in);

} // namespace lq::sim
