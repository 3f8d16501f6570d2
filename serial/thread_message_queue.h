#pragma once

#include "serial/serial_backend.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

namespace lq {

constexpr std::uint32_t REQUEST_WRITE = 1025;

struct ThreadMessage {
    std::uint32_t Message = 0;
    std::uintptr_t WParam = 0;
    std::unique_ptr<std::uint8_t[]> Block;
    // Whether the sender wants NOTIFY_SEND_DATA_EMPTY once this block is out and nothing else is queued.
    bool NoticeWhenSent = true;
};

// The transmit thread's own queue: any thread posts without blocking, the owner takes messages in order
// and can wait for new input together with other back-end events.
class TThreadMessageQueue {
  public:
    // Same bound as a Windows thread queue, so a stalled line cannot eat all memory.
    static constexpr std::size_t kCapacity = 10000;

    TThreadMessageQueue(ISerialBackend& backend, UniqueHandle inputEvent);

    bool Valid() const { return static_cast<bool>(inputEvent_); }
    // False once the queue is closed or full; the message is then released.
    bool PostThreadMessage(ThreadMessage message);
    // Takes the oldest message without waiting; false when there is none.
    bool PeekMessage(ThreadMessage& message);
    // Waits for the given event or for input posted after the last empty PeekMessage: 0 for the event,
    // 1 for input, anything else on failure.
    std::uint32_t MsgWaitForMultipleObjects(THandle event);
    // Refuses further posts and releases what is still queued.
    void Close();

  private:
    ISerialBackend& backend_;
    UniqueHandle inputEvent_;
    std::mutex mutex_;
    std::deque<ThreadMessage> messages_;
    bool closed_ = false;
};

} // namespace lq
