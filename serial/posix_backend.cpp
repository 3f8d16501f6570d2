#include "serial/io_thread.h"
#include "serial/network_port_name.h"
#include "serial/port_names.h"
#include "serial/posix_device_ioctls.h"
#include "serial/posix_io_objects.h"
#include "serial/posix_termios.h"
#include "serial/serial_backend.h"
#include "serial/tcp_connect.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <linux/serial.h>
#include <map>
#include <mutex>
#include <new>
#include <optional>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>
#include <variant>
#include <vector>

namespace lq {

namespace {

using namespace posix;

IoResult ToResult(OpStatus status) {
    switch (status) {
    case OpStatus::Done:
        return IoResult::Done;
    case OpStatus::Pending:
        return IoResult::Pending;
    case OpStatus::DeviceClosed:
        return IoResult::DeviceClosed;
    default:
        return IoResult::Failed;
    }
}

// errno of this thread's last failed open step or RS-485 call.
thread_local int tLastError = 0;

int Fail(int error) {
    tLastError = error;
    return error;
}

class PosixBackend final : public ISerialBackend {
  public:
    PosixBackend(std::shared_ptr<IDeviceIoctls> ioctls, ISocketCalls& sockets)
        : ioctls_(std::move(ioctls)), sockets_(sockets) {}

    THandle CreateFile(const std::string& name) override;
    std::uint32_t GetFileType(THandle device) override;
    bool SetupComm(THandle device, std::uint32_t inQueue, std::uint32_t outQueue) override;
    bool PurgeComm(THandle device, std::uint32_t flags) override;
    bool GetCommState(THandle device, Dcb& dcb) override;
    bool SetCommState(THandle device, const Dcb& dcb) override;
    bool GetCommTimeouts(THandle device, CommTimeouts& timeouts) override;
    bool SetCommTimeouts(THandle device, const CommTimeouts& timeouts) override;
    bool SetCommMask(THandle device, std::uint32_t mask) override;
    IoResult WaitCommEvent(THandle device, std::uint32_t* mask, Overlapped& ov) override;
    IoResult ReadFile(THandle device, std::uint8_t* buffer, std::uint32_t count, std::uint32_t& read,
                      Overlapped& ov) override;
    IoResult WriteFile(THandle device, const std::uint8_t* buffer, std::uint32_t count,
                       std::uint32_t& written, Overlapped& ov) override;
    IoResult GetOverlappedResult(THandle device, Overlapped& ov, std::uint32_t& transferred,
                                 bool wait) override;
    IoResult ClearCommError(THandle device, std::uint32_t& errors) override;
    bool CloseHandle(THandle handle) override;
    int GetLastError() override { return tLastError; }
    bool GetRs485(THandle device, Rs485Settings& settings) override;
    bool SetRs485(THandle device, const Rs485Settings& settings) override;
    THandle CreateEvent(bool manualReset, bool initialState, std::string_view label) override;
    bool SetEvent(THandle event) override;
    bool ResetEvent(THandle event) override;
    std::uint32_t WaitForMultipleObjects(std::span<const THandle> handles, std::uint32_t timeoutMs) override;
    bool CreateThread(std::string_view label, std::function<void()> body, std::thread& thread) override;
    void SetThreadPriority(ThreadPriority priority) override;
    std::unique_ptr<std::uint8_t[]> AllocateBlock(std::size_t bytes) override;
    std::uint32_t GetDroppedReplies(THandle device) override;

  private:
    // A connection to a serial device server, standing for the line behind it.
    THandle OpenNetworkPort(const std::string& name);
    using Object = std::variant<std::shared_ptr<Device>, std::shared_ptr<Event>>;

    THandle Insert(Object object);
    std::shared_ptr<Device> FindDevice(THandle h);
    std::shared_ptr<Event> FindEvent(THandle h);
    // FindDevice under the lock, for calls made outside it; sets the last error when there is none.
    std::shared_ptr<Device> FindOpenDevice(THandle h);
    struct Opening {
        std::shared_ptr<Device> device;
        std::shared_ptr<Event> event;
        std::optional<IoResult> refused; // set when the operation ends before it starts
    };
    // Under the lock: what every asynchronous operation starts from, its open device and its record's event.
    Opening OpenOperation(THandle h, const Overlapped& ov, bool argumentsValid);
    IoResult Start(const std::shared_ptr<Device>& device, const std::shared_ptr<Event>& event,
                   std::shared_ptr<Operation> op, std::shared_ptr<Operation>& slot);
    // Looks at the lines of every pending line-event wait among the events whose check is due.
    void CheckLines(const std::vector<std::shared_ptr<Event>>& events);
    // The device and a reading of its lines, taken without holding the lock across the driver calls.
    std::shared_ptr<Device> ReadDeviceLines(THandle h, bool lines, LineReading& reading);

    const std::shared_ptr<IDeviceIoctls> ioctls_;
    ISocketCalls& sockets_;
    std::mutex mutex_;
    std::map<THandle, Object> objects_;
    THandle next_ = 1;
};

THandle PosixBackend::Insert(Object object) {
    const THandle h = next_++;
    objects_.emplace(h, std::move(object));
    return h;
}

std::shared_ptr<Device> PosixBackend::FindDevice(THandle h) {
    const auto it = objects_.find(h);
    if (it == objects_.end()) return nullptr;
    auto* device = std::get_if<std::shared_ptr<Device>>(&it->second);
    return device != nullptr && !(*device)->closed ? *device : nullptr;
}

std::shared_ptr<Event> PosixBackend::FindEvent(THandle h) {
    const auto it = objects_.find(h);
    if (it == objects_.end()) return nullptr;
    auto* event = std::get_if<std::shared_ptr<Event>>(&it->second);
    return event != nullptr ? *event : nullptr;
}

THandle PosixBackend::OpenNetworkPort(const std::string& name) {
    const std::optional<NetworkPortName> parsed = ParseNetworkPortName(name);
    if (!parsed) {
        Fail(EINVAL);
        return kNoHandle;
    }
    const TcpConnection connection = ConnectTcp(sockets_, parsed->host, parsed->port);
    if (connection.fd < 0) {
        Fail(connection.error);
        return kNoHandle;
    }
    auto device = std::make_shared<Device>(connection.fd);
    device->network = true;
    device->hasCounters = false;
    device->hasModemLines = false;
    device->shadow.Flags = dcb::fBinary | (1u << dcb::DtrControlShift) | (1u << dcb::RtsControlShift);
    if (parsed->kind == NetworkPortKind::ModbusTcp) device->mbap = std::make_unique<TMbapStream>();
    std::lock_guard lock(mutex_);
    return Insert(std::move(device));
}

THandle PosixBackend::CreateFile(const std::string& name) {
    if (LooksLikeNetworkPort(name)) return OpenNetworkPort(name);
    const std::string path = ResolvePortName(name);
    if (path.empty()) {
        Fail(ENOENT);
        return kNoHandle;
    }
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    // A folder cannot be opened for writing; open it anyway so the caller can tell it is no port.
    if (fd < 0 && errno == EISDIR) fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        Fail(errno);
        return kNoHandle;
    }
    // TIOCEXCL keeps other openers out, but root ignores it; the lock holds for everyone.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        // Held by another opener: the same as a terminal in exclusive use, so report it as busy.
        Fail(errno == EWOULDBLOCK ? EBUSY : errno);
        ::close(fd);
        return kNoHandle;
    }
    auto device = std::make_shared<Device>(fd);
    device->exclusive = ::isatty(fd) && ioctl(fd, TIOCEXCL) == 0;
    device->shadow.Flags = dcb::fBinary | (1u << dcb::DtrControlShift) | (1u << dcb::RtsControlShift);
    device->shadow.XonLim = 2048;
    device->shadow.XoffLim = 512;
    const LineReading reading = ReadLine(*ioctls_, fd, true, true);
    NoteCapabilities(*device, reading);
    device->eventBase = reading.state;
    device->errorBase = reading.state.counts;
    std::lock_guard lock(mutex_);
    return Insert(std::move(device));
}

std::uint32_t PosixBackend::GetFileType(THandle h) {
    std::lock_guard lock(mutex_);
    const auto device = FindDevice(h);
    if (device && device->network) return FILE_TYPE_CHAR;
    struct stat st {};
    if (!device || ::fstat(device->fd, &st) != 0) return FILE_TYPE_UNKNOWN;
    if (S_ISCHR(st.st_mode)) return FILE_TYPE_CHAR;
    if (S_ISREG(st.st_mode)) return FILE_TYPE_DISK;
    if (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode)) return FILE_TYPE_PIPE;
    return FILE_TYPE_UNKNOWN;
}

bool PosixBackend::SetupComm(THandle h, std::uint32_t, std::uint32_t) {
    // The kernel's queues have fixed sizes (4096 bytes for the receive side); only a terminal has them.
    std::lock_guard lock(mutex_);
    const auto device = FindDevice(h);
    termios t{};
    if (!device) return false;
    if (device->network || tcgetattr(device->fd, &t) == 0) return true;
    Fail(errno);
    return false;
}

bool PosixBackend::PurgeComm(THandle h, std::uint32_t flags) {
    std::lock_guard lock(mutex_);
    const auto device = FindDevice(h);
    if (!device) return false;
    if ((flags & PURGE_RXABORT) && device->read) Complete(*device->read, OpStatus::Aborted);
    if ((flags & PURGE_TXABORT) && device->write) Complete(*device->write, OpStatus::Aborted);
    if ((flags & PURGE_RXCLEAR) && device->mbap) {
        device->mbap->ForgetPartial();
        device->rebuilt.clear();
    }
    if (flags & PURGE_RXCLEAR) tcflush(device->fd, TCIFLUSH);
    if (flags & PURGE_TXCLEAR) tcflush(device->fd, TCOFLUSH);
    return true;
}

bool PosixBackend::GetCommState(THandle h, Dcb& dcb) {
    std::lock_guard lock(mutex_);
    const auto device = FindDevice(h);
    if (device && device->network) {
        dcb = device->shadow;
        return true;
    }
    return device && posix::ReadControlBlock(device->fd, device->shadow, dcb);
}

bool PosixBackend::SetCommState(THandle h, const Dcb& dcb) {
    std::lock_guard lock(mutex_);
    const auto device = FindDevice(h);
    if (!device) return false;
    // The device server's own serial settings apply; kept only so that a read gives back what was set.
    if (device->network) {
        device->shadow = dcb;
        return true;
    }
    const bool applied = posix::WriteControlBlock(device->fd, dcb);
    posix::ReadControlBlock(device->fd, dcb, device->shadow);
    return applied;
}

bool PosixBackend::GetCommTimeouts(THandle h, CommTimeouts& timeouts) {
    std::lock_guard lock(mutex_);
    const auto device = FindDevice(h);
    if (!device) return false;
    timeouts = device->timeouts;
    return true;
}

bool PosixBackend::SetCommTimeouts(THandle h, const CommTimeouts& timeouts) {
    std::lock_guard lock(mutex_);
    const auto device = FindDevice(h);
    if (!device) return false;
    device->timeouts = timeouts;
    return true;
}

std::shared_ptr<Device> PosixBackend::ReadDeviceLines(THandle h, bool lines, LineReading& reading) {
    std::shared_ptr<Device> device;
    bool counters = false;
    {
        std::lock_guard lock(mutex_);
        device = FindDevice(h);
        if (!device) return nullptr;
        counters = device->hasCounters;
        lines = lines && device->hasModemLines;
    }
    // The device object keeps the descriptor open while the driver is asked.
    reading = ReadLine(*ioctls_, device->fd, counters, lines);
    return device;
}

bool PosixBackend::SetCommMask(THandle h, std::uint32_t mask) {
    LineReading reading;
    const auto device = ReadDeviceLines(h, true, reading);
    std::lock_guard lock(mutex_);
    if (!device || device->closed) return false;
    NoteCapabilities(*device, reading);
    device->commMask = mask;
    device->eventBase = reading.state;
    // A new mask ends a pending line-event wait with no event.
    if (device->lineEvent) Complete(*device->lineEvent, OpStatus::Done);
    return true;
}

PosixBackend::Opening PosixBackend::OpenOperation(THandle h, const Overlapped& ov, bool argumentsValid) {
    Opening opening{FindDevice(h), nullptr, std::nullopt};
    if (!opening.device) {
        opening.refused = IoResult::DeviceClosed;
        return opening;
    }
    opening.event = FindEvent(ov.hEvent);
    if (!opening.event || !argumentsValid) opening.refused = IoResult::Failed;
    return opening;
}

IoResult PosixBackend::Start(const std::shared_ptr<Device>& device, const std::shared_ptr<Event>& event,
                             std::shared_ptr<Operation> op, std::shared_ptr<Operation>& slot) {
    op->device = device;
    op->event = event;
    event->Reset();
    event->op = op;
    Progress(*op, Clock::now());
    if (op->status != OpStatus::Pending) {
        event->op.reset();
        return ToResult(op->status);
    }
    slot = std::move(op);
    return IoResult::Pending;
}

IoResult PosixBackend::WaitCommEvent(THandle h, std::uint32_t* mask, Overlapped& ov) {
    std::lock_guard lock(mutex_);
    const auto [device, event, refused] = OpenOperation(h, ov, mask != nullptr);
    if (refused) return *refused;
    auto op = std::make_shared<Operation>();
    op->kind = OpKind::LineEvent;
    op->maskOut = mask;
    const IoResult r = Start(device, event, op, device->lineEvent);
    if (r == IoResult::Done) *mask = op->mask;
    return r;
}

IoResult PosixBackend::ReadFile(THandle h, std::uint8_t* buffer, std::uint32_t count, std::uint32_t& read,
                                Overlapped& ov) {
    std::lock_guard lock(mutex_);
    const auto [device, event, refused] = OpenOperation(h, ov, buffer != nullptr);
    if (refused) return *refused;
    auto op = std::make_shared<Operation>();
    op->kind = OpKind::Read;
    op->readBuffer = buffer;
    op->count = count;
    const CommTimeouts& t = device->timeouts;
    const auto now = Clock::now();
    if (t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == 0 &&
        t.ReadTotalTimeoutConstant == 0) {
        op->totalDeadline = now; // return at once with what is there
    } else if (t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == MAXDWORD &&
               t.ReadTotalTimeoutConstant != 0 && t.ReadTotalTimeoutConstant != MAXDWORD) {
        op->endAtFirstByte = true;
        op->totalDeadline = now + std::chrono::milliseconds(t.ReadTotalTimeoutConstant);
    } else {
        if (t.ReadIntervalTimeout != 0 && t.ReadIntervalTimeout != MAXDWORD)
            op->interval = std::chrono::milliseconds(t.ReadIntervalTimeout);
        if (t.ReadTotalTimeoutMultiplier != 0 || t.ReadTotalTimeoutConstant != 0) {
            const std::uint64_t total =
                std::uint64_t{t.ReadTotalTimeoutMultiplier} * count + t.ReadTotalTimeoutConstant;
            op->totalDeadline = now + std::chrono::milliseconds(total);
        }
    }
    const IoResult r = Start(device, event, op, device->read);
    if (r == IoResult::Done) {
        read = op->done;
        ov.firstByteAt = op->firstByte;
    }
    return r;
}

IoResult PosixBackend::WriteFile(THandle h, const std::uint8_t* buffer, std::uint32_t count,
                                 std::uint32_t& written, Overlapped& ov) {
    std::lock_guard lock(mutex_);
    const auto [device, event, refused] = OpenOperation(h, ov, buffer != nullptr);
    if (refused) return *refused;
    auto op = std::make_shared<Operation>();
    op->kind = OpKind::Write;
    op->writeBuffer = buffer;
    op->count = count;
    if (device->mbap) {
        op->converted = device->mbap->Request(std::span(buffer, count));
        op->callerCount = count;
        op->writeBuffer = op->converted.data();
        op->count = static_cast<std::uint32_t>(op->converted.size());
    }
    const CommTimeouts& t = device->timeouts;
    if (t.WriteTotalTimeoutMultiplier != 0 || t.WriteTotalTimeoutConstant != 0) {
        const std::uint64_t total =
            std::uint64_t{t.WriteTotalTimeoutMultiplier} * count + t.WriteTotalTimeoutConstant;
        op->totalDeadline = Clock::now() + std::chrono::milliseconds(total);
    }
    const IoResult r = Start(device, event, op, device->write);
    if (r == IoResult::Done) written = Transferred(*op);
    return r;
}

IoResult PosixBackend::GetOverlappedResult(THandle, Overlapped& ov, std::uint32_t& transferred, bool wait) {
    std::shared_ptr<Operation> op;
    {
        std::lock_guard lock(mutex_);
        const auto event = FindEvent(ov.hEvent);
        if (!event || !event->op) return IoResult::Failed;
        op = event->op;
        if (op->status == OpStatus::Pending && !wait) return IoResult::Pending;
    }
    // Waiting drives the operation; it ends with the record's event set.
    if (wait && WaitForSingleObject(ov.hEvent, kInfinite) != 0) return IoResult::Failed;
    std::lock_guard lock(mutex_);
    if (op->status == OpStatus::Pending) return IoResult::Pending;
    transferred = Transferred(*op);
    ov.firstByteAt = op->firstByte;
    if (op->maskOut != nullptr && op->status == OpStatus::Done) *op->maskOut = op->mask;
    return ToResult(op->status);
}

IoResult PosixBackend::ClearCommError(THandle h, std::uint32_t& errors) {
    LineReading reading;
    const auto device = ReadDeviceLines(h, false, reading);
    std::lock_guard lock(mutex_);
    if (!device || device->closed) return IoResult::DeviceClosed;
    NoteCapabilities(*device, reading);
    const bool counted = reading.askedCounters && reading.countersError == 0;
    errors = counted ? TakeLineErrors(*device, reading.state.counts) : 0;
    return IoResult::Done;
}

static_assert(rs485::Enabled == SER_RS485_ENABLED && rs485::RtsOnSend == SER_RS485_RTS_ON_SEND &&
              rs485::RtsAfterSend == SER_RS485_RTS_AFTER_SEND && rs485::RxDuringTx == SER_RS485_RX_DURING_TX);

std::shared_ptr<Device> PosixBackend::FindOpenDevice(THandle h) {
    std::lock_guard lock(mutex_);
    auto device = FindDevice(h);
    if (!device) Fail(EBADF);
    return device;
}

bool PosixBackend::GetRs485(THandle h, Rs485Settings& settings) {
    const auto device = FindOpenDevice(h);
    if (!device) return false;
    if (device->network) {
        std::lock_guard lock(mutex_);
        settings = device->rs485;
        return true;
    }
    serial_rs485 kernel{};
    if (Fail(ioctls_->GetRs485(device->fd, kernel)) != 0) return false;
    settings = Rs485Settings{kernel.flags, kernel.delay_rts_before_send, kernel.delay_rts_after_send};
    return true;
}

bool PosixBackend::SetRs485(THandle h, const Rs485Settings& settings) {
    const auto device = FindOpenDevice(h);
    if (!device) return false;
    // The device server switches its transceiver itself; the mode is kept only to be read back.
    if (device->network) {
        std::lock_guard lock(mutex_);
        device->rs485 = settings;
        return true;
    }
    // Fields this program does not set (addresses of newer kernels) keep the device's values.
    serial_rs485 kernel{};
    if (Fail(ioctls_->GetRs485(device->fd, kernel)) != 0) return false;
    serial_rs485 previous = kernel;
    kernel.flags = settings.Flags;
    kernel.delay_rts_before_send = settings.DelayRtsBeforeSend;
    kernel.delay_rts_after_send = settings.DelayRtsAfterSend;
    if (Fail(ioctls_->SetRs485(device->fd, kernel)) != 0) return false;
    // A driver may accept the call and still drop the mode; that is a refusal too.
    const std::uint32_t wanted = settings.Flags & (rs485::Enabled | rs485::RtsOnSend);
    if ((kernel.flags & wanted) == wanted) return true;
    ioctls_->SetRs485(device->fd, previous);
    Fail(EINVAL);
    return false;
}

bool PosixBackend::CloseHandle(THandle h) {
    std::shared_ptr<Device> device;
    std::shared_ptr<Event> event;
    std::shared_ptr<Operation> detached;
    {
        std::lock_guard lock(mutex_);
        const auto it = objects_.find(h);
        if (it == objects_.end()) return false;
        if (auto* d = std::get_if<std::shared_ptr<Device>>(&it->second)) {
            device = *d;
            device->closed = true;
            for (auto* slot : {&device->read, &device->write, &device->lineEvent})
                if (*slot) Complete(**slot, OpStatus::DeviceClosed);
        } else {
            event = std::get<std::shared_ptr<Event>>(it->second);
            // An operation whose record goes away is abandoned: nobody may write into its buffer again.
            if (event->op) {
                detached = std::move(event->op);
                if (detached->status == OpStatus::Pending) Complete(*detached, OpStatus::Aborted);
            }
        }
        objects_.erase(it);
    }
    // The descriptor closes once no waiter holds the device any more.
    return true;
}

std::uint32_t PosixBackend::WaitForMultipleObjects(std::span<const THandle> handles,
                                                   std::uint32_t timeoutMs) {
    std::vector<std::shared_ptr<Event>> events;
    {
        std::lock_guard lock(mutex_);
        for (const THandle h : handles) {
            auto event = FindEvent(h);
            if (!event) return kWaitFailed;
            events.push_back(std::move(event));
        }
    }
    const auto start = Clock::now();
    std::optional<Clock::time_point> callerDeadline;
    if (timeoutMs != kInfinite) callerDeadline = start + std::chrono::milliseconds(timeoutMs);

    std::vector<pollfd> fds;
    std::vector<std::shared_ptr<Operation>> ops;
    for (;;) {
        CheckLines(events);
        std::optional<Clock::time_point> deadline = callerDeadline;
        fds.clear();
        ops.clear();
        {
            std::lock_guard lock(mutex_);
            const auto now = Clock::now();
            for (const auto& event : events)
                if (event->op) Progress(*event->op, now);
            for (std::size_t i = 0; i < events.size(); ++i) {
                if (events[i]->set) {
                    if (!events[i]->manualReset) events[i]->Reset();
                    return static_cast<std::uint32_t>(i);
                }
            }
            for (const auto& event : events) {
                fds.push_back(pollfd{event->fd, POLLIN, 0});
                if (!event->op || event->op->status != OpStatus::Pending) continue;
                const Operation& op = *event->op;
                ops.push_back(event->op); // keeps the device, and so its descriptor, alive across poll
                if (op.kind == OpKind::Read) fds.push_back(pollfd{op.device->fd, POLLIN, 0});
                if (op.kind == OpKind::Write) fds.push_back(pollfd{op.device->fd, POLLOUT, 0});
                if (const auto next = NextDeadline(op); next && (!deadline || *next < *deadline))
                    deadline = next;
            }
            if (callerDeadline && now >= *callerDeadline) return kWaitTimeout;
        }
        int timeout = -1;
        if (deadline) {
            const auto left = *deadline - Clock::now();
            timeout = left <= Clock::duration::zero()
                          ? 0
                          : static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
        }
        if (::poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR) return kWaitFailed;
    }
}

void PosixBackend::CheckLines(const std::vector<std::shared_ptr<Event>>& events) {
    struct Check {
        std::shared_ptr<Operation> op;
        bool counters;
        bool lines;
        LineReading reading;
    };
    std::vector<Check> due;
    {
        std::lock_guard lock(mutex_);
        const auto now = Clock::now();
        for (const auto& event : events) {
            const auto& op = event->op;
            if (!op || op->kind != OpKind::LineEvent || op->status != OpStatus::Pending) continue;
            const Device& d = *op->device;
            if (now < op->nextLineCheck || !(d.hasCounters || d.hasModemLines)) continue;
            op->nextLineCheck = now + kLineCheckPeriod;
            due.push_back(Check{op, d.hasCounters, d.hasModemLines, {}});
        }
    }
    if (due.empty()) return;
    // A wedged adapter can hold these calls for seconds; the lock stays free for everybody else meanwhile.
    for (Check& c : due)
        c.reading = ReadLine(*ioctls_, c.op->device->fd, c.counters, c.lines);
    std::lock_guard lock(mutex_);
    for (Check& c : due) {
        Device& d = *c.op->device;
        NoteCapabilities(d, c.reading);
        if (c.op->status != OpStatus::Pending || d.closed) continue;
        c.op->mask = TakeLineEvents(d, c.reading.state);
        if (c.op->mask != 0) Complete(*c.op, OpStatus::Done);
    }
}

THandle PosixBackend::CreateEvent(bool manualReset, bool initialState, std::string_view) {
    const int fd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (fd < 0) return kNoHandle;
    auto event = std::make_shared<Event>(fd, manualReset);
    if (initialState) event->Set();
    std::lock_guard lock(mutex_);
    return Insert(std::move(event));
}

bool PosixBackend::SetEvent(THandle h) {
    std::lock_guard lock(mutex_);
    const auto event = FindEvent(h);
    if (!event) return false;
    event->Set();
    return true;
}

bool PosixBackend::ResetEvent(THandle h) {
    std::lock_guard lock(mutex_);
    const auto event = FindEvent(h);
    if (!event) return false;
    event->Reset();
    return true;
}

bool PosixBackend::CreateThread(std::string_view label, std::function<void()> body, std::thread& thread) {
    try {
        thread = StartNamedThread(label, std::move(body));
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

void PosixBackend::SetThreadPriority(ThreadPriority priority) {
    // Lowering the nice value needs CAP_SYS_NICE; without it the thread simply runs at normal priority.
    const int nice = priority == ThreadPriority::Highest ? -10 : -5;
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), nice);
}

std::uint32_t PosixBackend::GetDroppedReplies(THandle h) {
    std::lock_guard lock(mutex_);
    const auto device = FindDevice(h);
    return device && device->mbap ? device->mbap->Dropped() : 0;
}

std::unique_ptr<std::uint8_t[]> PosixBackend::AllocateBlock(std::size_t bytes) {
    return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[bytes]());
}

} // namespace

std::shared_ptr<ISerialBackend> MakePosixBackend() {
    return std::make_shared<PosixBackend>(posix::KernelIoctls(), KernelSocketCalls());
}

std::shared_ptr<ISerialBackend> MakePosixBackend(std::shared_ptr<posix::IDeviceIoctls> ioctls) {
    return std::make_shared<PosixBackend>(std::move(ioctls), KernelSocketCalls());
}

std::shared_ptr<ISerialBackend> MakePosixBackend(ISocketCalls& sockets) {
    return std::make_shared<PosixBackend>(posix::KernelIoctls(), sockets);
}

} // namespace lq
