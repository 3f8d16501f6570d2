#pragma once

#include "widgets/ti_position_component.h"

#include <optional>

class QPainter;

namespace lq {

// A rotary knob. A drag that starts on the grip turns it by the change of the mouse angle around the
// centre; focused, it steps with the arrow and page keys and jumps with Home/End, Enter clicks it (on the
// release of a press that went down on it, as the left button does) and Escape takes back what the keys
// turned since the last click; the wheel steps once
// per notch of 120 units of angle, ignoring notches that follow the last accepted one by less than 30 ms,
// and only while it has the focus and UseKeyboard is on: scrolling past it leaves it where it is.
class TiKnob : public TiScaleComponent {
    Q_OBJECT
  public:
    explicit TiKnob(QWidget* parent = nullptr);

    int RotationStartDegrees() const { return rotationStartDegrees_; }
    void SetRotationStartDegrees(int d);
    int RotationMaxDegrees() const { return rotationMaxDegrees_; }
    void SetRotationMaxDegrees(int d);
    int KnobRadius() const { return knobRadius_; }
    void SetKnobRadius(int r);
    double KeyArrowStepSize() const { return keyArrowStepSize_; }
    void SetKeyArrowStepSize(double s) { keyArrowStepSize_ = s; }
    double KeyPageStepSize() const { return keyPageStepSize_; }
    void SetKeyPageStepSize(double s) { keyPageStepSize_ = s; }
    double MouseWheelStepSize() const { return mouseWheelStepSize_; }
    void SetMouseWheelStepSize(double s) { mouseWheelStepSize_ = s; }
    bool UseKeyboard() const { return useKeyboard_; }
    void SetUseKeyboard(bool on) { useKeyboard_ = on; }
    bool ShowPostionDisplay() const { return showPostionDisplay_; }
    void SetShowPostionDisplay(bool on);
    int PositionDisplayPrecision() const { return positionDisplayPrecision_; }
    void SetPositionDisplayPrecision(int p);
    QString PositionDisplayUnits() const { return positionDisplayUnits_; }
    void SetPositionDisplayUnits(const QString& units);
    TColor KnobColor() const { return knobColor_; }
    void SetKnobColor(TColor c);
    TColor IndicatorColor() const { return indicatorColor_; }
    void SetIndicatorColor(TColor c);

    // The text in the knob's centre while ShowPostionDisplay is on.
    QString PositionDisplayText() const;
    bool Dragging() const { return dragging_; }

  protected:
    void MouseDownReaction(QMouseEvent* e, QPoint pos) override;
    void MouseMoveReaction(QMouseEvent* e, QPoint pos) override;
    void MouseUpReaction(QMouseEvent* e, QPoint pos) override;
    void KeyDownReaction(QKeyEvent* e) override;
    void KeyUpReaction(QKeyEvent* e) override;
    void WheelReaction(QWheelEvent* e) override;
    bool TakesWheel() const override;
    void FocusOutReaction(QFocusEvent* e) override;
    void paintEvent(QPaintEvent*) override;

  private:
    QPointF Centre() const;
    // The steps and jumps of the keys; false for a key that is none of them.
    bool StepByKey(int key);
    double MouseAngle(QPoint pos) const;

    // The artwork, back to front.
    double TrackRadius() const;
    double CapRadius() const;
    void PaintTrack(QPainter& p, QPointF c) const;
    void PaintScale(QPainter& p, QPointF c) const;
    void PaintGripShadow(QPainter& p, QPointF c) const;
    void PaintKnurledRim(QPainter& p, QPointF c) const;
    void PaintCap(QPainter& p, QPointF c) const;
    void PaintPointer(QPainter& p, QPointF c) const;
    void PaintPositionDisplay(QPainter& p, QPointF c) const;
    void PaintFocusRing(QPainter& p, QPointF c) const;

    int rotationStartDegrees_ = 225;
    int rotationMaxDegrees_ = 270;
    int knobRadius_ = 35;
    double keyArrowStepSize_ = 0.1;
    double keyPageStepSize_ = 1.0;
    double mouseWheelStepSize_ = 1.0;
    bool useKeyboard_ = true;
    bool showPostionDisplay_ = false;
    int positionDisplayPrecision_ = 1;
    QString positionDisplayUnits_;
    TColor knobColor_ = clSilver;
    TColor indicatorColor_ = 0x00C05000;

    bool dragging_ = false;
    double dragPreviousAngle_ = 0;
    double dragStartPosition_ = 0;
    bool keyChangedPosition_ = false;
    std::optional<double> keyTurnStart_; // where the keys took the knob from, until a click or Escape
    bool enterArmed_ = false;
    int wheelUnits_ = 0; // angle delta not yet making up a notch, signed
    bool wheelNotchSeen_ = false;
    quint64 lastWheelNotchMs_ = 0;
};

} // namespace lq
