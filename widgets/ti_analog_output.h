#pragma once

#include "widgets/ti_edit_custom.h"

#include <stdexcept>

namespace lq {

// Raised by an accept whose text is not a number while UndoOnError is off.
class EConvertError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class TiFilterStyle { ifisAuto, ifisNone };
using enum TiFilterStyle;

// A numeric entry field that also serves as a number display written by code. The text always shows
// Value formatted with Precision and UnitsText once accepted or set.
class TiAnalogOutput : public TiEditCustom {
    Q_OBJECT
  public:
    explicit TiAnalogOutput(QWidget* parent = nullptr);

    double Value() const { return value_; }
    void SetValue(double value);
    int Precision() const { return precision_; }
    void SetPrecision(int p);
    QString UnitsText() const { return unitsText_; }
    void SetUnitsText(const QString& units);
    double ValueMin() const { return valueMin_; }
    void SetValueMin(double v);
    double ValueMax() const { return valueMax_; }
    void SetValueMax(double v);
    TiFilterStyle FilterStyle() const { return filterStyle_; }
    void SetFilterStyle(TiFilterStyle s) { filterStyle_ = s; }
    bool UndoOnError() const { return undoOnError_; }
    void SetUndoOnError(bool on) { undoOnError_ = on; }

    TiNotifyEvent OnChange;
    TiNotifyEvent OnChangeUser;

  protected:
    void AcceptTyped(const QString& text) override;
    bool CharAllowed(QChar ch) const override;
    int SelectableLength() const override;

  private:
    void Store(double value, bool byOperator);
    double Limited(double value) const;
    void Reformat();

    double value_ = 0;
    int precision_ = 1;
    QString unitsText_;
    double valueMin_ = 0;
    double valueMax_ = 0;
    TiFilterStyle filterStyle_ = ifisAuto;
    bool undoOnError_ = true;
};

} // namespace lq
