#include "panel_fonts.h"

#include <QStringList>

namespace lq {

namespace {

QFont MakeFont(const QStringList& families, int pixelSize, bool bold) {
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace

QFont SansFont(int pixelSize, bool bold) {
    return MakeFont({"DejaVu Sans", "Liberation Sans", "WenQuanYi Zen Hei", "Noto Sans CJK SC"}, pixelSize,
                    bold);
}

QFont SongFont(int pixelSize, bool bold) {
    return MakeFont({"SimSun", "AR PL UMing CN", "WenQuanYi Zen Hei", "Noto Sans CJK SC", "DejaVu Sans"},
                    pixelSize, bold);
}

} // namespace lq
