#include "panel/laid_out_text_delegate.h"

#include <QFontMetrics>
#include <QPainter>

namespace lq {

namespace {

constexpr int kTextMargin = 4;
// Enough for every text on a few screens; the time stamps, all different, fall out first.
constexpr int kCachedTexts = 1000;

} // namespace

LaidOutTextDelegate::LaidOutTextDelegate(Qt::TextElideMode elide, QObject* parent)
    : QStyledItemDelegate(parent), elide_(elide), laidOut_(kCachedTexts) {}

QString LaidOutTextDelegate::ShownText(const QModelIndex& index, int /*width*/, const QFont& /*font*/) const {
    return index.data().toString();
}

const QStaticText& LaidOutTextDelegate::LaidOut(const QString& text, const QFont& font) const {
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

const QStaticText& LaidOutTextDelegate::Fitted(const QString& text, int width, const QFont& font) const {
    const QStaticText& whole = LaidOut(text, font);
    if (elide_ == Qt::ElideNone || whole.size().width() <= width) return whole;
    // Under a key no model text has: the elided form for this width.
    const QString key = QStringLiteral("%1\x1f%2").arg(width).arg(text);
    if (QStaticText* cached = laidOut_.object(key)) return *cached;
    auto* laid = new QStaticText(QFontMetrics(font).elidedText(text, elide_, width));
    laid->setTextFormat(Qt::PlainText);
    laid->prepare(QTransform(), font);
    laidOut_.insert(key, laid);
    return *laid;
}

void LaidOutTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const QVariant background = index.data(Qt::BackgroundRole);
    if (selected) {
        painter->fillRect(option.rect, option.palette.highlight());
    } else if (background.canConvert<QBrush>()) {
        painter->fillRect(option.rect, background.value<QBrush>());
    }
    const QRect area = option.rect.adjusted(kTextMargin, 0, -kTextMargin, 0);
    const QString text = ShownText(index, area.width(), option.font);
    if (text.isEmpty() || area.width() <= 0) return;
    const QVariant foreground = index.data(Qt::ForegroundRole);
    painter->save();
    painter->setFont(option.font);
    painter->setPen(selected                          ? option.palette.highlightedText().color()
                    : foreground.canConvert<QBrush>() ? foreground.value<QBrush>().color()
                                                      : option.palette.text().color());
    painter->setClipRect(area);
    const QStaticText& laid = Fitted(text, area.width(), option.font);
    const QSizeF size = laid.size();
    const bool right = (index.data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight) != 0;
    const qreal x = right ? area.right() + 1 - size.width() : area.left();
    painter->drawStaticText(QPointF(x, area.top() + (area.height() - size.height()) / 2), laid);
    painter->restore();
}

} // namespace lq
