#include "serial/posix_io_objects.h"

#include <cerrno>

namespace lq::posix {

void Complete(Operation& op, OpStatus status) {
    if (op.status != OpStatus::Pending) return;
    op.status = status;
    Device& d = *op.device;
    for (auto* slot : {&d.read, &d.write, &d.lineEvent})
        if (slot->get() == &op) slot->reset();
    op.event->Set();
}

void Progress(Operation& op, Clock::time_point now) {
    if (op.status != OpStatus::Pending) return;
    Device& d = *op.device;
    if (d.closed) {
        Complete(op, OpStatus::DeviceClosed);
        return;
    }
    switch (op.kind) {
    case OpKind::Read:
        while (op.done < op.count) {
            const ssize_t n = ::read(d.fd, op.readBuffer + op.done, op.count - op.done);
            if (n > 0) {
                if (op.done == 0) op.firstByte = now;
                op.done += static_cast<std::uint32_t>(n);
                op.lastByte = now;
                if (op.endAtFirstByte) break;
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EINTR)) break;
            // End of file or an I/O error: the line went away. Bytes already read still count.
            Complete(op, op.done > 0 ? OpStatus::Done : OpStatus::Failed);
            return;
        }
        // Full, first byte wanted and come, a silence after some bytes, or the total time-out.
        if (op.done == op.count || (op.endAtFirstByte && op.done > 0) ||
            (op.interval && op.done > 0 && now >= op.lastByte + *op.interval) ||
            (op.totalDeadline && now >= *op.totalDeadline)) {
            Complete(op, OpStatus::Done);
        }
        return;
    case OpKind::Write:
        while (op.done < op.count) {
            const ssize_t n = ::write(d.fd, op.writeBuffer + op.done, op.count - op.done);
            if (n > 0) {
                op.done += static_cast<std::uint32_t>(n);
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EINTR)) break;
            Complete(op, op.done > 0 ? OpStatus::Done : OpStatus::Failed);
            return;
        }
        if (op.done == op.count || (op.totalDeadline && now >= *op.totalDeadline))
            Complete(op, OpStatus::Done);
        return;
    case OpKind::LineEvent:
        return;
    }
}

std::optional<Clock::time_point> NextDeadline(const Operation& op) {
    std::optional<Clock::time_point> next = op.totalDeadline;
    const auto earlier = [&next](Clock::time_point t) {
        if (!next || t < *next) next = t;
    };
    if (op.kind == OpKind::Read && op.interval && op.done > 0) earlier(op.lastByte + *op.interval);
    // No timer at all when the driver can report nothing: an idle port then costs nothing.
    if (op.kind == OpKind::LineEvent && (op.device->hasCounters || op.device->hasModemLines))
        earlier(op.nextLineCheck);
    return next;
}

} // namespace lq::posix
