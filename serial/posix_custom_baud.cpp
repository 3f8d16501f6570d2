#include "serial/posix_custom_baud.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace lq::posix {

namespace {

// Well above what any UART or USB adapter runs at. A pseudo-terminal takes any rate, so without this a
// typing slip such as "-1" (4294967295) would be applied where real hardware refuses it.
constexpr std::uint32_t kFastestRate = 20'000'000;

} // namespace

bool SetCustomBaud(int fd, std::uint32_t rate) {
    if (rate == 0) return false; // a zero speed would hang up the line
    if (rate > kFastestRate) return false;
    struct termios2 tio {};
    if (ioctl(fd, TCGETS2, &tio) != 0) return false;
    const struct termios2 before = tio;
    tio.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
    tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    tio.c_ispeed = rate;
    tio.c_ospeed = rate;
    if (ioctl(fd, TCSETS2, &tio) != 0) return false;
    struct termios2 after {};
    if (ioctl(fd, TCGETS2, &after) != 0 || after.c_ospeed == 0) {
        ioctl(fd, TCSETS2, &before);
        return false;
    }
    return true;
}

std::uint32_t GetCustomBaud(int fd) {
    struct termios2 tio {};
    if (ioctl(fd, TCGETS2, &tio) != 0) return 0;
    return tio.c_ospeed;
}

} // namespace lq::posix
