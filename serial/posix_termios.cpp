#include "serial/posix_termios.h"

#include "serial/posix_custom_baud.h"

#include <array>
#include <sys/ioctl.h>
#include <termios.h>
#include <utility>

namespace lq::posix {

namespace {

constexpr std::array<std::pair<std::uint32_t, speed_t>, 31> kStandardRates{{
    {50, B50},
    {75, B75},
    {110, B110},
    {134, B134},
    {150, B150},
    {200, B200},
    {300, B300},
    {600, B600},
    {1200, B1200},
    {1800, B1800},
    {2400, B2400},
    {4800, B4800},
    {9600, B9600},
    {19200, B19200},
    {38400, B38400},
    {57600, B57600},
    {115200, B115200},
    {230400, B230400},
    {460800, B460800},
    {500000, B500000},
    {576000, B576000},
    {921600, B921600},
    {1000000, B1000000},
    {1152000, B1152000},
    {1500000, B1500000},
    {2000000, B2000000},
    {2500000, B2500000},
    {3000000, B3000000},
    {3500000, B3500000},
    {4000000, B4000000},
    {0, B0},
}};

speed_t StandardSpeed(std::uint32_t rate) {
    for (const auto& [r, s] : kStandardRates)
        if (r == rate && rate != 0) return s;
    return B0;
}

std::uint32_t StandardRate(speed_t speed) {
    for (const auto& [r, s] : kStandardRates)
        if (s == speed) return r;
    return 0;
}

void SetModemLine(int fd, int line, bool on) {
    // Pseudo-terminals have no modem lines and answer ENOTTY; nothing to do then.
    ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line);
}

// Raw mode: bytes pass untouched, a read returns as soon as one byte is there.
void MakeRaw(termios& t) {
    t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                                        IXOFF | IXANY | INPCK | IGNPAR);
    t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag |= CREAD | CLOCAL;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
}

// Byte size, parity and stop bits; false for a value Linux cannot set (which is then left as it was).
bool SetFraming(termios& t, const Dcb& block) {
    bool applied = true;
    static constexpr std::array<tcflag_t, 4> kSizes{CS5, CS6, CS7, CS8};
    if (block.ByteSize >= 5 && block.ByteSize <= 8) {
        t.c_cflag = (t.c_cflag & ~static_cast<tcflag_t>(CSIZE)) | kSizes[block.ByteSize - 5];
    } else {
        applied = false;
    }
    // None, odd, even, mark, space.
    static constexpr std::array<tcflag_t, 5> kParities{0, PARENB | PARODD, PARENB, PARENB | CMSPAR | PARODD,
                                                       PARENB | CMSPAR};
    if (block.Parity < kParities.size()) {
        t.c_cflag = (t.c_cflag & ~static_cast<tcflag_t>(PARENB | PARODD | CMSPAR)) | kParities[block.Parity];
    } else {
        applied = false;
    }
    if (block.Flags & dcb::fParity) t.c_iflag |= INPCK;
    if (block.StopBits == kOneStopBit) {
        t.c_cflag &= ~static_cast<tcflag_t>(CSTOPB);
    } else if (block.StopBits == kTwoStopBits) {
        t.c_cflag |= CSTOPB;
    } else {
        applied = false; // one and a half does not exist on Linux
    }
    return applied;
}

void SetFlowControl(termios& t, const Dcb& block) {
    const std::uint32_t rts = dcb::RtsControl(block.Flags);
    if ((block.Flags & dcb::fOutxCtsFlow) || rts == 2) {
        t.c_cflag |= CRTSCTS;
    } else {
        t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
    }
    if (block.Flags & dcb::fOutX) t.c_iflag |= IXON;
    if (block.Flags & dcb::fInX) t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = static_cast<cc_t>(block.XonChar);
    t.c_cc[VSTOP] = static_cast<cc_t>(block.XoffChar);
}

// Writing B0 would hang up the line (DTR drops), so a refused rate keeps the previous speed, and a terminal
// that somehow sits at B0 is lifted to 9600.
void SetStandardSpeed(termios& t, speed_t wanted, speed_t previous) {
    const speed_t speed = wanted != B0 ? wanted : previous == B0 ? B9600 : B0;
    if (speed == B0) return;
    cfsetospeed(&t, speed);
    cfsetispeed(&t, speed);
}

// After the attributes are written: a rate no constant names goes in by the custom-rate call, and a standard
// one the driver did not take puts the previous speed back.
bool ConfirmSpeed(int fd, const Dcb& block, speed_t wanted, speed_t previous) {
    if (block.BaudRate != 0 && wanted == B0) return SetCustomBaud(fd, block.BaudRate);
    if (wanted == B0) return true;
    termios readBack{};
    if (tcgetattr(fd, &readBack) == 0 && cfgetospeed(&readBack) == wanted) return true;
    if (previous != B0) {
        cfsetospeed(&readBack, previous);
        cfsetispeed(&readBack, previous);
        tcsetattr(fd, TCSANOW, &readBack);
    }
    return false;
}

// Handshake and RS-485 modes leave RTS to the driver; DTR handshake has no Linux counterpart and keeps DTR
// up.
void SetModemLines(int fd, const Dcb& block) {
    const std::uint32_t rts = dcb::RtsControl(block.Flags);
    SetModemLine(fd, TIOCM_DTR, dcb::DtrControl(block.Flags) != 0);
    if (rts == 0 || rts == 1) SetModemLine(fd, TIOCM_RTS, rts == 1);
}

} // namespace

bool WriteControlBlock(int fd, const Dcb& block) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) return false;
    MakeRaw(t);
    bool allApplied = SetFraming(t, block);
    SetFlowControl(t, block);
    const speed_t previous = cfgetospeed(&t);
    const speed_t wanted = StandardSpeed(block.BaudRate);
    SetStandardSpeed(t, wanted, previous);
    if (block.BaudRate == 0) allApplied = false;
    if (tcsetattr(fd, TCSANOW, &t) != 0) return false;
    if (!ConfirmSpeed(fd, block, wanted, previous)) allApplied = false;
    SetModemLines(fd, block);
    return allApplied;
}

bool ReadControlBlock(int fd, const Dcb& shadow, Dcb& block) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) return false;
    block = shadow;
    const speed_t speed = cfgetospeed(&t);
    const std::uint32_t rate = StandardRate(speed);
    block.BaudRate = rate != 0 ? rate : GetCustomBaud(fd);
    switch (t.c_cflag & CSIZE) {
    case CS5:
        block.ByteSize = 5;
        break;
    case CS6:
        block.ByteSize = 6;
        break;
    case CS7:
        block.ByteSize = 7;
        break;
    default:
        block.ByteSize = 8;
        break;
    }
    if (!(t.c_cflag & PARENB)) {
        block.Parity = 0;
    } else if (t.c_cflag & CMSPAR) {
        block.Parity = (t.c_cflag & PARODD) ? 3 : 4;
    } else {
        block.Parity = (t.c_cflag & PARODD) ? 1 : 2;
    }
    block.StopBits = (t.c_cflag & CSTOPB) ? kTwoStopBits : kOneStopBit;
    block.Flags &= ~(dcb::fParity | dcb::fOutX | dcb::fInX);
    if (t.c_iflag & INPCK) block.Flags |= dcb::fParity;
    if (t.c_iflag & IXON) block.Flags |= dcb::fOutX;
    if (t.c_iflag & IXOFF) block.Flags |= dcb::fInX;
    block.XonChar = static_cast<char>(t.c_cc[VSTART]);
    block.XoffChar = static_cast<char>(t.c_cc[VSTOP]);
    return true;
}

} // namespace lq::posix
