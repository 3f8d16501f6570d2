#pragma once

#include "widgets/ti_position_component.h"

class QFontMetricsF;
class QPainter;

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
    struct Geometry;
    Geometry Measure(const QFontMetricsF& fm) const;
    void PaintGlass(QPainter& p, const Geometry& g) const;
    void PaintMercury(QPainter& p, const Geometry& g) const;
    void PaintScale(QPainter& p, const Geometry& g, const QFontMetricsF& fm) const;

    TColor indicatorColor_ = clRed;
};

} // namespace lq
