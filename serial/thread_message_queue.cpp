#include "serial/thread_message_queue.h"

#include <array>

namespace lq {

TThreadMessageQueue::TThreadMessageQueue(ISerialBackend& backend, UniqueHandle inputEvent)
    : backend_(backend), inputEvent_(std::move(inputEvent))
{
}

bool TThreadMessageQueue::PostThreadMessage(ThreadMessage message)
{
    std::lock_guard lock(mutex_);
    if (closed_ || messages_.size() >= kCapacity) return false;
    messages_.push_back(std::move(message));
    backend_.SetEvent(inputEvent_.Get());
    return true;
}

bool TThreadMessageQueue::PeekMessage(ThreadMessage& message)
{
    std::lock_guard lock(mutex_);
    if (messages_.empty()) {
        // Reset under the lock so that a post racing with this call still leaves the event set.
        backend_.ResetEvent(inputEvent_.Get());
        return false;
    }
    message = std::move(messages_.front());
    messages_.pop_front();
    return true;
}

std::uint32_t TThreadMessageQueue::MsgWaitForMultipleObjects(THandle event)
{
    const std::array<THandle, 2> handles{event, inputEvent_.Get()};
    return backend_.WaitForMultipleObjects(handles, kInfinite);
}

void TThreadMessageQueue::Close()
{
    std::deque<ThreadMessage> dropped;
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        dropped.swap(messages_);
    }
}

} // namespace lq
