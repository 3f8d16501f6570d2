#include "panel/old_value_marks.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QGraphicsColorizeEffect>
#include <QStringList>
#include <QWidget>

#include "modbus/block_ages.h"
#include "modbus/register_image.h"

namespace lq {

namespace {

// Where the value is painted: a text field draws its text in a viewport of its own, past any effect on the
// field itself.
QWidget* Painted(const QWidget* widget) {
    auto* shown = const_cast<QWidget*>(widget);
    auto* area = qobject_cast<QAbstractScrollArea*>(shown);
    return area != nullptr ? area->viewport() : shown;
}

// Grey shades of less contrast instead of colours, as a disabled control looks: the digits, lamps and bars
// read as "not now" while staying legible.
void Grey(QWidget* widget, bool on) {
    if (OldValueMarks::Marked(widget) == on) return;
    // The normal look is painted without any effect in between, exactly as before.
    if (!on) {
        Painted(widget)->setGraphicsEffect(nullptr);
        return;
    }
    auto* grey = new QGraphicsColorizeEffect;
    grey->setColor(QColor(96, 96, 96));
    Painted(widget)->setGraphicsEffect(grey);
}

} // namespace

OldValueMarks::OldValueMarks(const BlockAges& ages, std::vector<Fed> displays)
    : ages_(ages), displays_(std::move(displays)) {}

void OldValueMarks::Show() {
    for (const Fed& fed : displays_) {
        const QString text = OldText(fed.blocks);
        Grey(fed.widget, !text.isEmpty());
        if (fed.widget->toolTip() != text) fed.widget->setToolTip(text);
    }
}

bool OldValueMarks::Marked(const QWidget* widget) {
    return qobject_cast<const QGraphicsColorizeEffect*>(Painted(widget)->graphicsEffect()) != nullptr;
}

QString OldValueMarks::OldText(const std::vector<std::uint8_t>& blocks) const {
    QStringList lines;
    for (const std::uint8_t block : blocks) {
        if (!ages_.Old(block)) continue;
        const int first = kPollBlockStarts[block];
        const int last = first + RegisterImage::KeptCount(block) - 1;
        const QString since = ages_.EverAnswered(block)
                                  ? QCoreApplication::translate("OldValueMarks", "已 %1 秒没有有效应答")
                                        .arg(ages_.Age(block).count() / 1000)
                                  : QCoreApplication::translate("OldValueMarks", "尚未读到");
        lines << QCoreApplication::translate("OldValueMarks", "旧值 (stale)：寄存器 %1–%2 %3")
                     .arg(first)
                     .arg(last)
                     .arg(since);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace lq
