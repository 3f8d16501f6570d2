#include "widgets/ti_led_bar.h"

#include "widgets/ti_paint.h"

#include <QPainter>
#include <cmath>

namespace lq {

TiProgressComponent::TiProgressComponent(QWidget* parent) : TiPositionComponent(parent) {
    resize(16, 200);
}

TiLedBar::TiLedBar(QWidget* parent) : TiProgressComponent(parent) {
    SetBackGroundColor(clBlack);
}

void TiLedBar::SetSegmentMargin(int m) {
    segmentMargin_ = m;
    update();
}

void TiLedBar::SetSegmentSize(int s) {
    segmentSize_ = s;
    update();
}

void TiLedBar::SetSegmentSpacing(int s) {
    segmentSpacing_ = s;
    update();
}

void TiLedBar::SetSectionCount(int n) {
    sectionCount_ = qBound(1, n, 3);
    update();
}

void TiLedBar::SetSectionColor1(TColor c) {
    sectionColor_[0] = c;
    update();
}

void TiLedBar::SetSectionColor2(TColor c) {
    sectionColor_[1] = c;
    update();
}

void TiLedBar::SetSectionColor3(TColor c) {
    sectionColor_[2] = c;
    update();
}

void TiLedBar::SetSectionEnd1(double v) {
    sectionEnd_[0] = v;
    update();
}

void TiLedBar::SetSectionEnd2(double v) {
    sectionEnd_[1] = v;
    update();
}

void TiLedBar::SetShowOffSegments(bool on) {
    showOffSegments_ = on;
    update();
}

int TiLedBar::SegmentCount() const {
    const int pitch = segmentSize_ + segmentSpacing_;
    if (pitch <= 0) return 0;
    return qMax(0, (height() - 2 * segmentMargin_ + 2) / pitch);
}

int TiLedBar::LitSegmentCount() const {
    const int n = SegmentCount();
    // nearbyint rounds halves to even under the default rounding mode, which the program never changes.
    return qBound(0, int(std::nearbyint(RelativePosition() * n + 0.5)), n);
}

TColor TiLedBar::SegmentColor(int index) const {
    const int n = SegmentCount();
    if (sectionCount_ == 1 || n == 0) return sectionColor_[0];
    // A segment belongs to the section that holds the position at its middle.
    const double value = PositionMin() + (PositionMax() - PositionMin()) * (index + 0.5) / n;
    if (value < sectionEnd_[0]) return sectionColor_[0];
    if (sectionCount_ == 2 || value < sectionEnd_[1]) return sectionColor_[1];
    return sectionColor_[2];
}

void TiLedBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor back = ToQColor(BackGroundColor());
    PaintBevel(p, QRectF(rect()), 1, true, back);
    const int n = SegmentCount();
    const int lit = LitSegmentCount();
    const int pitch = segmentSize_ + segmentSpacing_;
    const int left = segmentMargin_ + 1;
    const int segW = width() - 2 * left;
    for (int i = 0; i < n; ++i) {
        const bool on = i < lit;
        if (!on && !showOffSegments_) continue;
        const TColor c = on ? SegmentColor(i) : DimColor(SegmentColor(i));
        const int y = height() - segmentMargin_ - (i + 1) * pitch + segmentSpacing_;
        const QRect seg(left, y, segW, segmentSize_);
        const QColor q = ToQColor(c);
        p.fillRect(seg, q);
        if (on && segmentSize_ >= 3) {
            p.fillRect(QRect(seg.left(), seg.top(), seg.width(), 1), q.lighter(160));
            p.fillRect(QRect(seg.left(), seg.bottom(), seg.width(), 1), q.darker(130));
        }
    }
}

} // namespace lq
