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

// A round lamp that keeps itself square: a new width sets the height to it, else a new height sets the
// width (not while design values load). Qt holds back a hidden widget's resize event until it is shown,
// so the lamp's own resize and setGeometry square the size at once; a resize made through a plain QWidget
// (a layout) is squared when the event comes, by the larger side if Qt no longer knows the old size.
class TiLedRound : public TiLed {
    Q_OBJECT
  public:
    explicit TiLedRound(QWidget* parent = nullptr);

    void resize(int w, int h) { resize(QSize(w, h)); }
    void resize(const QSize& size);
    void setGeometry(int x, int y, int w, int h) { setGeometry(QRect(x, y, w, h)); }
    void setGeometry(const QRect& geometry);

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void PaintLamp(QPainter& p, const QColor& body) override;

  private:
    QSize Squared(QSize wanted, QSize before) const;
};

} // namespace lq
