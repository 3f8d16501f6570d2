#pragma once

#include <QWidget>
#include <functional>

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

namespace lq {

class TiComponent;

using TiNotifyEvent = std::function<void(TiComponent* Sender)>;
using TiMouseEvent = std::function<void(TiComponent* Sender, Qt::MouseButton Button,
                                        Qt::KeyboardModifiers Shift, int X, int Y)>;
using TiKeyEvent = std::function<void(TiComponent* Sender, int Key, Qt::KeyboardModifiers Shift)>;

// Root of the instrument family. It owns the click rule (a left release inside fires OnClick before the
// widget's own release reaction; the second press of a double click arms nothing), the key rule (a key
// press runs the own key-down reaction twice, around OnKeyDown) and swallows any exception thrown while
// a mouse or key message is handled, so a faulty handler never takes the widget down.
class TiComponent : public QWidget {
    Q_OBJECT
  public:
    explicit TiComponent(QWidget* parent = nullptr);

    TiNotifyEvent OnClick;
    TiNotifyEvent OnDblClick;
    TiMouseEvent OnMouseDown;
    TiMouseEvent OnMouseUp;
    TiKeyEvent OnKeyDown;
    TiKeyEvent OnKeyUp;

    // While design values are loaded no event fires and positions are stored as given.
    void BeginLoading();
    void EndLoading();
    bool Loading() const { return loadingDepth_ > 0; }

    bool TabStop() const;
    void SetTabStop(bool on);

    // The mouse and key entry points; an embedded editor forwards its own events here so that the
    // field obeys the same rules as a self-drawn widget. Positions are in this widget's coordinates.
    void HandleMousePress(QMouseEvent* e, QPoint pos);
    void HandleMouseDoubleClick(QMouseEvent* e, QPoint pos);
    void HandleMouseRelease(QMouseEvent* e, QPoint pos);
    void HandleMouseMove(QMouseEvent* e, QPoint pos);
    void HandleKeyPress(QKeyEvent* e);
    void HandleKeyRelease(QKeyEvent* e);
    void HandleWheel(QWheelEvent* e);

  protected:
    // The widget's own reactions; the root decides when they run.
    virtual void MouseDownReaction(QMouseEvent*, QPoint) {}
    virtual void MouseDoubleClickReaction(QMouseEvent* e, QPoint pos) { MouseDownReaction(e, pos); }
    virtual void MouseUpReaction(QMouseEvent*, QPoint) {}
    virtual void MouseMoveReaction(QMouseEvent*, QPoint) {}
    virtual void KeyDownReaction(QKeyEvent*) {}
    virtual void KeyCharReaction(QKeyEvent*) {}
    virtual void KeyUpReaction(QKeyEvent*) {}
    virtual void WheelReaction(QWheelEvent*) {}
    // Whether the wheel is the widget's own right now; if not, it goes on to the parent.
    virtual bool TakesWheel() const { return false; }
    virtual void FocusOutReaction(QFocusEvent*) {}

    // Runs a bound handler unless it is empty or design values are loading.
    void Fire(const TiNotifyEvent& handler);

    // Runs one step of message handling and drops whatever it throws.
    template <class F> static void Guarded(F&& step) noexcept {
        try {
            step();
        } catch (...) {
        }
    }

    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

  private:
    void FireMouse(const TiMouseEvent& handler, QMouseEvent* e, QPoint pos);
    void FireKey(const TiKeyEvent& handler, QKeyEvent* e);

    bool clickArmed_ = false;
    int loadingDepth_ = 0;
};

// The common ancestor of the concrete instruments.
class TiCustomComponent : public TiComponent {
    Q_OBJECT
  public:
    explicit TiCustomComponent(QWidget* parent = nullptr) : TiComponent(parent) {}
};

} // namespace lq
