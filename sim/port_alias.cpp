#include "sim/port_alias.h"

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace lq::sim {

namespace {

[[noreturn]] void Throw(int error, const std::string& what) {
    throw std::system_error(error, std::generic_category(), what);
}

std::string LinkTarget(const std::string& path) {
    char target[PATH_MAX];
    const ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
    return n < 0 ? std::string() : std::string(target, static_cast<std::size_t>(n));
}

// Simulators alias pseudo-terminals only; a link to anything else is someone's real adapter and stays.
bool IsSimulatorAlias(const std::string& path) {
    return LinkTarget(path).rfind("/dev/pts/", 0) == 0;
}

} // namespace

PortAlias::PortAlias(const std::string& folder, const std::string& name, const std::string& device)
    : path_(folder + "/" + name), device_(device) {
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) Throw(errno, "mkdir " + folder);
    struct stat st {};
    if (stat(folder.c_str(), &st) != 0) Throw(errno, "stat " + folder);
    if (!S_ISDIR(st.st_mode)) Throw(ENOTDIR, folder);
    // The folder may sit in /tmp: one that another user owns or can write to could redirect the alias.
    if (st.st_uid != geteuid() || (st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        Throw(EPERM, "unsafe alias folder " + folder);

    if (lstat(path_.c_str(), &st) == 0) {
        // A stale link from a simulator that died without cleaning up; a regular file is someone else's.
        if (!S_ISLNK(st.st_mode) || !IsSimulatorAlias(path_)) Throw(EEXIST, path_);
        if (unlink(path_.c_str()) != 0) Throw(errno, "unlink " + path_);
    }
    if (symlink(device.c_str(), path_.c_str()) != 0) Throw(errno, "symlink " + path_);
}

PortAlias::~PortAlias() {
    if (LinkTarget(path_) == device_) unlink(path_.c_str());
}

} // namespace lq::sim
