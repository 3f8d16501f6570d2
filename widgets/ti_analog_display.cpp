#include "widgets/ti_analog_display.h"

#include "widgets/ti_number.h"
#include "widgets/ti_paint.h"

#include <QPainter>

namespace lq {

TiAnalogDisplay::TiAnalogDisplay(QWidget* parent) : TiCustomComponent(parent) {
    QFont f = font();
    f.setBold(true);
    setFont(f);
    resize(80, 21);
    // Every pixel is painted, so a new value need not repaint the panel beneath it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TiAnalogDisplay::SetValue(double value) {
    if (value == value_) return;
    value_ = value;
    update();
    Fire(OnChange);
}

void TiAnalogDisplay::SetPrecision(int p) {
    precision_ = p;
    update();
}

void TiAnalogDisplay::SetUnitsText(const QString& units) {
    unitsText_ = units;
    update();
}

void TiAnalogDisplay::SetAlignment(Qt::Alignment a) {
    alignment_ = a;
    update();
}

void TiAnalogDisplay::SetFontColor(TColor c) {
    fontColor_ = c;
    update();
}

void TiAnalogDisplay::SetBackGroundColor(TColor c) {
    backGroundColor_ = c;
    update();
}

QString TiAnalogDisplay::Text() const {
    return ErrorActive() ? ErrorText() : FormatNumber(value_, precision_, unitsText_);
}

void TiAnalogDisplay::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    const TiErrorLook& error = ErrorLook();
    p.fillRect(r, ToQColor(error.active ? error.backGroundColor : backGroundColor_));
    PaintBevelEdges(p, r, 1, QColor(90, 90, 90), QColor(220, 220, 220));
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(error.active ? error.font : font());
    p.setPen(ToQColor(error.active ? error.fontColor : fontColor_));
    p.drawText(r.adjusted(3, 1, -3, -1), int(alignment_ & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter,
               Text());
}

} // namespace lq
