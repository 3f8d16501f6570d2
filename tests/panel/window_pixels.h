#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QScreen>
#include <QWidget>
#include <cstring>

// A view's pixels as its window last showed them, against the same view painted afresh: a view that repaints
// only what changed must end up as a full repaint would draw it.
namespace lq::test {

// Lets the delayed layout, the repaint and the flush to the window's pixels happen.
inline void SettleRepaints() {
    for (int n = 0; n < 4; ++n) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// The viewport's part of its window's own pixels, not a rendering.
inline QImage ShownPixels(const QWidget& window, const QWidget& viewport) {
    const QImage pixels = window.screen()->grabWindow(window.winId()).toImage();
    const QRect area(viewport.mapTo(&window, QPoint()) * pixels.devicePixelRatio(),
                     viewport.size() * pixels.devicePixelRatio());
    return pixels.copy(area).convertToFormat(QImage::Format_RGB32);
}

// The same viewport painted afresh, all of it at once.
inline QImage RepaintedPixels(QWidget& viewport) {
    return viewport.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The first line at which the two differ, or -1.
inline int FirstDifferentLine(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return 0;
    const auto bytes = static_cast<std::size_t>(a.bytesPerLine());
    for (int y = 0; y < a.height(); ++y)
        if (std::memcmp(a.constScanLine(y), b.constScanLine(y), bytes) != 0) return y;
    return -1;
}

} // namespace lq::test
