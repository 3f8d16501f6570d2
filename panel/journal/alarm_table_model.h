#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

namespace lq {

class AlarmBoard;

// The alarms that are not back to normal: the active ones and those returned but not yet acknowledged,
// the unacknowledged first and standing out, each with its state and since when.
class AlarmTableModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { NameColumn, StateColumn, SinceColumn, SubjectColumn, ColumnCount };
    static constexpr int kBitRole = Qt::UserRole;

    explicit AlarmTableModel(const AlarmBoard& board, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The board changed: nine alarms at most, so the list is simply made again.
    void Refresh();

    // Every text the state column can show, so that the window can make room for the longest.
    static QStringList StateTexts();

  private:
    const AlarmBoard& board_;
    std::vector<int> bits_; // shown, in order
};

} // namespace lq
