#include "widgets/ti_knob.h"

#include "widgets/ti_number.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace lq {

namespace {

constexpr double kWheelNotchFilterMs = 30;
constexpr int kWheelUnitsPerNotch = 120; // a mouse wheel's click; touchpads send fractions of it

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

// Point at `radius` from `c` in the direction of the mathematical angle `degrees` (counter-clockwise,
// y up), turned into screen coordinates.
QPointF Polar(QPointF c, double radius, double degrees) {
    return {c.x() + radius * std::cos(Radians(degrees)), c.y() - radius * std::sin(Radians(degrees))};
}

} // namespace

TiKnob::TiKnob(QWidget* parent) : TiScaleComponent(parent) {
    setFocusPolicy(Qt::StrongFocus);
    resize(150, 150);
}

void TiKnob::SetRotationStartDegrees(int d) {
    rotationStartDegrees_ = d;
    update();
}

void TiKnob::SetRotationMaxDegrees(int d) {
    rotationMaxDegrees_ = d;
    update();
}

void TiKnob::SetKnobRadius(int r) {
    knobRadius_ = r;
    update();
}

void TiKnob::SetShowPostionDisplay(bool on) {
    showPostionDisplay_ = on;
    update();
}

void TiKnob::SetPositionDisplayPrecision(int p) {
    positionDisplayPrecision_ = p;
    update();
}

void TiKnob::SetPositionDisplayUnits(const QString& units) {
    positionDisplayUnits_ = units;
    update();
}

void TiKnob::SetKnobColor(TColor c) {
    knobColor_ = c;
    update();
}

void TiKnob::SetIndicatorColor(TColor c) {
    indicatorColor_ = c;
    update();
}

QString TiKnob::PositionDisplayText() const {
    return FormatNumber(Position(), qMax(0, positionDisplayPrecision_), positionDisplayUnits_);
}

QPointF TiKnob::Centre() const {
    return {width() / 2.0, height() / 2.0};
}

double TiKnob::MouseAngle(QPoint pos) const {
    const QPointF c = Centre();
    return std::atan2(pos.y() - c.y(), pos.x() - c.x()) * 180.0 / std::numbers::pi;
}

void TiKnob::MouseDownReaction(QMouseEvent* e, QPoint pos) {
    if (e->button() != Qt::LeftButton) return;
    // The mouse takes the turn over: its click is the one that counts.
    keyTurnStart_.reset();
    const QPointF d = QPointF(pos) - Centre();
    // Whole pixels, ties to even like every rounding of a real here (the floating-point default mode).
    if (std::nearbyint(std::hypot(d.x(), d.y())) >= knobRadius_) return;
    dragging_ = true;
    dragPreviousAngle_ = MouseAngle(pos);
    dragStartPosition_ = Position();
}

void TiKnob::MouseMoveReaction(QMouseEvent*, QPoint pos) {
    if (!dragging_) return;
    const double angle = MouseAngle(pos);
    double delta = angle - dragPreviousAngle_;
    // Crossing the ±180° seam of atan2 must read as a small turn, not a near full one.
    if (delta > 200) delta -= 360;
    if (delta < -200) delta += 360;
    dragPreviousAngle_ = angle;
    if (rotationMaxDegrees_ == 0) return;
    const double knobAngle = RelativePosition() * rotationMaxDegrees_ + delta;
    SetPosition(PositionMin() + (PositionMax() - PositionMin()) * knobAngle / rotationMaxDegrees_);
}

void TiKnob::MouseUpReaction(QMouseEvent* e, QPoint) {
    if (e->button() != Qt::LeftButton || !dragging_) return;
    dragging_ = false;
    if (Position() != dragStartPosition_) Fire(OnPositionChangeFinished);
}

bool TiKnob::StepByKey(int key) {
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        SetPosition(Position() - keyArrowStepSize_);
        return true;
    case Qt::Key_Right:
    case Qt::Key_Up:
        SetPosition(Position() + keyArrowStepSize_);
        return true;
    case Qt::Key_PageUp:
        SetPosition(Position() + keyPageStepSize_);
        return true;
    case Qt::Key_PageDown:
        SetPosition(Position() - keyPageStepSize_);
        return true;
    case Qt::Key_Home:
        SetPosition(PositionMin());
        return true;
    case Qt::Key_End:
        SetPosition(PositionMax());
        return true;
    default:
        return false;
    }
}

void TiKnob::KeyDownReaction(QKeyEvent* e) {
    if (!useKeyboard_) return;
    const double before = Position();
    const int key = e->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (!e->isAutoRepeat()) enterArmed_ = true;
        return;
    }
    if (key == Qt::Key_Escape) {
        if (keyTurnStart_) SetPosition(*keyTurnStart_);
        keyTurnStart_.reset();
    } else if (!StepByKey(key)) {
        return;
    } else if (!keyTurnStart_) {
        keyTurnStart_ = before;
    }
    if (Position() != before) keyChangedPosition_ = true;
}

void TiKnob::KeyUpReaction(QKeyEvent* e) {
    const int key = e->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !e->isAutoRepeat() && enterArmed_) {
        enterArmed_ = false;
        keyTurnStart_.reset();
        Guarded([&] { Fire(OnClick); });
    }
    if (e->isAutoRepeat() || !keyChangedPosition_) return;
    keyChangedPosition_ = false;
    Fire(OnPositionChangeFinished);
}

void TiKnob::FocusOutReaction(QFocusEvent*) {
    enterArmed_ = false;
}

bool TiKnob::TakesWheel() const {
    return useKeyboard_ && hasFocus();
}

void TiKnob::WheelReaction(QWheelEvent* e) {
    const QPoint delta = e->angleDelta();
    const int units = delta.y() != 0 ? delta.y() : delta.x();
    if (units == 0) return;
    // Turning the other way starts afresh instead of first paying back what the last turn left over.
    if (wheelUnits_ != 0 && (units > 0) != (wheelUnits_ > 0)) wheelUnits_ = 0;
    wheelUnits_ += units;
    if (std::abs(wheelUnits_) < kWheelUnitsPerNotch) return;
    const bool up = wheelUnits_ > 0;
    // Several notches in one event arrive at one moment, so the filter below lets one of them through.
    wheelUnits_ %= kWheelUnitsPerNotch;
    const quint64 now = e->timestamp();
    if (wheelNotchSeen_ && now - lastWheelNotchMs_ < kWheelNotchFilterMs) return;
    wheelNotchSeen_ = true;
    lastWheelNotchMs_ = now;
    const double before = Position();
    SetPosition(Position() + (up ? mouseWheelStepSize_ : -mouseWheelStepSize_));
    if (Position() != before) Fire(OnPositionChangeFinished);
}

void TiKnob::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QPointF c = Centre();
    PaintTrack(p, c);
    PaintScale(p, c);
    PaintGripShadow(p, c);
    PaintKnurledRim(p, c);
    PaintCap(p, c);
    PaintPointer(p, c);
    if (showPostionDisplay_) PaintPositionDisplay(p, c);
    if (hasFocus()) PaintFocusRing(p, c);
}

double TiKnob::TrackRadius() const {
    return knobRadius_ + 4.5;
}

double TiKnob::CapRadius() const {
    return knobRadius_ * 0.80;
}

// The travel arc, with the part up to the position lit.
void TiKnob::PaintTrack(QPainter& p, QPointF c) const {
    const double trackRadius = TrackRadius();
    const QRectF track(c.x() - trackRadius, c.y() - trackRadius, 2 * trackRadius, 2 * trackRadius);
    p.setPen(QPen(QColor(0, 0, 0, 60), 3, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(track, int(rotationStartDegrees_ * 16.0), int(-rotationMaxDegrees_ * 16.0));
    p.setPen(QPen(ToQColor(indicatorColor_), 3, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(track, int(rotationStartDegrees_ * 16.0), int(-rotationMaxDegrees_ * RelativePosition() * 16));
}

// Ticks and their labels outside the track. The label font stays set for the position display.
void TiKnob::PaintScale(QPainter& p, QPointF c) const {
    const double start = rotationStartDegrees_;
    const double outer = std::min(width(), height()) / 2.0 - 1;
    const double tickIn = TrackRadius() + 3.5;
    const double majorLen = std::max(4.0, (outer - tickIn) * 0.22);
    p.setPen(QPen(ToQColor(ScaleColor()), 1.2));
    ForEachTick(rotationMaxDegrees_, [&](double offset, bool major) {
        const double a = start - offset;
        p.drawLine(Polar(c, tickIn, a), Polar(c, tickIn + (major ? majorLen : majorLen * 0.55), a));
    });
    if (!ShowTickLabels()) return;
    QFont f = font();
    f.setPixelSize(std::clamp(int(outer * 0.15), 8, 12));
    p.setFont(f);
    const QFontMetricsF fm(f);
    const double labelRadius = tickIn + majorLen + 2 + fm.height() * 0.55;
    ForEachMajorTick(rotationMaxDegrees_, [&](double offset, int i) {
        const double a = start - offset;
        const QString text = MajorTickLabel(i);
        const QPointF at =
            Polar(c, labelRadius + fm.horizontalAdvance(text) * 0.25 * std::abs(std::cos(Radians(a))), a);
        p.drawText(QRectF(at.x() - 40, at.y() - fm.height() / 2, 80, fm.height()), Qt::AlignCenter, text);
    });
}

void TiKnob::PaintGripShadow(QPainter& p, QPointF c) const {
    const double r = knobRadius_;
    QRadialGradient shadow(c + QPointF(1.5, 2.5), r + 3);
    shadow.setColorAt(0.85, QColor(0, 0, 0, 90));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(c + QPointF(1.5, 2.5), r + 3, r + 3);
}

// A shaded ring with fine grooves, lit from the upper left like the cap.
void TiKnob::PaintKnurledRim(QPainter& p, QPointF c) const {
    const double r = knobRadius_;
    const QColor body = ToQColor(knobColor_);
    QLinearGradient rim(c - QPointF(r, r), c + QPointF(r, r));
    rim.setColorAt(0, body.lighter(115));
    rim.setColorAt(1, body.darker(165));
    p.setBrush(rim);
    p.setPen(QPen(body.darker(260), 1));
    p.drawEllipse(c, r, r);
    const int grooves = std::max(18, int(r * 1.4));
    for (int i = 0; i < grooves; ++i) {
        const double a = 360.0 * i / grooves;
        p.setPen(QPen(QColor(0, 0, 0, 70), 1));
        p.drawLine(Polar(c, r * 0.84, a), Polar(c, r - 1, a));
        p.setPen(QPen(QColor(255, 255, 255, 60), 1));
        p.drawLine(Polar(c, r * 0.84, a + 180.0 / grooves), Polar(c, r - 1, a + 180.0 / grooves));
    }
}

void TiKnob::PaintCap(QPainter& p, QPointF c) const {
    const double capR = CapRadius();
    const QColor body = ToQColor(knobColor_);
    QRadialGradient cap(c + QPointF(-capR * 0.35, -capR * 0.45), capR * 1.5);
    cap.setColorAt(0, body.lighter(150));
    cap.setColorAt(0.6, body);
    cap.setColorAt(1, body.darker(140));
    p.setBrush(cap);
    p.setPen(QPen(body.darker(200), 1));
    p.drawEllipse(c, capR, capR);
}

// A groove across the cap with a coloured dot near its outer end.
void TiKnob::PaintPointer(QPainter& p, QPointF c) const {
    const double r = knobRadius_;
    const double capR = CapRadius();
    const double angle = rotationStartDegrees_ - rotationMaxDegrees_ * RelativePosition();
    p.setPen(QPen(QColor(30, 30, 30), std::max(2.0, r * 0.09), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(Polar(c, capR * 0.35, angle), Polar(c, capR * 0.92, angle));
    p.setPen(Qt::NoPen);
    p.setBrush(ToQColor(indicatorColor_));
    p.drawEllipse(Polar(c, capR * 0.78, angle), r * 0.06 + 0.8, r * 0.06 + 0.8);
}

void TiKnob::PaintPositionDisplay(QPainter& p, QPointF c) const {
    const double r = knobRadius_;
    p.setPen(QColor(20, 20, 20));
    p.drawText(QRectF(c.x() - r, c.y() - r * 0.3, 2 * r, r * 0.6), Qt::AlignCenter, PositionDisplayText());
}

// Dots in the gap between the rim and the track, as dark as a switch's focus frame: the faint blue they had
// was lost against the knurled rim.
void TiKnob::PaintFocusRing(QPainter& p, QPointF c) const {
    const double r = knobRadius_;
    p.setPen(QPen(QColor(60, 60, 60), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r + 2, r + 2);
}

} // namespace lq
