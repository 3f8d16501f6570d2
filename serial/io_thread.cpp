#include "serial/io_thread.h"

namespace lq {

TIoThread::TIoThread(ISerialBackend& backend, std::string label, std::function<void()> body)
    : backend_(backend), label_(std::move(label)), body_(std::move(body))
{
}

TIoThread::~TIoThread() { Join(); }

bool TIoThread::Create()
{
    return backend_.CreateThread(label_, [this] {
        {
            std::unique_lock lock(mutex_);
            resumed_.wait(lock, [this] { return started_; });
        }
        body_();
    }, thread_);
}

void TIoThread::Resume()
{
    {
        std::lock_guard lock(mutex_);
        started_ = true;
    }
    resumed_.notify_one();
}

void TIoThread::Join()
{
    if (!thread_.joinable()) return;
    Resume();
    thread_.join();
}

bool TIoThreadContext::StopIsSet() const
{
    return Backend.WaitForSingleObject(StopEvent, 0) == 0;
}

bool TIoThreadContext::Post(std::uint32_t message, std::uintptr_t lParam) const
{
    Notification n;
    n.Message = message;
    n.LParam = lParam;
    return Window.Post(std::move(n));
}

} // namespace lq
