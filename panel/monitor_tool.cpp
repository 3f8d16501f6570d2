#include "panel/monitor_tool.h"

#include <QAction>
#include <QScreen>

#include "panel/form1.h"
#include "panel/monitor_window.h"
#include "panel/screen_fit.h"
#include "panel/tools_menu.h"

namespace lq {

MonitorTool::MonitorTool(TForm1& form)
    : form_(form), action_(new QAction(QStringLiteral("通讯监视…"), &form)) {
    action_->setObjectName(QStringLiteral("openMonitor"));
    action_->setShortcut(Qt::Key_F12);
    connect(action_, &QAction::triggered, this, &MonitorTool::Open);
    form_.Tools().Add(action_);
}

MonitorTool::~MonitorTool() {
    delete window_;
    delete action_;
}

MonitorWindow* MonitorTool::Window() const {
    return window_;
}

QAction* MonitorTool::Action() const {
    return action_;
}

void MonitorTool::Open() {
    if (!window_) {
        window_ = new MonitorWindow(form_);
        window_->setAttribute(Qt::WA_DeleteOnClose);
        PlaceBesidePanel();
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void MonitorTool::PlaceBesidePanel() {
    // To the right of the panel where the screen has room, else as far right as it fits.
    const QScreen* screen = form_.screen();
    if (screen == nullptr) return;
    const QRect panel = form_.frameGeometry();
    QRect frame(QPoint(panel.right() + 8, panel.top()), window_->size());
    window_->move(PlaceInside(frame, screen->availableGeometry()));
}

} // namespace lq
