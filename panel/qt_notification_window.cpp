#include "qt_notification_window.h"

#include <QCoreApplication>
#include <QEvent>

namespace lq {

namespace {

const QEvent::Type kNotificationEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class NotificationEvent final : public QEvent {
  public:
    explicit NotificationEvent(Notification n) : QEvent(kNotificationEvent), notification(std::move(n)) {}
    Notification notification;
};

} // namespace

QtNotificationWindow::QtNotificationWindow(QObject* parent) : QObject(parent) {}

void QtNotificationWindow::SetHandler(Handler handler) {
    handler_ = std::move(handler);
}

bool QtNotificationWindow::Post(Notification notification) {
    // postEvent takes ownership, is thread-safe and never waits for the receiving thread.
    QCoreApplication::postEvent(this, new NotificationEvent(std::move(notification)));
    return true;
}

bool QtNotificationWindow::event(QEvent* event) {
    if (event->type() != kNotificationEvent) return QObject::event(event);
    if (handler_) handler_(static_cast<NotificationEvent*>(event)->notification);
    return true;
}

} // namespace lq
