#include "sim/port_alias.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/file.h>
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

// Locks <alias>.lock for this process and writes its id there; the kernel drops the lock when the
// process ends, however it ends, so a lock is never stale.
UniqueFd LockAlias(const std::string& path, const std::string& name) {
    const std::string lockPath = path + ".lock";
    UniqueFd lock(open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!lock.Valid()) Throw(errno, "open " + lockPath);
    if (flock(lock.Get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK) Throw(errno, "flock " + lockPath);
        char holder[32] = {};
        const ssize_t n = pread(lock.Get(), holder, sizeof holder - 1, 0);
        const std::string pid = n > 0 ? std::string(holder, static_cast<std::size_t>(n)) : "unknown";
        throw AliasInUse(name + " is in use by another running pw5-sim (process " + pid + ", alias " + path +
                         "); stop that one first, or give this one another name with --port");
    }
    const std::string pid = std::to_string(getpid());
    if (ftruncate(lock.Get(), 0) != 0 || pwrite(lock.Get(), pid.data(), pid.size(), 0) < 0)
        Throw(errno, "write " + lockPath);
    return lock;
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

    lock_ = LockAlias(path_, name);
    if (lstat(path_.c_str(), &st) == 0) {
        // A stale link from a simulator that died without cleaning up; a regular file is someone else's.
        if (!S_ISLNK(st.st_mode) || !IsSimulatorAlias(path_)) Throw(EEXIST, path_);
        if (unlink(path_.c_str()) != 0) Throw(errno, "unlink " + path_);
    }
    if (symlink(device.c_str(), path_.c_str()) != 0) Throw(errno, "symlink " + path_);
}

PortAlias::~PortAlias() {
    // Before the lock goes with lock_, so that the next simulator finds the name free.
    if (LinkTarget(path_) == device_) unlink(path_.c_str());
}

} // namespace lq::sim
