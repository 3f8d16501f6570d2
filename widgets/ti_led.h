#pragma once

#include "widgets/ti_color.h"
#include "widgets/ti_component.h"

namespace lq {

// A lamp. The panel drives it only through ActiveColor; off, it glows in the dimmed colour.
class TiLed : public TiCustomComponent {
    Q_OBJECT
  public:
    explicit TiLed(QWidget* parent = nullptr);

    bool Active() const { return active_; }
    void SetActive(bool on);
    TColor ActiveColor() const { return activeColor_; }
    void SetActiveColor(TColor c);
    TColor InactiveColor() const { return inactiveColor_; }
    void SetInactiveColor(TColor c);
    bool AutoInactiveColor() const { return autoInactiveColor_; }
    void SetAutoInactiveColor(bool on);

    // The colour the lamp shows right now.
    TColor ShownColor() const;

    TiNotifyEvent OnChange;

  protected:
    void paintEvent(QPaintEvent*) override;
    virtual void PaintLamp(QPainter& p, const QColor& body);

  private:
    bool active_ = false;
    TColor activeColor_ = clLime;
    TColor inactiveColor_ = 0x005500;
    bool autoInactiveColor_ = true;
};

// A round lamp that keeps itself square.
class TiLedRound : public TiLed {
    Q_OBJECT
  public:
    explicit TiLedRound(QWidget* parent = nullptr);

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void PaintLamp(QPainter& p, const QColor& body) override;
};

} // namespace lq
