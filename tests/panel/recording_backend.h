#pragma once

#include <vector>

#include "serial/serial_backend.h"

namespace lq::test {

// The real POSIX back end with a record of every control block written, for settings a pseudo-terminal
// does not keep (it forces 8 data bits and no parity whatever it is told).
class RecordingBackend final : public ISerialBackend {
  public:
    std::vector<Dcb> statesWritten;

    THandle CreateFile(const std::string& name) override { return real_->CreateFile(name); }
    std::uint32_t GetFileType(THandle d) override { return real_->GetFileType(d); }
    bool SetupComm(THandle d, std::uint32_t in, std::uint32_t out) override {
        return real_->SetupComm(d, in, out);
    }
    bool PurgeComm(THandle d, std::uint32_t flags) override { return real_->PurgeComm(d, flags); }
    bool GetCommState(THandle d, Dcb& dcb) override { return real_->GetCommState(d, dcb); }
    bool SetCommState(THandle d, const Dcb& dcb) override {
        statesWritten.push_back(dcb);
        return real_->SetCommState(d, dcb);
    }
    bool GetCommTimeouts(THandle d, CommTimeouts& t) override { return real_->GetCommTimeouts(d, t); }
    bool SetCommTimeouts(THandle d, const CommTimeouts& t) override { return real_->SetCommTimeouts(d, t); }
    bool SetCommMask(THandle d, std::uint32_t mask) override { return real_->SetCommMask(d, mask); }
    IoResult WaitCommEvent(THandle d, std::uint32_t* mask, Overlapped& ov) override {
        return real_->WaitCommEvent(d, mask, ov);
    }
    IoResult ReadFile(THandle d, std::uint8_t* b, std::uint32_t n, std::uint32_t& got,
                      Overlapped& ov) override {
        return real_->ReadFile(d, b, n, got, ov);
    }
    IoResult WriteFile(THandle d, const std::uint8_t* b, std::uint32_t n, std::uint32_t& put,
                       Overlapped& ov) override {
        return real_->WriteFile(d, b, n, put, ov);
    }
    IoResult GetOverlappedResult(THandle d, Overlapped& ov, std::uint32_t& n, bool wait) override {
        return real_->GetOverlappedResult(d, ov, n, wait);
    }
    IoResult ClearCommError(THandle d, std::uint32_t& errors) override {
        return real_->ClearCommError(d, errors);
    }
    bool CloseHandle(THandle h) override { return real_->CloseHandle(h); }
    int GetLastError() override { return real_->GetLastError(); }
    bool GetRs485(THandle d, Rs485Settings& s) override { return real_->GetRs485(d, s); }
    bool SetRs485(THandle d, const Rs485Settings& s) override { return real_->SetRs485(d, s); }
    THandle CreateEvent(bool manual, bool initial, std::string_view label) override {
        return real_->CreateEvent(manual, initial, label);
    }
    bool SetEvent(THandle e) override { return real_->SetEvent(e); }
    bool ResetEvent(THandle e) override { return real_->ResetEvent(e); }
    std::uint32_t WaitForMultipleObjects(std::span<const THandle> h, std::uint32_t ms) override {
        return real_->WaitForMultipleObjects(h, ms);
    }
    bool CreateThread(std::string_view label, std::function<void()> body, std::thread& t) override {
        return real_->CreateThread(label, std::move(body), t);
    }
    void SetThreadPriority(ThreadPriority p) override { real_->SetThreadPriority(p); }
    std::unique_ptr<std::uint8_t[]> AllocateBlock(std::size_t n) override { return real_->AllocateBlock(n); }

  private:
    std::shared_ptr<ISerialBackend> real_ = MakePosixBackend();
};

} // namespace lq::test
