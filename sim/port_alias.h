#pragma once

#include <string>

namespace lq::sim {

// The alias <folder>/<name> -> device, which lets the panel open the simulator by a COM name. The folder
// is created private (0700) when missing, and refused if another user owns it or others can write to it; an
// alias of the same name to a pseudo-terminal (left by an earlier run) is replaced, but an alias to any
// other device, or any other file there, is not. The link is
// removed on destruction only if it still points at our device, so a newer simulator's alias is never taken
// away. Throws std::system_error on failure.
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
};

} // namespace lq::sim
