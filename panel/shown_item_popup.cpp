#include "panel/shown_item_popup.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>

namespace lq {

namespace {

// Watches the list's popup: by the time it is shown, Qt has put its current row on the box's index.
class ShownItemSelector final : public QObject {
  public:
    explicit ShownItemSelector(QComboBox* box) : QObject(box), box_(box) {
        box_->view()->window()->installEventFilter(this);
    }

    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Show) SelectShownItem();
        return false;
    }

  private:
    void SelectShownItem() {
        const int row = box_->findText(box_->currentText(), Qt::MatchExactly);
        if (row < 0) return;
        QAbstractItemView* view = box_->view();
        const QModelIndex item = box_->model()->index(row, box_->modelColumn(), box_->rootModelIndex());
        view->selectionModel()->setCurrentIndex(item, QItemSelectionModel::ClearAndSelect);
        view->scrollTo(item);
    }

    QComboBox* box_;
};

} // namespace

void SelectShownItemWhenOpened(QComboBox* box) {
    new ShownItemSelector(box);
}

} // namespace lq
