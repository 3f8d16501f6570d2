#include "serial/io_thread.h"

#include <pthread.h>

namespace lq {

TIoThread::TIoThread(ISerialBackend& backend, std::string label, std::function<void()> body)
    : backend_(backend), label_(std::move(label)), body_(std::move(body)) {}

TIoThread::~TIoThread() {
    Join();
}

bool TIoThread::Create() {
    return backend_.CreateThread(
        label_,
        [this] {
            {
                std::unique_lock lock(mutex_);
                resumed_.wait(lock, [this] { return started_; });
            }
            body_();
        },
        thread_);
}

void TIoThread::Resume() {
    {
        std::lock_guard lock(mutex_);
        started_ = true;
    }
    resumed_.notify_one();
}

void TIoThread::Join() {
    if (!thread_.joinable()) return;
    Resume();
    thread_.join();
}

std::thread StartNamedThread(std::string_view label, std::function<void()> body) {
    // The kernel keeps at most 15 characters of a thread's name and refuses a longer one outright.
    return std::thread([name = std::string(label.substr(0, 15)), body = std::move(body)] {
        pthread_setname_np(pthread_self(), name.c_str());
        body();
    });
}

bool TIoThreadContext::StopIsSet() const {
    return Backend.WaitForSingleObject(StopEvent, 0) == 0;
}

bool TIoThreadContext::Post(std::uint32_t message, std::uintptr_t lParam) const {
    Notification n;
    n.Message = message;
    n.LParam = lParam;
    return Window.Post(std::move(n));
}

} // namespace lq
