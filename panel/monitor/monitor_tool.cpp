#include "panel/monitor/monitor_tool.h"

#include <QAction>
#include <QScreen>

#include "panel/form1.h"
#include "panel/monitor/monitor_window.h"
#include "panel/screen_fit.h"
#include "panel/tools_menu.h"

namespace lq {

MonitorTool::MonitorTool(TForm1& form) : form_(form), action_(new QAction(tr("通讯监视…"), this)) {
    action_->setObjectName(QStringLiteral("openMonitor"));
    action_->setShortcut(Qt::Key_F12);
    connect(action_, &QAction::triggered, this, &MonitorTool::Open);
    form_.Tools().Add(action_);
}

MonitorTool::~MonitorTool() = default;

MonitorWindow* MonitorTool::Window() const {
    return window_.Get();
}

QAction* MonitorTool::Action() const {
    return action_;
}

void MonitorTool::Open() {
    window_.Open([this] {
        auto* window = new MonitorWindow(form_);
        PlaceBesidePanel(*window);
        return window;
    });
}

void MonitorTool::PlaceBesidePanel(MonitorWindow& window) const {
    // To the right of the panel where the screen has room, else as far right as it fits.
    const QScreen* screen = form_.screen();
    if (screen == nullptr) return;
    const QRect panel = form_.frameGeometry();
    QRect frame(QPoint(panel.right() + 8, panel.top()), window.size());
    window.move(PlaceInside(frame, screen->availableGeometry()));
}

} // namespace lq
