#pragma once

#include "serial/io_thread.h"

#include <array>
#include <cstdint>

namespace lq {

// Receives while the port is open: one read of up to 4096 bytes is always pending, and each completed read
// is posted as one NOTIFY_RECEIVE_DATA; line events become error and modem notifications.
class TReadThread {
public:
    static constexpr std::uint32_t kReadSize = 4096;
    static constexpr std::uint32_t kEventMask = EV_RLSD | EV_ERR | EV_RING;

    explicit TReadThread(TIoThreadContext context);

    bool Create() { return thread_.Create(); }
    void Resume() { thread_.Resume(); }
    void Join() { thread_.Join(); }

private:
    void Execute();
    void Loop();
    bool ArmEventWait();
    bool ArmRead();
    bool HandleLineEvent(bool wasPending);
    bool Deliver(std::uint32_t count);
    // Hang-up is posted for every failure except a device that is already closed.
    bool FailUnlessClosed(IoResult result);

    TIoThreadContext ctx_;
    std::array<std::uint8_t, kReadSize> buffer_{};
    Overlapped eventRecord_;
    Overlapped readRecord_;
    std::uint32_t eventMask_ = 0;
    std::uint32_t bytesRead_ = 0;
    TIoThread thread_; // last: joined before the state above goes away
};

} // namespace lq
