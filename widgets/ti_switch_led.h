#pragma once

#include "widgets/ti_color.h"
#include "widgets/ti_component.h"

class QPainter;

namespace lq {

enum class TiMomentaryStyle { ismsNone, ismsSimple };
using enum TiMomentaryStyle;

// A push switch with a lamp stripe and a caption. A click toggles Active on release inside; Space
// toggles on key-up; pressing takes the focus first, so a focused entry field accepts its text before
// any click handler of the switch runs. With KeysClick on, Space and Enter press it as the left button
// does: the press that went down on the switch clicks on its release (OnClick, then the toggle unless the
// handler took the focus away).
class TiSwitchLed : public TiCustomComponent {
    Q_OBJECT
  public:
    explicit TiSwitchLed(QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& text);
    bool Active() const { return active_; }
    void SetActive(bool on);
    TColor ActiveColor() const { return activeColor_; }
    void SetActiveColor(TColor c);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor c);
    TColor BackGroundColor() const { return backGroundColor_; }
    void SetBackGroundColor(TColor c);
    TiMomentaryStyle MomentaryStyle() const { return momentaryStyle_; }
    void SetMomentaryStyle(TiMomentaryStyle s) { momentaryStyle_ = s; }
    int CaptionMargin() const { return captionMargin_; }
    void SetCaptionMargin(int m);
    int IndicatorMargin() const { return indicatorMargin_; }
    void SetIndicatorMargin(int m);
    int BorderSize() const { return borderSize_; }
    void SetBorderSize(int b);

    bool KeysClick() const { return keysClick_; }
    void SetKeysClick(bool on) { keysClick_ = on; }

    bool Pressed() const { return pressed_; }
    // What a left click inside does, for a key that stands for one: the focus, OnClick, then the toggle.
    void Click();

    TiNotifyEvent OnChange;
    TiNotifyEvent OnChangeUser;

  protected:
    void MouseDownReaction(QMouseEvent* e, QPoint pos) override;
    void MouseUpReaction(QMouseEvent* e, QPoint pos) override;
    void KeyDownReaction(QKeyEvent* e) override;
    void KeyUpReaction(QKeyEvent* e) override;
    void FocusOutReaction(QFocusEvent*) override;
    void paintEvent(QPaintEvent*) override;

  private:
    void SetActiveByUser(bool on);
    void SetPressed(bool on);
    bool PressKey(int key) const;
    // The toggle of a release: a momentary switch goes off, another toggles when released inside.
    void Release(bool inside);
    void ClickRelease();
    void PaintFocusFrame(QPainter& p, int shift) const;

    QString caption_ = QStringLiteral("On");
    bool active_ = false;
    bool pressed_ = false;
    TColor activeColor_ = clLime;
    TColor fontColor_ = clBlack;
    TColor backGroundColor_ = clBtnFace;
    TiMomentaryStyle momentaryStyle_ = ismsNone;
    int captionMargin_ = 2;
    int indicatorMargin_ = 3;
    int borderSize_ = 2;
    bool keysClick_ = false;
};

} // namespace lq
