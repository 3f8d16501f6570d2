#include "serial/testing/pumped_notification_window.h"

namespace lq::serial_testing {

void PumpedNotificationWindow::SetHandler(Handler handler) {
    handler_ = std::move(handler);
}

bool PumpedNotificationWindow::Post(Notification notification) {
    {
        std::lock_guard lock(mutex_);
        ++attempts_[notification.Message];
        if (postedCount_ >= acceptLimit_) return false;
        ++postedCount_;
        queue_.push_back(std::move(notification));
    }
    posted_.notify_all();
    return true;
}

bool PumpedNotificationWindow::HandleOne(std::unique_lock<std::mutex>& lock) {
    if (queue_.empty()) return false;
    Notification n = std::move(queue_.front());
    queue_.pop_front();
    lock.unlock();
    if (handler_) handler_(n);
    lock.lock();
    return true;
}

std::size_t PumpedNotificationWindow::Pump() {
    std::unique_lock lock(mutex_);
    std::size_t handled = 0;
    while (HandleOne(lock))
        ++handled;
    return handled;
}

bool PumpedNotificationWindow::PumpUntil(const std::function<bool()>& done,
                                         std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::unique_lock lock(mutex_);
    for (;;) {
        while (HandleOne(lock)) {
            lock.unlock();
            const bool finished = done();
            lock.lock();
            if (finished) return true;
        }
        lock.unlock();
        if (done()) return true;
        lock.lock();
        if (!posted_.wait_until(lock, deadline, [this] { return !queue_.empty(); })) return false;
    }
}

void PumpedNotificationWindow::PumpFor(std::chrono::milliseconds duration) {
    PumpUntil([] { return false; }, duration);
}

void PumpedNotificationWindow::RefusePostsAfter(std::size_t accepted) {
    std::lock_guard lock(mutex_);
    acceptLimit_ = accepted;
}

std::size_t PumpedNotificationWindow::Posted() const {
    std::lock_guard lock(mutex_);
    return postedCount_;
}

std::size_t PumpedNotificationWindow::Attempts(std::uint32_t message) const {
    std::lock_guard lock(mutex_);
    const auto found = attempts_.find(message);
    return found == attempts_.end() ? 0 : found->second;
}

} // namespace lq::serial_testing
