#include "serial/testing/fake_serial_backend.h"

#include "serial/io_thread.h"

#include <algorithm>
#include <pthread.h>

namespace lq::serial_testing {

namespace {

std::string CurrentThreadName() {
    char name[16] = {};
    pthread_getname_np(pthread_self(), name, sizeof name);
    return name;
}

} // namespace

void FakeSerialBackend::Script(const std::string& op, IoResult outcome, int times, const std::string& thread,
                               int skip) {
    std::lock_guard lock(mutex_);
    rules_.push_back(Rule{op, thread, outcome, times, skip});
}

void FakeSerialBackend::ScriptError(const std::string& op, int error) {
    std::lock_guard lock(mutex_);
    rules_.push_back(Rule{op, {}, IoResult::Failed, 1, 0, error});
}

void FakeSerialBackend::SetDeviceRs485(const Rs485Settings& settings) {
    std::lock_guard lock(mutex_);
    rs485_ = settings;
}

std::vector<Rs485Settings> FakeSerialBackend::Rs485Writes() const {
    std::lock_guard lock(mutex_);
    return rs485Writes_;
}

int FakeSerialBackend::GetLastError() {
    std::lock_guard lock(mutex_);
    return lastError_;
}

bool FakeSerialBackend::GetRs485(THandle device, Rs485Settings& settings) {
    std::lock_guard lock(mutex_);
    if (Enter("GetRs485") || !DeviceOpen(device)) return false;
    settings = rs485_;
    return true;
}

bool FakeSerialBackend::SetRs485(THandle device, const Rs485Settings& settings) {
    std::lock_guard lock(mutex_);
    if (Enter("SetRs485") || !DeviceOpen(device)) return false;
    rs485Writes_.push_back(settings);
    rs485_ = settings;
    return true;
}

std::optional<IoResult> FakeSerialBackend::Enter(const std::string& op, const std::string& alias) {
    const std::string thread = CurrentThreadName();
    calls_.push_back(Call{op, thread});
    changed_.notify_all();
    for (Rule& rule : rules_) {
        if (rule.Times <= 0 || (rule.Op != op && rule.Op != alias)) continue;
        if (!rule.Thread.empty() && rule.Thread != thread) continue;
        if (rule.Skip > 0) {
            --rule.Skip;
            return std::nullopt;
        }
        --rule.Times;
        lastError_ = rule.Error;
        return rule.Outcome;
    }
    return std::nullopt;
}

bool FakeSerialBackend::DeviceOpen(THandle device) const {
    return device != kNoHandle && device == device_;
}

void FakeSerialBackend::CompleteOp(THandle event, IoResult result) {
    const auto it = ops_.find(event);
    if (it == ops_.end() || it->second.Complete) return;
    it->second.Complete = true;
    it->second.Result = result;
    if (const auto ev = events_.find(event); ev != events_.end()) ev->second.Set = true;
    changed_.notify_all();
}

IoResult FakeSerialBackend::Park(THandle event, const Op& op) {
    ops_[event] = op;
    events_[event].Set = false;
    return IoResult::Pending;
}

std::size_t FakeSerialBackend::CountLocked(const std::string& op) const {
    return static_cast<std::size_t>(
        std::count_if(calls_.begin(), calls_.end(), [&op](const Call& c) { return c.Op == op; }));
}

std::uint32_t FakeSerialBackend::TakeRead(std::uint8_t* buffer, std::uint32_t count) {
    const auto n = static_cast<std::uint32_t>(std::min<std::size_t>(count, received_.size()));
    std::copy_n(received_.begin(), n, buffer);
    received_.erase(received_.begin(), received_.begin() + n);
    return n;
}

std::uint32_t FakeSerialBackend::TakeWrite(const std::uint8_t* buffer, std::uint32_t count) {
    const std::uint32_t n = std::min(count, writeChunk_);
    written_.insert(written_.end(), buffer, buffer + n);
    return n;
}

void FakeSerialBackend::Feed(const std::vector<std::uint8_t>& bytes) {
    std::lock_guard lock(mutex_);
    received_.insert(received_.end(), bytes.begin(), bytes.end());
    for (auto& [event, op] : ops_)
        if (op.Kind == OpKind::Read) CompleteOp(event, IoResult::Done);
}

void FakeSerialBackend::CompleteReadEmpty() {
    std::lock_guard lock(mutex_);
    received_.clear();
    for (auto& [event, op] : ops_)
        if (op.Kind == OpKind::Read) CompleteOp(event, IoResult::Done);
}

void FakeSerialBackend::RaiseLineEvent(std::uint32_t mask, std::uint32_t errors) {
    std::lock_guard lock(mutex_);
    for (auto& [event, op] : ops_) {
        if (op.Kind == OpKind::LineEvent && !op.Complete) {
            pendingErrors_ |= errors;
            op.Mask = mask;
            CompleteOp(event, IoResult::Done);
            return;
        }
    }
    lineEvents_.emplace_back(mask, errors);
}

void FakeSerialBackend::CompletePendingWrite() {
    std::lock_guard lock(mutex_);
    for (auto& [event, op] : ops_)
        if (op.Kind == OpKind::Write) CompleteOp(event, IoResult::Done);
}

void FakeSerialBackend::SetWriteChunk(std::uint32_t bytes) {
    std::lock_guard lock(mutex_);
    writeChunk_ = bytes;
}

void FakeSerialBackend::SetFileType(std::uint32_t type) {
    std::lock_guard lock(mutex_);
    fileType_ = type;
}

std::vector<FakeSerialBackend::Call> FakeSerialBackend::Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

std::size_t FakeSerialBackend::CountCalls(const std::string& op) const {
    std::lock_guard lock(mutex_);
    return CountLocked(op);
}

bool FakeSerialBackend::WaitForCalls(const std::string& op, std::size_t count,
                                     std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return CountLocked(op) >= count; });
}

bool FakeSerialBackend::WaitForCallOn(const std::string& op, const std::string& thread,
                                      std::chrono::milliseconds timeout, std::size_t count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] {
        return static_cast<std::size_t>(std::count_if(calls_.begin(), calls_.end(), [&](const Call& c) {
                   return c.Op == op && c.Thread == thread;
               })) >= count;
    });
}

std::vector<std::uint8_t> FakeSerialBackend::Written() const {
    std::lock_guard lock(mutex_);
    return written_;
}

std::vector<Dcb> FakeSerialBackend::CommStates() const {
    std::lock_guard lock(mutex_);
    return commStates_;
}

std::optional<CommTimeouts> FakeSerialBackend::Timeouts() const {
    std::lock_guard lock(mutex_);
    return timeouts_;
}

std::vector<std::uint32_t> FakeSerialBackend::Purges() const {
    std::lock_guard lock(mutex_);
    return purges_;
}

std::size_t FakeSerialBackend::LiveHandles() const {
    std::lock_guard lock(mutex_);
    return events_.size() + (device_ != kNoHandle ? 1 : 0);
}

std::string FakeSerialBackend::OpenedName() const {
    std::lock_guard lock(mutex_);
    return openedName_;
}

THandle FakeSerialBackend::CreateFile(const std::string& name) {
    std::lock_guard lock(mutex_);
    if (Enter("CreateFile") || device_ != kNoHandle) return kNoHandle;
    openedName_ = name;
    device_ = next_++;
    return device_;
}

std::uint32_t FakeSerialBackend::GetFileType(THandle) {
    std::lock_guard lock(mutex_);
    Enter("GetFileType");
    return fileType_;
}

bool FakeSerialBackend::SetupComm(THandle device, std::uint32_t, std::uint32_t) {
    std::lock_guard lock(mutex_);
    return !Enter("SetupComm") && DeviceOpen(device);
}

bool FakeSerialBackend::PurgeComm(THandle device, std::uint32_t flags) {
    std::lock_guard lock(mutex_);
    if (Enter("PurgeComm") || !DeviceOpen(device)) return false;
    purges_.push_back(flags);
    for (auto& [event, op] : ops_) {
        if ((flags & PURGE_RXABORT) && op.Kind == OpKind::Read) CompleteOp(event, IoResult::Failed);
        if ((flags & PURGE_TXABORT) && op.Kind == OpKind::Write) CompleteOp(event, IoResult::Failed);
    }
    if (flags & PURGE_RXCLEAR) received_.clear();
    return true;
}

bool FakeSerialBackend::GetCommState(THandle device, Dcb& dcb) {
    std::lock_guard lock(mutex_);
    if (Enter("GetCommState") || !DeviceOpen(device)) return false;
    dcb = state_;
    return true;
}

bool FakeSerialBackend::SetCommState(THandle device, const Dcb& dcb) {
    std::lock_guard lock(mutex_);
    if (Enter("SetCommState") || !DeviceOpen(device)) return false;
    commStates_.push_back(dcb);
    state_ = dcb;
    return true;
}

bool FakeSerialBackend::GetCommTimeouts(THandle device, CommTimeouts& timeouts) {
    std::lock_guard lock(mutex_);
    if (Enter("GetCommTimeouts") || !DeviceOpen(device)) return false;
    timeouts = timeouts_.value_or(CommTimeouts{});
    return true;
}

bool FakeSerialBackend::SetCommTimeouts(THandle device, const CommTimeouts& timeouts) {
    std::lock_guard lock(mutex_);
    if (Enter("SetCommTimeouts") || !DeviceOpen(device)) return false;
    timeouts_ = timeouts;
    return true;
}

bool FakeSerialBackend::SetCommMask(THandle device, std::uint32_t) {
    std::lock_guard lock(mutex_);
    return !Enter("SetCommMask") && DeviceOpen(device);
}

IoResult FakeSerialBackend::WaitCommEvent(THandle device, std::uint32_t* mask, Overlapped& ov) {
    std::lock_guard lock(mutex_);
    const auto scripted = Enter("WaitCommEvent");
    if (!DeviceOpen(device)) return IoResult::DeviceClosed;
    if (scripted && *scripted != IoResult::Pending) return *scripted;
    if (!scripted && !lineEvents_.empty()) {
        const auto [m, errors] = lineEvents_.front();
        lineEvents_.pop_front();
        *mask = m;
        pendingErrors_ |= errors;
        return IoResult::Done;
    }
    Op op{OpKind::LineEvent};
    op.MaskOut = mask;
    return Park(ov.hEvent, op);
}

IoResult FakeSerialBackend::ReadFile(THandle device, std::uint8_t* buffer, std::uint32_t count,
                                     std::uint32_t& read, Overlapped& ov) {
    std::lock_guard lock(mutex_);
    const auto scripted = Enter("ReadFile");
    if (!DeviceOpen(device)) return IoResult::DeviceClosed;
    if (scripted && *scripted != IoResult::Pending) {
        read = 0;
        return *scripted;
    }
    if (!scripted && !received_.empty()) {
        read = TakeRead(buffer, count);
        return IoResult::Done;
    }
    Op op{OpKind::Read};
    op.ReadBuffer = buffer;
    op.Count = count;
    return Park(ov.hEvent, op);
}

IoResult FakeSerialBackend::WriteFile(THandle device, const std::uint8_t* buffer, std::uint32_t count,
                                      std::uint32_t& written, Overlapped& ov) {
    std::lock_guard lock(mutex_);
    const auto scripted = Enter("WriteFile");
    if (!DeviceOpen(device)) return IoResult::DeviceClosed;
    if (scripted && *scripted != IoResult::Pending) return *scripted;
    if (!scripted) {
        written = TakeWrite(buffer, count);
        return IoResult::Done;
    }
    Op op{OpKind::Write};
    op.WriteBuffer = buffer;
    op.Count = count;
    return Park(ov.hEvent, op);
}

IoResult FakeSerialBackend::GetOverlappedResult(THandle, Overlapped& ov, std::uint32_t& transferred,
                                                bool wait) {
    std::unique_lock lock(mutex_);
    const auto scripted = Enter("GetOverlappedResult");
    if (scripted) return *scripted;
    auto it = ops_.find(ov.hEvent);
    if (it == ops_.end()) return IoResult::Failed;
    if (!it->second.Complete) {
        if (!wait) return IoResult::Pending;
        changed_.wait(lock, [&] {
            it = ops_.find(ov.hEvent);
            return it == ops_.end() || it->second.Complete;
        });
        if (it == ops_.end()) return IoResult::Failed;
    }
    const Op op = it->second;
    ops_.erase(it);
    if (op.Result != IoResult::Done) return op.Result;
    switch (op.Kind) {
    case OpKind::Read:
        transferred = TakeRead(op.ReadBuffer, op.Count);
        break;
    case OpKind::Write:
        transferred = TakeWrite(op.WriteBuffer, op.Count);
        break;
    case OpKind::LineEvent:
        *op.MaskOut = op.Mask;
        break;
    }
    return IoResult::Done;
}

IoResult FakeSerialBackend::ClearCommError(THandle device, std::uint32_t& errors) {
    std::lock_guard lock(mutex_);
    const auto scripted = Enter("ClearCommError");
    if (scripted) return *scripted;
    if (!DeviceOpen(device)) return IoResult::DeviceClosed;
    errors = pendingErrors_;
    pendingErrors_ = 0;
    return IoResult::Done;
}

bool FakeSerialBackend::CloseHandle(THandle handle) {
    std::lock_guard lock(mutex_);
    Enter("CloseHandle");
    if (handle != kNoHandle && handle == device_) {
        device_ = kNoHandle;
        for (auto& [event, op] : ops_)
            CompleteOp(event, IoResult::DeviceClosed);
        return true;
    }
    ops_.erase(handle);
    return events_.erase(handle) == 1;
}

THandle FakeSerialBackend::CreateEvent(bool manualReset, bool initialState, std::string_view label) {
    std::lock_guard lock(mutex_);
    if (Enter("CreateEvent", "CreateEvent:" + std::string(label))) return kNoHandle;
    const THandle h = next_++;
    events_[h] = FakeEvent{manualReset, initialState};
    return h;
}

bool FakeSerialBackend::SetEvent(THandle event) {
    std::lock_guard lock(mutex_);
    Enter("SetEvent");
    const auto it = events_.find(event);
    if (it == events_.end()) return false;
    it->second.Set = true;
    changed_.notify_all();
    return true;
}

bool FakeSerialBackend::ResetEvent(THandle event) {
    std::lock_guard lock(mutex_);
    const auto it = events_.find(event);
    if (it == events_.end()) return false;
    it->second.Set = false;
    return true;
}

std::uint32_t FakeSerialBackend::WaitLocked(std::unique_lock<std::mutex>& lock,
                                            std::span<const THandle> handles, std::uint32_t timeoutMs) {
    std::uint32_t index = kWaitFailed;
    const auto anySet = [&] {
        for (std::size_t i = 0; i < handles.size(); ++i) {
            const auto it = events_.find(handles[i]);
            if (it == events_.end()) {
                index = kWaitFailed;
                return true;
            }
            if (it->second.Set) {
                if (!it->second.ManualReset) it->second.Set = false;
                index = static_cast<std::uint32_t>(i);
                return true;
            }
        }
        return false;
    };
    if (timeoutMs == kInfinite) {
        changed_.wait(lock, anySet);
        return index;
    }
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), anySet) ? index : kWaitTimeout;
}

std::uint32_t FakeSerialBackend::WaitForMultipleObjects(std::span<const THandle> handles,
                                                        std::uint32_t timeoutMs) {
    std::unique_lock lock(mutex_);
    if (const auto scripted = Enter("WaitForMultipleObjects"))
        return *scripted == IoResult::Failed ? kWaitFailed : kWaitTimeout;
    return WaitLocked(lock, handles, timeoutMs);
}

std::uint32_t FakeSerialBackend::WaitForSingleObject(THandle handle, std::uint32_t timeoutMs) {
    std::unique_lock lock(mutex_);
    if (const auto scripted = Enter("WaitForSingleObject"))
        return *scripted == IoResult::Failed ? kWaitFailed : kWaitTimeout;
    const THandle handles[1] = {handle};
    return WaitLocked(lock, handles, timeoutMs);
}

bool FakeSerialBackend::CreateThread(std::string_view label, std::function<void()> body,
                                     std::thread& thread) {
    {
        std::lock_guard lock(mutex_);
        if (Enter("CreateThread", "CreateThread:" + std::string(label))) return false;
    }
    thread = StartNamedThread(label, std::move(body));
    return true;
}

void FakeSerialBackend::SetThreadPriority(ThreadPriority) {
    std::lock_guard lock(mutex_);
    Enter("SetThreadPriority");
}

std::unique_ptr<std::uint8_t[]> FakeSerialBackend::AllocateBlock(std::size_t bytes) {
    {
        std::lock_guard lock(mutex_);
        if (Enter("AllocateBlock")) return nullptr;
    }
    return std::make_unique<std::uint8_t[]>(bytes);
}

} // namespace lq::serial_testing
