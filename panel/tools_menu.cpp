#include "panel/tools_menu.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace lq {

ToolsMenu::ToolsMenu(QWidget* window, const std::vector<QWidget*>& menuOwners)
    : QObject(window), window_(window), menu_(new QMenu(window)) {
    for (QWidget* owner : menuOwners) {
        owner->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(owner, &QWidget::customContextMenuRequested, this, [this, owner](const QPoint& at) {
            if (!menu_->actions().isEmpty()) menu_->popup(owner->mapToGlobal(at));
        });
    }
}

void ToolsMenu::Add(QAction* action) {
    action->setShortcutContext(Qt::WindowShortcut);
    window_->addAction(action);
    menu_->addAction(action);
}

} // namespace lq
