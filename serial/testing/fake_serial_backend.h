#pragma once

#include "serial/serial_backend.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace lq::serial_testing {

// Scripted back end: one fake device, events in memory, a record of every call. Any call can be made to
// fail, stay pending or report the device closed, once or several times, optionally only on the thread of
// a given name ("lq-serial-rx", "lq-serial-tx").
//
// Script keys are the operation names; CreateEvent and CreateThread take "CreateEvent:<label>" and
// "CreateThread:<label>" as well. For calls that answer true/false or a handle, any outcome but Done fails.
class FakeSerialBackend final : public ISerialBackend {
  public:
    struct Call {
        std::string Op;
        std::string Thread;
    };

    // The first `skip` matching calls behave normally, the next `times` answer the outcome.
    void Script(const std::string& op, IoResult outcome, int times = 1, const std::string& thread = {},
                int skip = 0);
    // The next call of op fails and GetLastError then answers the error number.
    void ScriptError(const std::string& op, int error);
    // The RS-485 settings the device has before anybody sets them.
    void SetDeviceRs485(const Rs485Settings& settings);
    std::vector<Rs485Settings> Rs485Writes() const;
    // Bytes arriving on the line; a pending read completes with them.
    void Feed(const std::vector<std::uint8_t>& bytes);
    // Completes the pending read with no bytes.
    void CompleteReadEmpty();
    // A line event with the given event mask; ClearCommError then reports the error flags.
    void RaiseLineEvent(std::uint32_t mask, std::uint32_t errors = 0);
    // Completes a write left pending by a script.
    void CompletePendingWrite();
    // Writes take at most this many bytes per call.
    void SetWriteChunk(std::uint32_t bytes);
    void SetFileType(std::uint32_t type);

    std::vector<Call> Calls() const;
    std::size_t CountCalls(const std::string& op) const;
    bool WaitForCalls(const std::string& op, std::size_t count, std::chrono::milliseconds timeout);
    // Waits until the thread of the given name has made the call `count` times.
    bool WaitForCallOn(const std::string& op, const std::string& thread, std::chrono::milliseconds timeout,
                       std::size_t count = 1);
    std::vector<std::uint8_t> Written() const;
    std::vector<Dcb> CommStates() const;
    std::optional<CommTimeouts> Timeouts() const;
    std::vector<std::uint32_t> Purges() const;
    std::size_t LiveHandles() const;
    std::string OpenedName() const;

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
    int GetLastError() override;
    bool GetRs485(THandle device, Rs485Settings& settings) override;
    bool SetRs485(THandle device, const Rs485Settings& settings) override;
    THandle CreateEvent(bool manualReset, bool initialState, std::string_view label) override;
    bool SetEvent(THandle event) override;
    bool ResetEvent(THandle event) override;
    std::uint32_t WaitForMultipleObjects(std::span<const THandle> handles, std::uint32_t timeoutMs) override;
    std::uint32_t WaitForSingleObject(THandle handle, std::uint32_t timeoutMs) override;
    bool CreateThread(std::string_view label, std::function<void()> body, std::thread& thread) override;
    void SetThreadPriority(ThreadPriority priority) override;
    std::unique_ptr<std::uint8_t[]> AllocateBlock(std::size_t bytes) override;

  private:
    enum class OpKind { Read, Write, LineEvent };
    struct Op {
        OpKind Kind;
        std::uint8_t* ReadBuffer = nullptr;
        const std::uint8_t* WriteBuffer = nullptr;
        std::uint32_t Count = 0;
        std::uint32_t* MaskOut = nullptr;
        std::uint32_t Mask = 0;
        bool Complete = false;
        IoResult Result = IoResult::Done;
    };
    struct FakeEvent {
        bool ManualReset = true;
        bool Set = false;
    };
    struct Rule {
        std::string Op;
        std::string Thread;
        IoResult Outcome;
        int Times;
        int Skip;
        int Error = 0;
    };

    // Logs the call and answers a scripted outcome if one matches; the lock must be held.
    std::optional<IoResult> Enter(const std::string& op, const std::string& alias = {});
    bool DeviceOpen(THandle device) const;
    void CompleteOp(THandle event, IoResult result);
    // Leaves the operation pending on its record's event until a test completes it.
    IoResult Park(THandle event, const Op& op);
    std::size_t CountLocked(const std::string& op) const;
    std::uint32_t TakeRead(std::uint8_t* buffer, std::uint32_t count);
    std::uint32_t TakeWrite(const std::uint8_t* buffer, std::uint32_t count);
    std::uint32_t WaitLocked(std::unique_lock<std::mutex>& lock, std::span<const THandle> handles,
                             std::uint32_t timeoutMs);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Rule> rules_;
    std::vector<Call> calls_;
    std::map<THandle, FakeEvent> events_;
    std::map<THandle, Op> ops_; // keyed by the record's event
    THandle device_ = kNoHandle;
    THandle next_ = 1;
    std::string openedName_;
    std::uint32_t fileType_ = FILE_TYPE_CHAR;
    std::uint32_t writeChunk_ = 0xFFFFFFFFu;
    std::deque<std::uint8_t> received_;
    std::vector<std::uint8_t> written_;
    std::deque<std::pair<std::uint32_t, std::uint32_t>> lineEvents_; // mask, errors
    std::uint32_t pendingErrors_ = 0;
    Dcb state_{};
    std::vector<Dcb> commStates_;
    std::optional<CommTimeouts> timeouts_;
    std::vector<std::uint32_t> purges_;
    int lastError_ = 0;
    Rs485Settings rs485_;
    std::vector<Rs485Settings> rs485Writes_;
};

} // namespace lq::serial_testing
