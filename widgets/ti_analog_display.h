#pragma once

#include "widgets/ti_color.h"
#include "widgets/ti_component.h"
#include "widgets/ti_error_look.h"

namespace lq {

// A read-only number on a dark face: bold aqua text on black unless told otherwise.
class TiAnalogDisplay : public TiCustomComponent, public TiErrorLookProperties {
    Q_OBJECT
  public:
    explicit TiAnalogDisplay(QWidget* parent = nullptr);

    double Value() const { return value_; }
    void SetValue(double value);
    int Precision() const { return precision_; }
    void SetPrecision(int p);
    QString UnitsText() const { return unitsText_; }
    void SetUnitsText(const QString& units);
    Qt::Alignment Alignment() const { return alignment_; }
    void SetAlignment(Qt::Alignment a);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor c);
    TColor BackGroundColor() const { return backGroundColor_; }
    void SetBackGroundColor(TColor c);

    // What the display shows right now.
    QString Text() const;

    TiNotifyEvent OnChange;

  protected:
    void paintEvent(QPaintEvent*) override;
    void ErrorLookChanged() override { update(); }

  private:
    double value_ = 0;
    int precision_ = 1;
    QString unitsText_;
    Qt::Alignment alignment_ = Qt::AlignCenter;
    TColor fontColor_ = clAqua;
    TColor backGroundColor_ = clBlack;
};

} // namespace lq
