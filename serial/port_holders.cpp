#include "serial/port_holders.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace lq {

namespace fs = std::filesystem;

namespace {

bool IsNumber(const std::string& s) {
    return !s.empty() && s.size() <= 9 &&
           std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

bool HoldsDevice(const fs::path& fdFolder, const std::vector<fs::path>& names) {
    std::error_code ec;
    for (const auto& fd : fs::directory_iterator(fdFolder, ec)) {
        const fs::path target = fs::read_symlink(fd.path(), ec);
        if (!ec && std::find(names.begin(), names.end(), target) != names.end()) return true;
    }
    return false;
}

} // namespace

std::vector<PortHolder> FindPortHolders(const std::string& devicePath, const std::string& procRoot) {
    // The links name the device node itself; an alias or a by-id name is followed to it first.
    std::error_code ec;
    std::vector<fs::path> names{fs::path(devicePath)};
    if (const fs::path node = fs::canonical(devicePath, ec); !ec && node != names[0]) names.push_back(node);

    std::vector<PortHolder> holders;
    for (const auto& process : fs::directory_iterator(procRoot, ec)) {
        const std::string pid = process.path().filename().string();
        if (!IsNumber(pid) || !HoldsDevice(process.path() / "fd", names)) continue;
        std::ifstream comm(process.path() / "comm");
        std::string command;
        std::getline(comm, command);
        holders.push_back({std::stoi(pid), command});
    }
    std::sort(holders.begin(), holders.end(),
              [](const PortHolder& a, const PortHolder& b) { return a.Pid < b.Pid; });
    return holders;
}

} // namespace lq
