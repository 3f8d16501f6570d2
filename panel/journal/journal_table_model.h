#pragma once

#include <QAbstractTableModel>
#include <cstdint>

namespace lq {

class JournalStore;

// The journal's history as a table, newest first. Catch() brings in what the store gained since the last
// call, rows added at the top and the oldest dropped at the bottom, so the view is not reset for each entry.
class JournalTableModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column {
        TimeColumn,
        KindColumn,
        SubjectColumn,
        ValueColumn,
        OutcomeColumn,
        TextColumn,
        ColumnCount
    };
    static constexpr int kKindRole = Qt::UserRole; // the entry's EntryKind as an int

    explicit JournalTableModel(const JournalStore& store, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void Catch();

  private:
    const JournalStore& store_;
    std::size_t rows_ = 0;
    std::uint64_t caught_ = 0; // the store's total when last caught up
};

// The kinds' names in the panel's language, for the table and the filter.
QString KindText(int kind);

} // namespace lq
