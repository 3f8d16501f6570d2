#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

#include "journal/alarm_board.h"

namespace lq {

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

    // The board may have changed: nine alarms at most, so the list is made again. A list that did not change
    // tells no view, as most entries of the journal are no alarm's; one whose alarms only changed state
    // repaints its rows and leaves the selection where it is.
    void Refresh();

    // Every text the state column can show, so that the window can make room for the longest.
    static QStringList StateTexts();

  private:
    struct Shown {
        int bit;
        Alarm alarm;
        bool operator==(const Shown& other) const {
            return bit == other.bit && alarm.state == other.alarm.state && alarm.since == other.alarm.since;
        }
    };

    const AlarmBoard& board_;
    std::vector<Shown> shown_; // in order
};

} // namespace lq
