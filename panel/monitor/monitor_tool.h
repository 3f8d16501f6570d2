#pragma once

#include <QObject>

#include "panel/tool_window.h"

class QAction;

namespace lq {

class MonitorWindow;
class TForm1;

// The way into "通讯监视": the action "通讯监视…" (F12) in the panel's tools menu. The window lives as every
// tool window does (ToolWindow), so a closed window costs nothing. Destroy the entry before the panel: it
// takes an open window with it while the panel's port and master still exist.
class MonitorTool final : public QObject {
    Q_OBJECT
  public:
    explicit MonitorTool(TForm1& form);
    ~MonitorTool() override;

    // Shows the window, making it if needed, beside the panel, and brings it to the front.
    void Open();
    MonitorWindow* Window() const;
    QAction* Action() const;

  private:
    void PlaceBesidePanel(MonitorWindow& window) const;

    TForm1& form_;
    ToolWindow<MonitorWindow> window_;
    QAction* action_;
};

} // namespace lq
