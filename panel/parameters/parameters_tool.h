#pragma once

#include <QObject>

#include "panel/parameters/parameters_window.h"
#include "panel/tool_window.h"

class QAction;

namespace lq {

class TForm1;

// The way into "控制器参数": its action (F10) in the panel's tools menu. The window lives as every tool
// window does (ToolWindow). Destroy the tool before the panel: an open window listens to the panel's master.
class ParametersTool final : public QObject {
    Q_OBJECT
  public:
    explicit ParametersTool(TForm1& form);
    ~ParametersTool() override;

    void Open();
    ParametersWindow* Window() const { return window_.Get(); }
    QAction* Action() const { return action_; }
    // Dialogs unless replaced (tests, screenshots); used by windows opened afterwards.
    ParametersWindow::Questions questions;

  private:
    TForm1& form_;
    ToolWindow<ParametersWindow> window_;
    QAction* action_;
};

} // namespace lq
