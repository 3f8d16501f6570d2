#pragma once

#include "widgets/ti_position_component.h"

namespace lq {

// A glass thermometer: bulb, tube with a mercury column rising from the minimum, and a scale beside it.
class TiThermometer : public TiScaleComponent {
    Q_OBJECT
  public:
    explicit TiThermometer(QWidget* parent = nullptr);

    TColor IndicatorColor() const { return indicatorColor_; }
    void SetIndicatorColor(TColor c);

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    TColor indicatorColor_ = clRed;
};

} // namespace lq
