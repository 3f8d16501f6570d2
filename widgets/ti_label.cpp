#include "widgets/ti_label.h"

#include <QEvent>
#include <QPainter>

namespace lq {

TiLabel::TiLabel(QWidget* parent) : TiCustomComponent(parent) {
    resize(28, 13);
}

void TiLabel::SetCaption(const QString& text) {
    if (text == caption_) return;
    caption_ = text;
    FitToText();
    update();
}

void TiLabel::SetFontColor(TColor c) {
    if (c == fontColor_) return;
    fontColor_ = c;
    update();
}

void TiLabel::SetAutoSize(bool on) {
    autoSize_ = on;
    FitToText();
}

void TiLabel::FitToText() {
    if (!autoSize_ || caption_.isEmpty()) return;
    const QFontMetrics fm(font());
    resize(fm.horizontalAdvance(caption_) + 1, fm.height());
}

void TiLabel::changeEvent(QEvent* e) {
    if (e->type() == QEvent::FontChange) FitToText();
    TiCustomComponent::changeEvent(e);
}

void TiLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(ToQColor(fontColor_));
    p.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption_);
}

} // namespace lq
