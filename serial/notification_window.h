#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace lq {

constexpr std::uint32_t WM_USER = 1024;
constexpr std::uint32_t NOTIFY_RECEIVE_DATA = WM_USER + 1;
constexpr std::uint32_t NOTIFY_RECEIVE_ERROR = WM_USER + 2;
constexpr std::uint32_t NOTIFY_REQUEST_HANGUP = WM_USER + 3;
constexpr std::uint32_t NOTIFY_MODEM_STATE_CHANGE = WM_USER + 4;
constexpr std::uint32_t NOTIFY_SEND_DATA_EMPTY = WM_USER + 5;

// One message to the owner thread. For NOTIFY_RECEIVE_DATA, WParam is the byte count and Data owns a copy
// of WParam + 1 bytes (the last one 0); otherwise Data is empty and LParam carries the flags.
struct Notification {
    std::uint32_t Message = 0;
    std::uintptr_t WParam = 0;
    std::uintptr_t LParam = 0;
    std::unique_ptr<std::uint8_t[]> Data;
    // NOTIFY_RECEIVE_DATA: when the delivery's first byte came, on the receive thread's steady clock.
    std::chrono::steady_clock::time_point FirstByteAt{};
};

// The target to which the I/O threads post; the seam to the GUI toolkit.
//
// Contract for an implementation:
// - SetHandler is called once by the component on the owner thread, before any Post.
// - Post may be called from any thread. It never blocks on the owner thread, keeps the order of the
//   notifications of each posting thread, and returns false when it cannot queue (the notification is
//   then dropped, its Data released).
// - The handler runs on the owner thread only, one notification at a time, in posting order.
// - Destroying the window releases every notification still queued without calling the handler.
//
// A Qt implementation is a QObject living on the GUI thread: Post wraps the notification in a QEvent and
// hands it to QCoreApplication::postEvent; event() unwraps it and calls the handler. Qt discards posted
// events of a destroyed object, which releases their Data.
class INotificationWindow {
  public:
    using Handler = std::function<void(Notification&)>;

    virtual ~INotificationWindow() = default;
    virtual void SetHandler(Handler handler) = 0;
    virtual bool Post(Notification notification) = 0;
};

} // namespace lq
