#include "panel/monitor/traffic_cell_delegate.h"

#include <QFontMetrics>
#include <algorithm>
#include <string_view>

#include "panel/monitor/traffic_table_model.h"

namespace lq {

namespace {

// The narrowest a byte in hex can be drawn, "XX " with the narrowest hex digit.
int NarrowestHexByte(const QFont& font) {
    const QFontMetrics metrics(font);
    int digit = metrics.horizontalAdvance(QLatin1Char('0'));
    for (const char c : std::string_view("0123456789ABCDEF"))
        digit = std::min(digit, metrics.horizontalAdvance(QLatin1Char(c)));
    return std::max(1, 2 * digit + metrics.horizontalAdvance(QLatin1Char(' ')));
}

} // namespace

TrafficCellDelegate::TrafficCellDelegate(QObject* parent) : LaidOutTextDelegate(Qt::ElideNone, parent) {}

QString TrafficCellDelegate::ShownText(const QModelIndex& index, int width, const QFont& font) const {
    QString text = index.data().toString();
    if (index.column() != TrafficTableModel::BytesColumn) return text;
    // A reply's 25 bytes are wider than the column at the window's usual size; the glyphs past its edge cost
    // as much to lay out and draw as those in view, and bytes are most of a row's glyphs.
    if (font != hexFont_) {
        hexFont_ = font;
        narrowestByte_ = NarrowestHexByte(font);
    }
    const qsizetype bytes = width / narrowestByte_ + 1;
    return text.size() <= bytes * 3 ? text : text.left(bytes * 3);
}

} // namespace lq
