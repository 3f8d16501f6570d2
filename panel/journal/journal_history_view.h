#pragma once

#include <QTableView>

namespace lq {

// The history's table, newest first. Every entry comes on top and moves all rows down, and QTableView would
// lay itself out again and repaint every row it shows, laying out each cell's text anew, for each entry: on
// a line that fails now and then, most of the window's cost. Here, while the view is at the top and nothing
// but rows on top came since the last layout (and the oldest dropped far below what is shown), the pixels
// shown are moved down and only the new rows are painted. Anything else — the view scrolled down, a filter
// changed, rows removed in view, a reset — gets QTableView's full layout; so does anything that asked for a
// repaint of part of the rows since (a selection, a column resized, a scroll), as moving the pixels would
// leave that part where it was.
class JournalHistoryView final : public QTableView {
    Q_OBJECT
  public:
    explicit JournalHistoryView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    void doItemsLayout() override;

  protected:
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void scrollContentsBy(int dx, int dy) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;

  private:
    void RowsInserted(const QModelIndex& parent, int first, int last);
    void RowsRemoved(const QModelIndex& parent, int first, int last);
    void SomethingElseChanged();
    int RowsInView() const;

    bool onlyOnTop_ = true;
    int addedOnTop_ = 0; // rows added on top since the last layout
};

} // namespace lq
