#include "widgets/ti_analog_display.h"

#include "widgets/ti_number.h"

#include <QPainter>

namespace lq {

TiAnalogDisplay::TiAnalogDisplay(QWidget* parent) : TiCustomComponent(parent) {
    QFont f = font();
    f.setBold(true);
    setFont(f);
    resize(80, 21);
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

void TiAnalogDisplay::SetErrorActive(bool on) {
    error_.active = on;
    update();
}

void TiAnalogDisplay::SetErrorText(const QString& text) {
    error_.text = text;
    update();
}

void TiAnalogDisplay::SetErrorFont(const QFont& f) {
    error_.font = f;
    update();
}

void TiAnalogDisplay::SetErrorFontColor(TColor c) {
    error_.fontColor = c;
    update();
}

void TiAnalogDisplay::SetErrorBackGroundColor(TColor c) {
    error_.backGroundColor = c;
    update();
}

QString TiAnalogDisplay::Text() const {
    return error_.active ? error_.text : FormatNumber(value_, precision_, unitsText_);
}

void TiAnalogDisplay::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, ToQColor(error_.active ? error_.backGroundColor : backGroundColor_));
    // A sunken rim: dark above and left, light below and right.
    p.setPen(QColor(90, 90, 90));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(QColor(220, 220, 220));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(error_.active ? error_.font : font());
    p.setPen(ToQColor(error_.active ? error_.fontColor : fontColor_));
    p.drawText(r.adjusted(3, 1, -3, -1), int(alignment_ & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter,
               Text());
}

} // namespace lq
