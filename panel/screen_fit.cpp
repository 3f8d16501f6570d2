#include "panel/screen_fit.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace lq {

namespace {

// What the system's frame adds around a window's client area, from a window already on the screen.
QMargins ShownFrameMargins(const QWidget& except) {
    QMargins largest;
    for (const QWidget* shown : QApplication::topLevelWidgets()) {
        if (shown == &except || !shown->isVisible()) continue;
        const QRect frame = shown->frameGeometry();
        const QRect client = shown->geometry();
        const QMargins m(client.left() - frame.left(), client.top() - frame.top(),
                         frame.right() - client.right(), frame.bottom() - client.bottom());
        if (m.left() + m.top() + m.right() + m.bottom() >
            largest.left() + largest.top() + largest.right() + largest.bottom())
            largest = m;
    }
    return largest;
}

} // namespace

QPoint PlaceInside(const QRect& frame, const QRect& area) {
    // The far edge first, then the near one, so that the top left corner wins when both cannot.
    const int x = std::max(area.left(), std::min(frame.left(), area.right() - frame.width() + 1));
    const int y = std::max(area.top(), std::min(frame.top(), area.bottom() - frame.height() + 1));
    return {x, y};
}

QRect FitInside(const QRect& frame, const QSize& minimum, const QRect& area) {
    const QSize size = frame.size().boundedTo(area.size()).expandedTo(minimum);
    return {PlaceInside(QRect(frame.topLeft(), size), area), size};
}

void FitBeforeShow(QWidget& window) {
    const QScreen* screen = window.screen();
    if (screen == nullptr) return;
    const QMargins frame = ShownFrameMargins(window);
    const QSize least = window.minimumSizeHint().expandedTo(window.minimumSize());
    const QRect fitted = FitInside(QRect(window.pos(), window.size().grownBy(frame)), least.grownBy(frame),
                                   screen->availableGeometry());
    window.resize(fitted.size().shrunkBy(frame));
    window.move(fitted.topLeft());
}

} // namespace lq
