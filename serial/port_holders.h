#pragma once

#include <string>
#include <vector>

namespace lq {

struct PortHolder {
    int Pid = 0;
    std::string Command; // the process's name, as /proc/<pid>/comm has it
    bool operator==(const PortHolder&) const = default;
};

// The processes that have the device open, from their /proc/<pid>/fd links under procRoot. Only the
// processes whose descriptors this user may read are seen: others' stay hidden without privileges.
std::vector<PortHolder> FindPortHolders(const std::string& devicePath, const std::string& procRoot = "/proc");

} // namespace lq
