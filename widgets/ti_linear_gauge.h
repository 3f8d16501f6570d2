#pragma once

#include "widgets/ti_position_component.h"

namespace lq {

// Base of the gauges: a scale with a pointer that shows Position.
class TiGaugeComponent : public TiScaleComponent {
    Q_OBJECT
  public:
    explicit TiGaugeComponent(QWidget* parent = nullptr) : TiScaleComponent(parent) {}

    TColor PointerColor() const { return pointerColor_; }
    void SetPointerColor(TColor c);

  private:
    TColor pointerColor_ = clBlue;
};

// A vertical scale with labels on the left and a triangular pointer on the right. It shows only; it
// takes neither focus nor input.
class TiLinearGauge : public TiGaugeComponent {
    Q_OBJECT
  public:
    explicit TiLinearGauge(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent*) override;
};

} // namespace lq
