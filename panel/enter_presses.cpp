#include "panel/enter_presses.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>

namespace lq {

namespace {

class EnterPresses final : public QObject {
  public:
    explicit EnterPresses(QAbstractButton* button) : QObject(button), button_(button) {
        button_->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != button_ || event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
        // A held key clicks once, as the mouse button does.
        if (!key->isAutoRepeat()) button_->click();
        return true;
    }

  private:
    QAbstractButton* button_;
};

} // namespace

void PressOnEnter(QAbstractButton* button) {
    new EnterPresses(button);
}

} // namespace lq
