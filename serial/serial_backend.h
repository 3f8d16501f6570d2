#pragma once

#include "serial/comm_types.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>

namespace lq {

// Opaque handle to a device or an event of a back end; 0 is never a valid handle.
using THandle = std::uint64_t;
constexpr THandle kNoHandle = 0;

// The four outcomes every asynchronous call can have, which the I/O threads tell apart.
enum class IoResult {
    Done,         // completed now, the counts are valid
    Pending,      // started; the record's event is set when it completes
    DeviceClosed, // the handle is not (or no longer) valid
    Failed,       // any other failure
};

// Record of one asynchronous operation. The caller owns it and its event; the back end keeps the state of
// the pending operation itself, keyed by hEvent, so one record carries at most one operation at a time.
struct Overlapped {
    THandle hEvent = kNoHandle;
    // A completed read: when its first byte came, where the back end can tell (steady clock).
    std::optional<std::chrono::steady_clock::time_point> firstByteAt;
};

constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;
// Results of WaitForMultipleObjects other than the index of a set handle.
constexpr std::uint32_t kWaitTimeout = 0x102;
constexpr std::uint32_t kWaitFailed = 0xFFFFFFFFu;

enum class ThreadPriority { Highest, AboveNormal };

// Device access for TComm and its threads, named after the Windows communications calls. Every call may be
// made from any thread; a pending operation makes progress only while its owner waits on its event, so no
// operation writes into a caller's buffer after the caller stopped waiting for it.
class ISerialBackend {
  public:
    virtual ~ISerialBackend() = default;

    // Opens an existing device for exclusive read/write access; kNoHandle on failure.
    virtual THandle CreateFile(const std::string& name) = 0;
    virtual std::uint32_t GetFileType(THandle device) = 0;
    virtual bool SetupComm(THandle device, std::uint32_t inQueue, std::uint32_t outQueue) = 0;
    virtual bool PurgeComm(THandle device, std::uint32_t flags) = 0;
    virtual bool GetCommState(THandle device, Dcb& dcb) = 0;
    virtual bool SetCommState(THandle device, const Dcb& dcb) = 0;
    virtual bool GetCommTimeouts(THandle device, CommTimeouts& timeouts) = 0;
    virtual bool SetCommTimeouts(THandle device, const CommTimeouts& timeouts) = 0;
    virtual bool SetCommMask(THandle device, std::uint32_t mask) = 0;
    // The mask word is filled when the wait completes (at once, or by GetOverlappedResult).
    virtual IoResult WaitCommEvent(THandle device, std::uint32_t* mask, Overlapped& ov) = 0;
    virtual IoResult ReadFile(THandle device, std::uint8_t* buffer, std::uint32_t count, std::uint32_t& read,
                              Overlapped& ov) = 0;
    virtual IoResult WriteFile(THandle device, const std::uint8_t* buffer, std::uint32_t count,
                               std::uint32_t& written, Overlapped& ov) = 0;
    virtual IoResult GetOverlappedResult(THandle device, Overlapped& ov, std::uint32_t& transferred,
                                         bool wait) = 0;
    virtual IoResult ClearCommError(THandle device, std::uint32_t& errors) = 0;
    virtual bool CloseHandle(THandle handle) = 0;
    // The system's error number (errno) of this thread's last failed CreateFile, SetupComm, GetRs485 or
    // SetRs485; 0 when that failure had none.
    virtual int GetLastError() = 0;
    // The device's RS-485 direction control. False when the driver has none or refuses the settings.
    virtual bool GetRs485(THandle device, Rs485Settings& settings) = 0;
    virtual bool SetRs485(THandle device, const Rs485Settings& settings) = 0;

    // Events. The label names the event's purpose for diagnostics and test scripts; it does not share it.
    virtual THandle CreateEvent(bool manualReset, bool initialState, std::string_view label) = 0;
    virtual bool SetEvent(THandle event) = 0;
    virtual bool ResetEvent(THandle event) = 0;
    // Index of the first set handle in the list, kWaitTimeout or kWaitFailed.
    virtual std::uint32_t WaitForMultipleObjects(std::span<const THandle> handles,
                                                 std::uint32_t timeoutMs) = 0;
    // 0 when the event is set within the time-out; a zero time-out only tests it.
    virtual std::uint32_t WaitForSingleObject(THandle handle, std::uint32_t timeoutMs) {
        const THandle handles[1] = {handle};
        return WaitForMultipleObjects(handles, timeoutMs);
    }

    // Starts a thread running body; false when the system cannot create it.
    virtual bool CreateThread(std::string_view label, std::function<void()> body, std::thread& thread) = 0;
    // Asked from inside the thread; an ordinary user on Linux cannot raise priority, which is ignored.
    virtual void SetThreadPriority(ThreadPriority priority) = 0;
    // Zero-filled block, null when memory is short.
    virtual std::unique_ptr<std::uint8_t[]> AllocateBlock(std::size_t bytes) = 0;
    // Replies a Modbus TCP connection dropped since it opened (another transaction, a wrong length); a
    // serial line has none: what it garbles reaches the reader, which judges it.
    virtual std::uint32_t GetDroppedReplies(THandle) { return 0; }
};

// The back end the program uses: termios, poll and eventfd; a "tcp://" or "modbus-tcp://" port name
// connects to a serial device server instead of opening a device.
std::shared_ptr<ISerialBackend> MakePosixBackend();
class ISocketCalls;
// The same with the socket calls given, so that connect failures can be staged.
std::shared_ptr<ISerialBackend> MakePosixBackend(ISocketCalls& sockets);

// Closes a back-end handle when it goes out of scope.
class UniqueHandle {
  public:
    UniqueHandle() = default;
    UniqueHandle(ISerialBackend& backend, THandle handle) : backend_(&backend), handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept { *this = std::move(other); }
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            backend_ = other.backend_;
            handle_ = other.Release();
        }
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    THandle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != kNoHandle; }
    THandle Release() {
        const THandle h = handle_;
        handle_ = kNoHandle;
        return h;
    }
    void Reset() {
        if (handle_ != kNoHandle) backend_->CloseHandle(Release());
    }

  private:
    ISerialBackend* backend_ = nullptr;
    THandle handle_ = kNoHandle;
};

} // namespace lq
