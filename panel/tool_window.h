#pragma once

#include <QObject>
#include <QWidget>
#include <memory>

#include "panel/screen_fit.h"

namespace lq {

// How every tool window lives: made when it is opened, destroyed when the operator closes it, and destroyed
// with its tool at the latest, so none outlives the panel's master it shows. What has to outlast a closed
// window (the trend's series, a recording) belongs to the tool. The tool holds its window through this alone.
template <class Window> class ToolWindow {
  public:
    ToolWindow() = default;
    ToolWindow(const ToolWindow&) = delete;
    ToolWindow& operator=(const ToolWindow&) = delete;
    // The window goes now, not at a later turn of the event loop, which may not come.
    ~ToolWindow() { QObject::disconnect(closed_); }

    Window* Get() const { return window_.get(); }

    // Makes the window with make() unless it is open, then shows it and brings it to the front.
    template <class Make> void Open(Make make) {
        if (window_ == nullptr) {
            window_.reset(make());
            window_->setAttribute(Qt::WA_DeleteOnClose);
            // Closing deletes it; this only lets go of it.
            closed_ =
                QObject::connect(window_.get(), &QObject::destroyed, [this] { (void)window_.release(); });
            // A laptop's screen may be smaller than the window's own size: it lays out to what there is.
            FitBeforeShow(*window_);
        }
        window_->show();
        window_->raise();
        window_->activateWindow();
    }

  private:
    std::unique_ptr<Window> window_;
    QMetaObject::Connection closed_;
};

} // namespace lq
