#pragma once

#include <QObject>

class QScrollArea;
class QWidget;

namespace lq {

// The main window's design-time layout on a screen smaller than the design: the design (everything below
// the title strip) goes into a scroll area that fills the window below `top`, each component keeping its
// place and size, and scroll bars reach what the window cannot show. The title strip stays where it is.
class DesignScrollArea final : public QObject {
  public:
    // `design` is a child of `window` at (0, top); the window's background below it is part of the design.
    DesignScrollArea(QWidget* window, QWidget* design, int top);

    QScrollArea* Area() const { return area_; }

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Follow();

    QWidget* window_;
    int top_;
    QScrollArea* area_;
};

} // namespace lq
