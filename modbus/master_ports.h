#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace lq {

// What the master sends through: the serial component's SendData. False when nothing could be queued.
class IFrameSender {
  public:
    virtual ~IFrameSender() = default;
    virtual bool SendData(const std::uint8_t* data, std::uint16_t count) = 0;
};

// The fixed pause after each request. The real one sleeps the calling (GUI) thread.
class IPause {
  public:
    virtual ~IPause() = default;
    virtual void Sleep(unsigned milliseconds) = 0;
};

// What the master needs of the main window. Each input is read afresh at the moment it is used.
class IMasterView {
  public:
    virtual ~IMasterView() = default;
    virtual std::string AddressText() const = 0;  // the slave-address box, as typed
    virtual bool CommunicationTicked() const = 0; // the "通讯" box
    virtual void ShowLinkLamp(bool lit) = 0; // lit: lit icon shown; dark: lit icon hidden, dark icon shown
    virtual void SetMemo12Text(const std::string& text) = 0;
};

// Where the master's time comes from: a monotonic clock for time-outs and round trips, the wall clock for
// the time stamps an operator reads. Tests step a fake one.
class IClock {
  public:
    virtual ~IClock() = default;
    virtual std::chrono::steady_clock::time_point Now() const = 0;
    virtual std::chrono::system_clock::time_point WallNow() const = 0;
};

// Sleeps the calling thread.
class ThreadSleepPause final : public IPause {
  public:
    void Sleep(unsigned milliseconds) override;
};

// The system's clocks.
class SystemClock final : public IClock {
  public:
    std::chrono::steady_clock::time_point Now() const override { return std::chrono::steady_clock::now(); }
    std::chrono::system_clock::time_point WallNow() const override {
        return std::chrono::system_clock::now();
    }
};

} // namespace lq
