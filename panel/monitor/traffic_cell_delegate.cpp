#include "panel/monitor/traffic_cell_delegate.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <string_view>

#include "panel/monitor/traffic_table_model.h"

namespace lq {

namespace {

constexpr int kTextMargin = 4;
// Enough for every text on a few screens; the time stamps, all different, fall out first.
constexpr int kCachedTexts = 1000;

// The narrowest a byte in hex can be drawn, "XX " with the narrowest hex digit.
int NarrowestHexByte(const QFont& font) {
    const QFontMetrics metrics(font);
    int digit = metrics.horizontalAdvance(QLatin1Char('0'));
    for (const char c : std::string_view("0123456789ABCDEF"))
        digit = std::min(digit, metrics.horizontalAdvance(QLatin1Char(c)));
    return std::max(1, 2 * digit + metrics.horizontalAdvance(QLatin1Char(' ')));
}

} // namespace

QString TrafficCellDelegate::BytesThatCanShow(const QString& hex, int width, const QFont& font) const {
    // A reply's 25 bytes are wider than the column at the window's usual size; the glyphs past its edge cost
    // as much to lay out and draw as those in view, and bytes are most of a row's glyphs.
    if (font != hexFont_) {
        hexFont_ = font;
        narrowestByte_ = NarrowestHexByte(font);
    }
    const qsizetype bytes = width / narrowestByte_ + 1;
    return hex.size() <= bytes * 3 ? hex : hex.left(bytes * 3);
}

TrafficCellDelegate::TrafficCellDelegate(QObject* parent)
    : QStyledItemDelegate(parent), laidOut_(kCachedTexts) {}

const QStaticText& TrafficCellDelegate::LaidOut(const QString& text, const QFont& font) const {
    // A text laid out in another font would be drawn at that font's size, the painter's font notwithstanding.
    if (font != laidOutFont_) {
        laidOut_.clear();
        laidOutFont_ = font;
    }
    if (QStaticText* cached = laidOut_.object(text)) return *cached;
    auto* laid = new QStaticText(text);
    laid->setTextFormat(Qt::PlainText);
    laid->prepare(QTransform(), font);
    laidOut_.insert(text, laid);
    return *laid;
}

void TrafficCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const QVariant background = index.data(Qt::BackgroundRole);
    if (selected) {
        painter->fillRect(option.rect, option.palette.highlight());
    } else if (background.canConvert<QBrush>()) {
        painter->fillRect(option.rect, background.value<QBrush>());
    }
    const QRect area = option.rect.adjusted(kTextMargin, 0, -kTextMargin, 0);
    QString text = index.data().toString();
    if (index.column() == TrafficTableModel::BytesColumn)
        text = BytesThatCanShow(text, area.width(), option.font);
    if (text.isEmpty() || area.width() <= 0) return;
    const QVariant foreground = index.data(Qt::ForegroundRole);
    painter->save();
    painter->setFont(option.font);
    painter->setPen(selected                          ? option.palette.highlightedText().color()
                    : foreground.canConvert<QBrush>() ? foreground.value<QBrush>().color()
                                                      : option.palette.text().color());
    painter->setClipRect(area);
    const QStaticText& laid = LaidOut(text, option.font);
    const QSizeF size = laid.size();
    const bool right = (index.data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight) != 0;
    const qreal x = right ? area.right() + 1 - size.width() : area.left();
    painter->drawStaticText(QPointF(x, area.top() + (area.height() - size.height()) / 2), laid);
    painter->restore();
}

} // namespace lq
