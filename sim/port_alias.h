#pragma once

#include "sim/unique_fd.h"

#include <stdexcept>
#include <string>

namespace lq::sim {

// Raised when another running simulator holds the alias.
class AliasInUse : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The alias <folder>/<name> -> device, which lets the panel open the simulator by a COM name. The folder
// is created private (0700) when missing, and refused if another user owns it or others can write to it.
// While it exists, the alias holds an exclusive lock on <folder>/<name>.lock (which keeps the holder's
// process id), so a second simulator for the same name is refused with AliasInUse instead of taking the
// alias over. An alias of the same name to a pseudo-terminal whose lock nobody holds (left by a killed
// simulator) is replaced; an alias to any other device, or any other file there, is not. The link is
// removed on destruction only if it still points at our device. Throws std::system_error on other failures.
class PortAlias {
  public:
    PortAlias(const std::string& folder, const std::string& name, const std::string& device);
    ~PortAlias();
    PortAlias(const PortAlias&) = delete;
    PortAlias& operator=(const PortAlias&) = delete;

    const std::string& Path() const { return path_; }

  private:
    std::string path_;
    std::string device_;
    UniqueFd lock_;
};

} // namespace lq::sim
