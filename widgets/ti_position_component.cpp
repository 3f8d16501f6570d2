#include "widgets/ti_position_component.h"

#include "widgets/ti_number.h"
#include "widgets/ti_paint.h"

namespace lq {

void TiPositionComponent::SetPosition(double value) {
    if (Loading()) {
        position_ = value;
        update();
        return;
    }
    value = ClampToRange(value, positionMin_, positionMax_);
    if (value == position_) return;
    position_ = value;
    update();
    Fire(OnPositionChange);
}

void TiPositionComponent::SetPositionMin(double value) {
    if (value == positionMin_) return;
    positionMin_ = value;
    if (!Loading()) SetPosition(position_);
    update();
}

void TiPositionComponent::SetPositionMax(double value) {
    if (value == positionMax_) return;
    positionMax_ = value;
    if (!Loading()) SetPosition(position_);
    update();
}

double TiPositionComponent::RelativePosition() const {
    const double span = positionMax_ - positionMin_;
    if (!(span > 0)) return 0;
    return ClampToRange((position_ - positionMin_) / span, 0, 1);
}

void TiPositionComponent::SetBackGroundColor(TColor c) {
    backGroundColor_ = c;
    update();
}

void TiScaleComponent::SetTickMajorCount(int n) {
    tickMajorCount_ = qMax(2, n);
    update();
}

void TiScaleComponent::SetTickMinorCount(int n) {
    tickMinorCount_ = qMax(0, n);
    update();
}

void TiScaleComponent::SetTickLabelPrecision(int p) {
    tickLabelPrecision_ = p;
    update();
}

void TiScaleComponent::SetShowTickLabels(bool on) {
    showTickLabels_ = on;
    update();
}

void TiScaleComponent::SetScaleColor(TColor c) {
    scaleColor_ = c;
    update();
}

double TiScaleComponent::MajorTickValue(int i) const {
    return PositionMin() + (PositionMax() - PositionMin()) * i / (tickMajorCount_ - 1);
}

QString TiScaleComponent::MajorTickLabel(int i) const {
    return TickText(MajorTickValue(i), tickLabelPrecision_);
}

void TiScaleComponent::ForEachTick(double span, const std::function<void(double, bool)>& draw) const {
    const int steps = (tickMajorCount_ - 1) * (tickMinorCount_ + 1);
    for (int s = 0; s <= steps; ++s)
        draw(span * s / steps, s % (tickMinorCount_ + 1) == 0);
}

void TiScaleComponent::ForEachMajorTick(double span, const std::function<void(double, int)>& draw) const {
    for (int i = 0; i < tickMajorCount_; ++i)
        draw(span * i / (tickMajorCount_ - 1), i);
}

} // namespace lq
