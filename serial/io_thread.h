#pragma once

#include "serial/notification_window.h"
#include "serial/serial_backend.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace lq {

// One operating-system thread that is created suspended, runs its body once resumed, and is joined by
// Join or the destructor. A thread that is joined without having been resumed is resumed first, so that
// its body can see the stop event and end.
class TIoThread {
  public:
    TIoThread(ISerialBackend& backend, std::string label, std::function<void()> body);
    TIoThread(const TIoThread&) = delete;
    TIoThread& operator=(const TIoThread&) = delete;
    ~TIoThread();

    bool Create();
    void Resume();
    void Join();

  private:
    ISerialBackend& backend_;
    std::string label_;
    std::function<void()> body_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable resumed_;
    bool started_ = false;
};

// Every back end names its threads alike: the name shows in a debugger and in top, and the fake back end
// scripts outcomes per thread by it. Throws std::system_error as std::thread does.
std::thread StartNamedThread(std::string_view label, std::function<void()> body);

// What both I/O threads are handed by OpenPort.
struct TIoThreadContext {
    ISerialBackend& Backend;
    THandle Device;
    THandle StopEvent;
    INotificationWindow& Window;

    bool StopIsSet() const;
    bool Post(std::uint32_t message, std::uintptr_t lParam = 0) const;
    void PostHangup() const { Post(NOTIFY_REQUEST_HANGUP); }
};

} // namespace lq
