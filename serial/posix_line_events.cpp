#include "serial/posix_device_ioctls.h"
#include "serial/posix_io_objects.h"

namespace lq::posix {

namespace {

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

LineReading ReadLine(IDeviceIoctls& io, int fd, bool counters, bool lines) {
    LineReading r;
    r.askedCounters = counters;
    r.askedLines = lines;
    if (counters) r.countersError = io.GetCounters(fd, r.state.counts);
    if (lines) r.linesError = io.GetModemLines(fd, r.state.modemLines);
    if (r.countersError != 0) r.state.counts = {};
    if (r.linesError != 0) r.state.modemLines = 0;
    return r;
}

void NoteCapabilities(Device& d, const LineReading& r) {
    // ENOTTY/EINVAL: the driver keeps no counters or has no modem lines; stop asking.
    if (r.askedCounters && r.countersError != 0) d.hasCounters = false;
    if (r.askedLines && r.linesError != 0) d.hasModemLines = false;
}

std::uint32_t TakeLineEvents(Device& d, const LineState& now) {
    std::uint32_t events =
        ModemEvents(now.counts, d.eventBase.counts, now.modemLines, d.eventBase.modemLines);
    if (ErrorCount(now.counts) != ErrorCount(d.eventBase.counts)) events |= EV_ERR;
    d.eventBase = now;
    return events & d.commMask;
}

std::uint32_t TakeLineErrors(Device& d, const serial_icounter_struct& now) {
    const std::uint32_t flags = ErrorFlags(now, d.errorBase);
    d.errorBase = now;
    return flags;
}

} // namespace lq::posix
