#pragma once

#include "serial/io_thread.h"
#include "serial/thread_message_queue.h"

#include <cstdint>

namespace lq {

// Transmits while the port is open: takes write requests from its queue in order, writes each block to the
// end, and posts NOTIFY_SEND_DATA_EMPTY when the queue runs empty after writing a block whose sender wanted
// that notice.
class TWriteThread {
  public:
    explicit TWriteThread(TIoThreadContext context);

    // False when the queue or the thread cannot be created.
    bool Create();
    void Resume() { thread_.Resume(); }
    void Join() { thread_.Join(); }
    // Called from the component's thread; false once the thread has ended or the queue is full.
    bool PostThreadMessage(ThreadMessage message) { return queue_.PostThreadMessage(std::move(message)); }

  private:
    void Execute();
    void Loop();
    bool Write(const std::uint8_t* data, std::uint32_t count);

    TIoThreadContext ctx_;
    TThreadMessageQueue queue_;
    UniqueHandle writeDone_;
    TIoThread thread_; // last: joined before the queue and the event go away
};

} // namespace lq
