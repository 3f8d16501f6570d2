#pragma once

#include "widgets/ti_color.h"
#include "widgets/ti_component.h"

namespace lq {

// A static text that sizes itself to its caption.
class TiLabel : public TiCustomComponent {
    Q_OBJECT
  public:
    explicit TiLabel(QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& text);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor c);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);

  protected:
    void paintEvent(QPaintEvent*) override;
    void changeEvent(QEvent* e) override;

  private:
    void FitToText();

    QString caption_;
    TColor fontColor_ = clBlack;
    bool autoSize_ = true;
};

} // namespace lq
