#pragma once

#include <QTableView>

namespace lq {

// A table view that repaints only the rows added at its end. QTableView lays itself out again whenever its
// row count changes and then repaints everything it shows; for a record that grows by a few rows every
// second, that full repaint would be nearly all the cost of the window. Here, when nothing but rows at the
// end came since the last layout, the scroll bars are updated and only the new rows' area is repainted
// (following the newest row scrolls what is shown and repaints what the scroll uncovers). Anything else —
// rows removed, a reset, a new filter — gets QTableView's full layout.
class TrafficTableView final : public QTableView {
    Q_OBJECT
  public:
    explicit TrafficTableView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    void doItemsLayout() override;

  private:
    void RowsAppended(const QModelIndex& parent, int first, int last);
    void SomethingElseChanged();

    bool onlyAppends_ = true;
    int firstAppended_ = -1; // the first row added since the last layout; -1 for none
};

} // namespace lq
