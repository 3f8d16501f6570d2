#pragma once

#include <QSortFilterProxyModel>

namespace lq {

// The traffic table as shown: every row, or only the rows where something went wrong.
class TrafficFilterModel final : public QSortFilterProxyModel {
    Q_OBJECT
  public:
    explicit TrafficFilterModel(QObject* parent = nullptr);

    void SetFaultsOnly(bool faultsOnly);
    bool FaultsOnly() const { return faultsOnly_; }

  protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

  private:
    bool faultsOnly_ = false;
};

} // namespace lq
