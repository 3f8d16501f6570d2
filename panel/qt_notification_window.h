#pragma once

#include <QObject>

#include "serial/notification_window.h"

namespace lq {

// Receives the serial threads' notifications on the thread this object lives on (the GUI thread): each Post
// becomes a posted event, handled in posting order by the event loop. Events still queued when the object is
// destroyed are discarded by Qt, which releases their byte blocks.
class QtNotificationWindow final : public QObject, public INotificationWindow {
    Q_OBJECT
  public:
    explicit QtNotificationWindow(QObject* parent = nullptr);

    void SetHandler(Handler handler) override;
    bool Post(Notification notification) override;

  protected:
    bool event(QEvent* event) override;

  private:
    Handler handler_;
};

} // namespace lq
