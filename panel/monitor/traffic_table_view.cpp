#include "panel/monitor/traffic_table_view.h"

#include <QHeaderView>

#include "panel/model_rearrangements.h"

namespace lq {

TrafficTableView::TrafficTableView(QWidget* parent) : QTableView(parent) {
    // Rows added below leave a scroll value in pixels where it was, so following the newest row scrolls the
    // pixels shown and repaints only the rows uncovered; in steps of a row, every batch would move them all.
    setVerticalScrollMode(ScrollPerPixel);
}

void TrafficTableView::setModel(QAbstractItemModel* model) {
    if (QAbstractItemModel* old = this->model()) disconnect(old, nullptr, this, nullptr);
    QTableView::setModel(model);
    SomethingElseChanged();
    if (model == nullptr) return;
    connect(model, &QAbstractItemModel::rowsInserted, this, &TrafficTableView::RowsAppended);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &TrafficTableView::SomethingElseChanged);
    WatchRearrangements(model, this, &TrafficTableView::SomethingElseChanged);
}

void TrafficTableView::RowsAppended(const QModelIndex& parent, int first, int last) {
    if (parent.isValid() || last != model()->rowCount() - 1) {
        SomethingElseChanged();
        return;
    }
    if (firstAppended_ < 0) firstAppended_ = first;
}

void TrafficTableView::SomethingElseChanged() {
    onlyAppends_ = false;
}

void TrafficTableView::doItemsLayout() {
    const bool partial = onlyAppends_ && firstAppended_ >= 0;
    const int first = firstAppended_;
    onlyAppends_ = true;
    firstAppended_ = -1;
    if (!partial) {
        QTableView::doItemsLayout();
        return;
    }
    // Laying out again can move what is shown without scrolling its pixels: a view at the bottom in steps of
    // a row shows the last row at the viewport's bottom edge, and once rows are added below it, the same
    // scroll value means the first row at the top edge. Only while the rows shown stay where they were may
    // the pixels on the screen stay.
    const int left = horizontalOffset();
    const int above = verticalOffset();
    updateGeometries();
    if (horizontalOffset() != left || verticalOffset() != above) {
        viewport()->update();
        return;
    }
    const int top = rowViewportPosition(first);
    if (top < viewport()->height())
        viewport()->update(0, top, viewport()->width(), viewport()->height() - top);
}

} // namespace lq
