#pragma once

#include "widgets/ti_color.h"
#include "widgets/ti_component.h"

#include <functional>

namespace lq {

// A value within PositionMin..PositionMax. Every set is clamped (a NaN goes to the minimum); moving
// either end pulls Position back into the range through the same path, so listeners hear about it.
class TiPositionComponent : public TiCustomComponent {
    Q_OBJECT
  public:
    explicit TiPositionComponent(QWidget* parent = nullptr) : TiCustomComponent(parent) {}

    double Position() const { return position_; }
    void SetPosition(double value);
    double PositionMin() const { return positionMin_; }
    void SetPositionMin(double value);
    double PositionMax() const { return positionMax_; }
    void SetPositionMax(double value);

    // 0 at the minimum, 1 at the maximum; 0 for an empty or inverted span.
    double RelativePosition() const;

    TColor BackGroundColor() const { return backGroundColor_; }
    void SetBackGroundColor(TColor c);

    TiNotifyEvent OnPositionChange;
    TiNotifyEvent OnPositionChangeFinished;

  private:
    double position_ = 0;
    double positionMin_ = 0;
    double positionMax_ = 100;
    TColor backGroundColor_ = clBtnFace;
};

// Adds a tick scale: TickMajorCount labelled ticks from the minimum to the maximum with TickMinorCount
// unlabelled ones between each pair.
class TiScaleComponent : public TiPositionComponent {
    Q_OBJECT
  public:
    explicit TiScaleComponent(QWidget* parent = nullptr) : TiPositionComponent(parent) {}

    int TickMajorCount() const { return tickMajorCount_; }
    void SetTickMajorCount(int n);
    int TickMinorCount() const { return tickMinorCount_; }
    void SetTickMinorCount(int n);
    int TickLabelPrecision() const { return tickLabelPrecision_; }
    void SetTickLabelPrecision(int p);
    bool ShowTickLabels() const { return showTickLabels_; }
    void SetShowTickLabels(bool on);
    TColor ScaleColor() const { return scaleColor_; }
    void SetScaleColor(TColor c);

    // Value of major tick i, 0 at the minimum.
    double MajorTickValue(int i) const;
    QString MajorTickLabel(int i) const;

    // The scale drawn along a line or an arc of length `span` (pixels or degrees): `draw(offset, major)`
    // for every tick from the minimum (offset 0) to the maximum (offset span); the first tick and every
    // (TickMinorCount + 1)-th after it are major.
    void ForEachTick(double span, const std::function<void(double offset, bool major)>& draw) const;
    // `draw(offset, i)` for each major tick i, offset as above: where its label goes.
    void ForEachMajorTick(double span, const std::function<void(double offset, int i)>& draw) const;

  private:
    int tickMajorCount_ = 6;
    int tickMinorCount_ = 4;
    int tickLabelPrecision_ = 0;
    bool showTickLabels_ = true;
    TColor scaleColor_ = clBlack;
};

} // namespace lq
