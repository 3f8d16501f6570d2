#include "sim/pty_port.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <pty.h>
#include <system_error>
#include <termios.h>

namespace lq::sim {

namespace {

[[noreturn]] void ThrowErrno(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

} // namespace

PtyPort::PtyPort() {
    int master = -1;
    int slave = -1;
    char name[PATH_MAX] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) ThrowErrno("openpty");
    master_ = UniqueFd(master);
    slave_ = UniqueFd(slave);
    devicePath_ = name;

    for (int fd : {master, slave}) {
        const int flags = fcntl(fd, F_GETFD);
        if (flags < 0 || fcntl(fd, F_SETFD, flags | FD_CLOEXEC) != 0) ThrowErrno("fcntl(FD_CLOEXEC)");
    }
    const int flags = fcntl(master, F_GETFL);
    if (flags < 0 || fcntl(master, F_SETFL, flags | O_NONBLOCK) != 0) ThrowErrno("fcntl(O_NONBLOCK)");

    termios tio{};
    if (tcgetattr(slave, &tio) != 0) ThrowErrno("tcgetattr");
    cfmakeraw(&tio);
    cfsetispeed(&tio, B19200);
    cfsetospeed(&tio, B19200);
    tio.c_cflag |= CLOCAL | CREAD;
    if (tcsetattr(slave, TCSANOW, &tio) != 0) ThrowErrno("tcsetattr");
}

} // namespace lq::sim
