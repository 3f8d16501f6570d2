#pragma once

#include <QAbstractTableModel>
#include <deque>

#include "monitor/traffic_row.h"
#include "monitor/traffic_rows.h"

namespace lq {

// The traffic record as a table: one row per frame sent, per delivery and per missing reply, the newest
// 10 000 at most. Rows are held back until the owner flushes them in, once a second, so that the view is
// touched once for a batch instead of once for each of a few rows per poll tick; while paused they stay held
// back, bounded the same way, and appear when the pause ends. When the table is full, the oldest tenth makes
// room at once: removing rows from the top makes the view repaint everything, which should not happen at
// every flush.
class TrafficTableModel final : public QAbstractTableModel, public TrafficObserver {
    Q_OBJECT
  public:
    // The meaning before the bytes: a reply's 25 bytes in hex are wider than the rest together.
    enum Column {
        TimeColumn,
        DirectionColumn,
        MeaningColumn,
        AnswerTimeColumn,
        RoundTripColumn,
        BytesColumn,
        ColumnCount
    };
    static constexpr int kFaultRole = Qt::UserRole;

    explicit TrafficTableModel(std::size_t capacity = TrafficRows::kDefaultCapacity,
                               QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Moves the rows held back into the table, unless paused.
    void Flush();
    void SetPaused(bool paused);
    bool Paused() const { return paused_; }
    void Clear();

    const TrafficRows& Rows() const { return rows_; }
    std::size_t HeldBack() const { return pending_.size(); }

  protected:
    void AddRow(TrafficRow row) override;

  private:
    QVariant Display(const TrafficRow& row, int column) const;

    TrafficRows rows_;
    std::deque<TrafficRow> pending_;
    bool paused_ = false;
};

} // namespace lq
