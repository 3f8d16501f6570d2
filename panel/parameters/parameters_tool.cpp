#include "panel/parameters/parameters_tool.h"

#include <QAction>
#include <QDateTime>
#include <QFileDialog>

#include "panel/form1.h"
#include "panel/parameters/confirm_restore_dialog.h"
#include "panel/tools_menu.h"

namespace lq {

namespace {

QString FileFilter() {
    return ParametersTool::tr("JSON (*.json)");
}

ParametersWindow::Questions Dialogs(const std::function<QWidget*()>& parent) {
    ParametersWindow::Questions q;
    q.savePath = [parent] {
        const QString name =
            QStringLiteral("pw5-parameters-%1.json")
                .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
        return QFileDialog::getSaveFileName(parent(), ParametersTool::tr("保存参数"), name, FileFilter());
    };
    q.openPath = [parent] {
        return QFileDialog::getOpenFileName(parent(), ParametersTool::tr("打开参数文件"), QString(),
                                            FileFilter());
    };
    q.confirm = [parent](const std::vector<PlannedWrite>& writes) {
        ConfirmRestoreDialog dialog(writes, parent());
        return dialog.exec() == QDialog::Accepted;
    };
    return q;
}

} // namespace

ParametersTool::ParametersTool(TForm1& form) : form_(form), action_(new QAction(tr("控制器参数"), this)) {
    questions = Dialogs([this] { return static_cast<QWidget*>(window_.Get()); });
    action_->setShortcut(Qt::Key_F10);
    form_.Tools().Add(action_);
    connect(action_, &QAction::triggered, this, [this] { Open(); });
}

ParametersTool::~ParametersTool() = default;

void ParametersTool::Open() {
    window_.Open([this] { return new ParametersWindow(form_, questions); });
}

} // namespace lq
