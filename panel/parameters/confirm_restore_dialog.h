#pragma once

#include <QDialog>
#include <vector>

#include "parameters/parameter_diff.h"

namespace lq {

// The list of writes a restore will make, shown before anything is written: register, name, the
// controller's value → the file's value, in units. Only "写入" lets them go.
class ConfirmRestoreDialog final : public QDialog {
    Q_OBJECT
  public:
    explicit ConfirmRestoreDialog(const std::vector<PlannedWrite>& writes, QWidget* parent = nullptr);
};

} // namespace lq
