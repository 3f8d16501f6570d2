#include "panel/port_combo_box.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include "serial/port_names.h"

namespace lq {

namespace {

constexpr int kMargin = 4;
constexpr int kColumnGap = 16;

// Draws the name, then what it is in a quieter colour.
class PortItemDelegate final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const QString name = opt.text;
        opt.text.clear();
        const QStyle* style = opt.widget != nullptr ? opt.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

        const bool selected = (opt.state & QStyle::State_Selected) != 0;
        const QRect area = opt.rect.adjusted(kMargin, 0, -kMargin, 0);
        painter->save();
        painter->setFont(opt.font);
        painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(area, Qt::AlignVCenter | Qt::AlignLeft, name);
        const QString detail = index.data(PortComboBox::kDetailRole).toString();
        if (!detail.isEmpty()) {
            const int indent = opt.fontMetrics.horizontalAdvance(name) + kColumnGap;
            painter->setPen(selected ? opt.palette.color(QPalette::HighlightedText)
                                     : QColor(0x70, 0x70, 0x70));
            painter->drawText(area.adjusted(indent, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, detail);
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const QString detail = index.data(PortComboBox::kDetailRole).toString();
        const int width = option.fontMetrics.horizontalAdvance(index.data(Qt::DisplayRole).toString()) +
                          kColumnGap + option.fontMetrics.horizontalAdvance(detail) + 2 * kMargin;
        size.setWidth(std::max(size.width(), width));
        return size;
    }
};

} // namespace

PortComboBox::PortComboBox(QWidget* parent, Lister lister) : QComboBox(parent), lister_(std::move(lister)) {
    setItemDelegate(new PortItemDelegate(this));
}

PortComboBox::Lister PortComboBox::MachineLister() {
    return [] { return ListPorts("/", PortAliasFolder()); };
}

void PortComboBox::RefreshList() {
    const QString typed = currentText();
    {
        // The list changes, the port name does not: no change event may reach the port.
        const QSignalBlocker quiet(this);
        clear();
        for (const SerialPortEntry& entry : lister_()) {
            addItem(QString::fromStdString(entry.Name));
            const QString detail = QString::fromStdString(entry.Detail);
            setItemData(count() - 1, detail, kDetailRole);
            setItemData(count() - 1, detail, Qt::ToolTipRole);
        }
        setEditText(typed);
    }
    int widest = width();
    for (int i = 0; i < count(); ++i) {
        QStyleOptionViewItem option;
        option.initFrom(view());
        widest = std::max(widest, itemDelegate()->sizeHint(option, model()->index(i, 0)).width() + 40);
    }
    view()->setMinimumWidth(widest);
}

void PortComboBox::showPopup() {
    RefreshList();
    QComboBox::showPopup();
}

} // namespace lq
