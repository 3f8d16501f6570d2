#pragma once

// State behind the POSIX back end's handles: events, devices and pending operations. Every field is
// guarded by the back end's lock.

#include "serial/mbap_stream.h"
#include "serial/serial_backend.h"

#include <chrono>
#include <cstdint>
#include <linux/serial.h>
#include <memory>
#include <optional>
#include <sys/ioctl.h>
#include <unistd.h>
#include <vector>

namespace lq::posix {

using Clock = std::chrono::steady_clock;

// Drivers that offer no wait for line changes are asked this often while a line-event wait is pending.
constexpr auto kLineCheckPeriod = std::chrono::milliseconds(100);

struct Operation;

// A Windows-style event over an eventfd: the eventfd wakes poll, the flag is the state.
struct Event {
    Event(int descriptor, bool manual) : fd(descriptor), manualReset(manual) {}
    ~Event() { ::close(fd); }
    void Set() {
        set = true;
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto n = ::write(fd, &one, sizeof one);
    }
    void Reset() {
        set = false;
        std::uint64_t value = 0;
        [[maybe_unused]] const auto n = ::read(fd, &value, sizeof value);
    }
    const int fd;
    const bool manualReset;
    bool set = false;
    std::shared_ptr<Operation> op;
};

struct LineState {
    serial_icounter_struct counts{};
    int modemLines = 0;
};

class IDeviceIoctls;

// One look at the driver's counters and modem lines, taken without the back end's lock.
struct LineReading {
    LineState state;
    bool askedCounters = false;
    bool askedLines = false;
    int countersError = 0; // errno, 0 when the driver answered
    int linesError = 0;
};

struct Device {
    explicit Device(int descriptor) : fd(descriptor) {}
    ~Device() {
        if (exclusive) ioctl(fd, TIOCNXCL);
        ::close(fd);
    }
    const int fd;
    bool exclusive = false;
    bool closed = false;
    // A connection to a serial device server: the line's settings are the server's, not ours.
    bool network = false;
    // On a Modbus TCP connection: the conversion, and replies rebuilt but not yet handed to a read.
    std::unique_ptr<TMbapStream> mbap;
    std::vector<std::uint8_t> rebuilt;
    Rs485Settings rs485; // a network port's, as last set
    bool hasCounters = true;
    bool hasModemLines = true;
    CommTimeouts timeouts{};
    std::uint32_t commMask = 0;
    Dcb shadow{};
    LineState eventBase;
    serial_icounter_struct errorBase{};
    std::shared_ptr<Operation> read, write, lineEvent;
};

enum class OpKind { Read, Write, LineEvent };
enum class OpStatus { Pending, Done, Aborted, DeviceClosed, Failed };

struct Operation {
    OpKind kind;
    std::shared_ptr<Device> device;
    std::shared_ptr<Event> event;
    std::uint8_t* readBuffer = nullptr;
    const std::uint8_t* writeBuffer = nullptr;
    std::uint32_t count = 0;
    // A write converted at the boundary goes out from here; the caller is told of its own byte count.
    std::vector<std::uint8_t> converted;
    std::optional<std::uint32_t> callerCount;
    std::uint32_t done = 0;
    std::uint32_t mask = 0;
    std::uint32_t* maskOut = nullptr;
    OpStatus status = OpStatus::Pending;
    std::optional<Clock::time_point> totalDeadline;
    std::optional<std::chrono::milliseconds> interval;
    bool endAtFirstByte = false;
    Clock::time_point lastByte{};
    std::optional<Clock::time_point> firstByte;
    Clock::time_point nextLineCheck{};
};

// Marks a pending operation finished, detaches it from its device and sets its record's event.
void Complete(Operation& op, OpStatus status);
// Moves a pending read or write on without blocking: reads or writes what the line allows, ends it on its
// time-outs. Line-event waits are moved on by the line checks, which run outside the lock.
void Progress(Operation& op, Clock::time_point now);
// The byte count the caller is told: a converted write counts the caller's bytes, all or none.
std::uint32_t Transferred(const Operation& op);
// When the operation must next be looked at even if its descriptor stays quiet; none means never.
std::optional<Clock::time_point> NextDeadline(const Operation& op);

// CE_ flags for the error counters that moved between two readings.
std::uint32_t ErrorFlags(const serial_icounter_struct& now, const serial_icounter_struct& before);
// EV_RLSD and EV_RING for carrier and ring changes between two readings of counters and modem lines.
std::uint32_t ModemEvents(const serial_icounter_struct& now, const serial_icounter_struct& before,
                          int linesNow, int linesBefore);

// Asks the driver for what it is known to have; may block on a slow adapter, so never under the lock.
LineReading ReadLine(IDeviceIoctls& io, int fd, bool counters, bool lines);
// Under the lock: a driver that answered no once (a pseudo-terminal, for one) is not asked again.
void NoteCapabilities(Device& d, const LineReading& r);
// Events since the last reading, filtered by the device's mask; moves the baseline on.
std::uint32_t TakeLineEvents(Device& d, const LineState& now);
// CE_ flags of the errors counted since the last reading; moves the baseline on.
std::uint32_t TakeLineErrors(Device& d, const serial_icounter_struct& now);

} // namespace lq::posix
