#include "serial/posix_io_objects.h"

#include <sys/ioctl.h>

namespace lq::posix {

namespace {

bool ReadCounters(Device& d, serial_icounter_struct& counts) {
    if (!d.hasCounters) return false;
    if (ioctl(d.fd, TIOCGICOUNT, &counts) == 0) return true;
    // ENOTTY/EINVAL: the driver keeps no counters (a pseudo-terminal, for one); stop asking.
    d.hasCounters = false;
    return false;
}

bool ReadModemLines(Device& d, int& lines) {
    if (!d.hasModemLines) return false;
    if (ioctl(d.fd, TIOCMGET, &lines) == 0) return true;
    d.hasModemLines = false;
    return false;
}

int ErrorCount(const serial_icounter_struct& c) {
    return c.frame + c.overrun + c.parity + c.brk + c.buf_overrun;
}

} // namespace

std::uint32_t ErrorFlags(const serial_icounter_struct& now, const serial_icounter_struct& before) {
    std::uint32_t flags = 0;
    if (now.buf_overrun != before.buf_overrun) flags |= CE_RXOVER;
    if (now.overrun != before.overrun) flags |= CE_OVERRUN;
    if (now.parity != before.parity) flags |= CE_RXPARITY;
    if (now.frame != before.frame) flags |= CE_FRAME;
    if (now.brk != before.brk) flags |= CE_BREAK;
    return flags;
}

std::uint32_t ModemEvents(const serial_icounter_struct& now, const serial_icounter_struct& before,
                          int linesNow, int linesBefore) {
    std::uint32_t events = 0;
    if (now.dcd != before.dcd || ((linesNow ^ linesBefore) & TIOCM_CD)) events |= EV_RLSD;
    // A ring is the indicator coming on, not going off.
    if (now.rng != before.rng || ((linesNow & ~linesBefore) & TIOCM_RI)) events |= EV_RING;
    return events;
}

LineState CurrentLineState(Device& d) {
    LineState s;
    ReadCounters(d, s.counts);
    ReadModemLines(d, s.modemLines);
    return s;
}

std::uint32_t TakeLineEvents(Device& d) {
    const LineState now = CurrentLineState(d);
    std::uint32_t events =
        ModemEvents(now.counts, d.eventBase.counts, now.modemLines, d.eventBase.modemLines);
    if (ErrorCount(now.counts) != ErrorCount(d.eventBase.counts)) events |= EV_ERR;
    d.eventBase = now;
    return events & d.commMask;
}

std::uint32_t TakeLineErrors(Device& d) {
    serial_icounter_struct now{};
    if (!ReadCounters(d, now)) return 0;
    const std::uint32_t flags = ErrorFlags(now, d.errorBase);
    d.errorBase = now;
    return flags;
}

} // namespace lq::posix
