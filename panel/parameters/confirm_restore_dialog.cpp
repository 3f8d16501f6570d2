#include "panel/parameters/confirm_restore_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "panel/parameters/parameter_texts.h"

namespace lq {

ConfirmRestoreDialog::ConfirmRestoreDialog(const std::vector<PlannedWrite>& writes, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("ConfirmRestoreDialog"));
    setWindowTitle(tr("确认恢复参数"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        tr("将逐个写入以下 %1 个寄存器（控制器的值 → 文件的值），每次写入后回读核对：").arg(writes.size()),
        this));
    auto* list = new QListWidget(this);
    for (const PlannedWrite& write : writes)
        list->addItem(ParameterTexts::PlannedLine(write));
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(this);
    // Nothing is preselected that writes: Enter alone cancels.
    QPushButton* cancel = buttons->addButton(tr("取消"), QDialogButtonBox::RejectRole);
    buttons->addButton(tr("写入"), QDialogButtonBox::AcceptRole)->setAutoDefault(false);
    cancel->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(460, 300);
}

} // namespace lq
