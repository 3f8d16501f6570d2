#pragma once

#include "serial/notification_window.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <limits>
#include <map>
#include <mutex>

namespace lq::serial_testing {

// Notification window for tests: the thread that calls Pump is the owner thread.
class PumpedNotificationWindow final : public INotificationWindow {
  public:
    void SetHandler(Handler handler) override;
    bool Post(Notification notification) override;

    // Handles everything queued now; returns how many were handled.
    std::size_t Pump();
    // Pumps until the predicate holds (checked after every notification) or the time is up.
    bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    // Pumps whatever arrives during the given time.
    void PumpFor(std::chrono::milliseconds duration);
    // Posts after the first `accepted` ones fail, as a full queue would.
    void RefusePostsAfter(std::size_t accepted);
    // Posts accepted so far.
    std::size_t Posted() const;
    // Posts of one message tried so far, refused ones included.
    std::size_t Attempts(std::uint32_t message) const;

  private:
    bool HandleOne(std::unique_lock<std::mutex>& lock);

    Handler handler_;
    mutable std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<Notification> queue_;
    std::size_t postedCount_ = 0;
    std::map<std::uint32_t, std::size_t> attempts_;
    std::size_t acceptLimit_ = std::numeric_limits<std::size_t>::max();
};

} // namespace lq::serial_testing
