#include "panel/monitor/traffic_filter_model.h"

#include "panel/monitor/traffic_table_model.h"

namespace lq {

TrafficFilterModel::TrafficFilterModel(QObject* parent) : QSortFilterProxyModel(parent) {}

void TrafficFilterModel::SetFaultsOnly(bool faultsOnly) {
    if (faultsOnly == faultsOnly_) return;
    faultsOnly_ = faultsOnly;
    invalidateRowsFilter();
}

bool TrafficFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (!faultsOnly_) return true;
    const QModelIndex index = sourceModel()->index(sourceRow, 0, sourceParent);
    return sourceModel()->data(index, TrafficTableModel::kFaultRole).toBool();
}

} // namespace lq
