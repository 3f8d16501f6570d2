#include "serial/posix_io_objects.h"

#include <algorithm>
#include <cerrno>
#include <span>
#include <sys/socket.h>

namespace lq::posix {

void Complete(Operation& op, OpStatus status) {
    if (op.status != OpStatus::Pending) return;
    op.status = status;
    Device& d = *op.device;
    for (auto* slot : {&d.read, &d.write, &d.lineEvent})
        if (slot->get() == &op) slot->reset();
    op.event->Set();
}

namespace {

void Took(Operation& op, std::uint32_t bytes, Clock::time_point now) {
    if (op.done == 0) op.firstByte = now;
    op.done += bytes;
    op.lastByte = now;
}

// End of file or an I/O error: the line went away. Bytes already read still count.
bool EndOfLine(Operation& op) {
    Complete(op, op.done > 0 ? OpStatus::Done : OpStatus::Failed);
    return false;
}

// Reads what the line has; false when the read has ended.
bool ReadRaw(Operation& op, Clock::time_point now) {
    Device& d = *op.device;
    while (op.done < op.count) {
        const ssize_t n = ::read(d.fd, op.readBuffer + op.done, op.count - op.done);
        if (n > 0) {
            Took(op, static_cast<std::uint32_t>(n), now);
            if (op.endAtFirstByte) break;
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) break;
        return EndOfLine(op);
    }
    return true;
}

// Hands over rebuilt replies, then reads and converts what the connection has; false when the read ended.
bool ReadConverted(Operation& op, Clock::time_point now) {
    Device& d = *op.device;
    std::uint8_t received[512];
    for (;;) {
        const auto room = static_cast<std::size_t>(op.count - op.done);
        const std::size_t take = std::min(room, d.rebuilt.size());
        if (take > 0) {
            std::copy_n(d.rebuilt.begin(), take, op.readBuffer + op.done);
            d.rebuilt.erase(d.rebuilt.begin(), d.rebuilt.begin() + static_cast<std::ptrdiff_t>(take));
            Took(op, static_cast<std::uint32_t>(take), now);
            if (op.endAtFirstByte) return true;
        }
        if (op.done == op.count) return true;
        const ssize_t n = ::read(d.fd, received, sizeof received);
        if (n > 0) {
            d.mbap->Receive(std::span(received, static_cast<std::size_t>(n)), d.rebuilt);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) return true;
        return EndOfLine(op);
    }
}

} // namespace

std::uint32_t Transferred(const Operation& op) {
    if (!op.callerCount) return op.done;
    return op.done == op.count ? *op.callerCount : 0;
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
        if (!(d.mbap ? ReadConverted(op, now) : ReadRaw(op, now))) return;
        // Full, first byte wanted and come, a silence after some bytes, or the total time-out.
        if (op.done == op.count || (op.endAtFirstByte && op.done > 0) ||
            (op.interval && op.done > 0 && now >= op.lastByte + *op.interval) ||
            (op.totalDeadline && now >= *op.totalDeadline)) {
            Complete(op, OpStatus::Done);
        }
        return;
    case OpKind::Write:
        while (op.done < op.count) {
            // A connection the server reset must fail the write, not raise SIGPIPE in the whole program.
            const ssize_t n = d.network
                                  ? ::send(d.fd, op.writeBuffer + op.done, op.count - op.done, MSG_NOSIGNAL)
                                  : ::write(d.fd, op.writeBuffer + op.done, op.count - op.done);
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
