#pragma once

#include <QObject>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace lq {

// The way to the panel's extra windows without touching its designed layout: a context menu on the given
// widgets (the status strip and the link lamp) lists every tool's action, and each action's shortcut works
// anywhere in the main window.
class ToolsMenu final : public QObject {
    Q_OBJECT
  public:
    ToolsMenu(QWidget* window, const std::vector<QWidget*>& menuOwners);

    // The window takes the action for its shortcut; the menu lists it in the order added.
    void Add(QAction* action);
    // The menu as it would open (for tests and screenshots).
    QMenu* Menu() const { return menu_; }

  private:
    QWidget* window_;
    QMenu* menu_;
};

} // namespace lq
