#include "panel/design_scroll_area.h"

#include <QEvent>
#include <QScrollArea>

namespace lq {

DesignScrollArea::DesignScrollArea(QWidget* window, QWidget* design, int top)
    : QObject(window), window_(window), top_(top), area_(new QScrollArea(window)) {
    // The canvas carries the window's own background, so the design's margins look as they did.
    auto* canvas = new QWidget(window);
    canvas->resize(design->width(), window->height() - top);
    canvas->setAutoFillBackground(true);
    // Within one window the focus chain is kept, so the tab order is the design's.
    design->setParent(canvas);
    design->move(0, 0);
    design->show();
    area_->setFrameShape(QFrame::NoFrame);
    area_->setFocusPolicy(Qt::NoFocus);
    area_->setBackgroundRole(QPalette::Window);
    area_->setWidget(canvas);
    canvas->show();
    area_->lower();
    area_->show();
    Follow();
    window_->installEventFilter(this);
}

bool DesignScrollArea::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Resize) Follow();
    return false;
}

void DesignScrollArea::Follow() {
    area_->setGeometry(0, top_, window_->width(), window_->height() - top_);
}

} // namespace lq
