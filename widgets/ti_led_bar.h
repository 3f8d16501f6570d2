#pragma once

#include "widgets/ti_position_component.h"

namespace lq {

// Base of the bar indicators.
class TiProgressComponent : public TiPositionComponent {
    Q_OBJECT
  public:
    explicit TiProgressComponent(QWidget* parent = nullptr);
};

// A vertical bar of LED segments lit from the bottom. Up to three sections colour the segments by the
// position they stand for; unlit segments show their colour dimmed.
class TiLedBar : public TiProgressComponent {
    Q_OBJECT
  public:
    explicit TiLedBar(QWidget* parent = nullptr);

    int SegmentMargin() const { return segmentMargin_; }
    void SetSegmentMargin(int m);
    int SegmentSize() const { return segmentSize_; }
    void SetSegmentSize(int s);
    int SegmentSpacing() const { return segmentSpacing_; }
    void SetSegmentSpacing(int s);
    int SectionCount() const { return sectionCount_; }
    void SetSectionCount(int n);
    TColor SectionColor1() const { return sectionColor_[0]; }
    void SetSectionColor1(TColor c);
    TColor SectionColor2() const { return sectionColor_[1]; }
    void SetSectionColor2(TColor c);
    TColor SectionColor3() const { return sectionColor_[2]; }
    void SetSectionColor3(TColor c);
    // Where sections 2 and 3 begin, as positions.
    double SectionEnd1() const { return sectionEnd_[0]; }
    void SetSectionEnd1(double v);
    double SectionEnd2() const { return sectionEnd_[1]; }
    void SetSectionEnd2(double v);
    bool ShowOffSegments() const { return showOffSegments_; }
    void SetShowOffSegments(bool on);

    int SegmentCount() const;
    int LitSegmentCount() const;
    TColor SegmentColor(int index) const;

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    int segmentMargin_ = 2;
    int segmentSize_ = 5;
    int segmentSpacing_ = 2;
    int sectionCount_ = 1;
    TColor sectionColor_[3] = {clLime, clYellow, clRed};
    double sectionEnd_[2] = {50, 75};
    bool showOffSegments_ = true;
};

} // namespace lq
