#include "panel/journal/journal_history_view.h"

#include <QHeaderView>
#include <algorithm>

#include "panel/model_rearrangements.h"

namespace lq {

JournalHistoryView::JournalHistoryView(QWidget* parent) : QTableView(parent) {
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            &JournalHistoryView::SomethingElseChanged);
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this, &JournalHistoryView::SomethingElseChanged);
}

void JournalHistoryView::setModel(QAbstractItemModel* model) {
    if (QAbstractItemModel* old = this->model()) disconnect(old, nullptr, this, nullptr);
    QTableView::setModel(model);
    SomethingElseChanged();
    if (model == nullptr) return;
    connect(model, &QAbstractItemModel::rowsInserted, this, &JournalHistoryView::RowsInserted);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &JournalHistoryView::RowsRemoved);
    WatchRearrangements(model, this, &JournalHistoryView::SomethingElseChanged);
}

int JournalHistoryView::RowsInView() const {
    return viewport()->height() / std::max(1, verticalHeader()->defaultSectionSize()) + 1;
}

void JournalHistoryView::RowsInserted(const QModelIndex& parent, int first, int last) {
    if (parent.isValid() || first != 0) {
        SomethingElseChanged();
        return;
    }
    addedOnTop_ += last - first + 1;
}

void JournalHistoryView::RowsRemoved(const QModelIndex& parent, int first, int /*last*/) {
    // The oldest entries, dropped at the end while the rows on top are what is shown, change nothing in view.
    const bool atTheEnd = !parent.isValid() && first == model()->rowCount();
    if (!atTheEnd || first - addedOnTop_ < RowsInView()) SomethingElseChanged();
}

void JournalHistoryView::SomethingElseChanged() {
    onlyOnTop_ = false;
}

void JournalHistoryView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    // Rows dropped at the end tell of a change with nothing in it.
    if (!selected.isEmpty() || !deselected.isEmpty()) SomethingElseChanged();
    QTableView::selectionChanged(selected, deselected);
}

void JournalHistoryView::scrollContentsBy(int dx, int dy) {
    SomethingElseChanged();
    QTableView::scrollContentsBy(dx, dy);
}

void JournalHistoryView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    SomethingElseChanged();
    QTableView::currentChanged(current, previous);
}

void JournalHistoryView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                     const QList<int>& roles) {
    SomethingElseChanged();
    QTableView::dataChanged(topLeft, bottomRight, roles);
}

void JournalHistoryView::doItemsLayout() {
    const int added = addedOnTop_;
    const bool partial = onlyOnTop_ && added > 0;
    onlyOnTop_ = true;
    addedOnTop_ = 0;
    if (!partial) {
        QTableView::doItemsLayout();
        return;
    }
    const int left = horizontalOffset();
    updateGeometries();
    if (horizontalOffset() != left || verticalOffset() != 0) {
        viewport()->update();
        return;
    }
    viewport()->scroll(0, added * rowHeight(0));
}

} // namespace lq
