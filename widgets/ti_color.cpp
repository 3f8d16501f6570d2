#include "widgets/ti_color.h"

#include <QGuiApplication>
#include <QPalette>

namespace lq {

namespace {

QPalette::ColorRole RoleOfSystemColor(unsigned index) {
    switch (index) {
    case 0x05:
        return QPalette::Base;
    case 0x08:
        return QPalette::Text;
    case 0x0C:
        return QPalette::Dark;
    case 0x10:
        return QPalette::Mid;
    case 0x12:
        return QPalette::ButtonText;
    case 0x14:
        return QPalette::Light;
    case 0x16:
        return QPalette::Midlight;
    case 0x1A:
        return QPalette::Highlight;
    case 0x0F:
        return QPalette::Button;
    default:
        return QPalette::Window;
    }
}

} // namespace

QColor ToQColor(TColor c) {
    if (IsSystemColor(c)) return QGuiApplication::palette().color(RoleOfSystemColor(c & 0xFFu));
    return QColor(int(c & 0xFFu), int((c >> 8) & 0xFFu), int((c >> 16) & 0xFFu));
}

TColor DimColor(TColor c) {
    if (IsSystemColor(c)) {
        const QColor q = ToQColor(c);
        c = TColor(q.red()) | TColor(q.green()) << 8 | TColor(q.blue()) << 16;
    }
    const TColor r = (c & 0xFFu) / 3;
    const TColor g = ((c >> 8) & 0xFFu) / 3;
    const TColor b = ((c >> 16) & 0xFFu) / 3;
    return r | g << 8 | b << 16;
}

} // namespace lq
