#include "panel/monitor/link_statistics_view.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <chrono>

#include "modbus/display_text.h"
#include "modbus/modbus_master.h"
#include "monitor/link_statistics_text.h"

namespace lq {

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// As wide as the longest "… 秒前" a value line can show.
QString WidestValue() {
    return Text(Substitute(LQ_TR("LinkStatisticsText", "%1 秒前"), {"000000000"}));
}

} // namespace

LinkStatisticsView::LinkStatisticsView(ModbusMaster& master, QWidget* parent)
    : QWidget(parent), master_(master), grid_(new QGridLayout) {
    grid_->setColumnStretch(0, 1);
    grid_->setHorizontalSpacing(12);
    grid_->setVerticalSpacing(2);
    auto* reset = new QPushButton(tr("清零"), this);
    reset->setObjectName(QStringLiteral("resetStatistics"));
    connect(reset, &QPushButton::clicked, this, &LinkStatisticsView::Reset);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid_);
    layout->addStretch(1);
    layout->addWidget(reset, 0, Qt::AlignRight);
    Refresh();
}

void LinkStatisticsView::Rebuild(const std::vector<QString>& labels) {
    for (const Line& line : lines_) {
        delete line.label;
        delete line.value;
    }
    lines_.clear();
    for (const QString& text : labels) {
        Line line{new QLabel(text, this), new QLabel(this), false};
        line.value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // A fixed size: a new value repaints its own label, not the layout around it.
        line.value->setFixedSize(line.value->fontMetrics().horizontalAdvance(WidestValue()),
                                 line.value->fontMetrics().height());
        const int row = static_cast<int>(lines_.size());
        grid_->addWidget(line.label, row, 0);
        grid_->addWidget(line.value, row, 1);
        lines_.push_back(line);
    }
}

void LinkStatisticsView::AddDroppedReplies(std::vector<StatisticsItem>& items) {
    const std::optional<std::uint32_t> dropped = droppedReplies_ ? droppedReplies_() : std::nullopt;
    if (!dropped) return;
    // A port opened anew counts from zero again.
    if (*dropped < droppedAtReset_) droppedAtReset_ = 0;
    const std::uint32_t since = *dropped - droppedAtReset_;
    items.push_back({tr("丢弃的 MBAP 应答 (dropped)").toStdString(), std::to_string(since), since > 0});
}

void LinkStatisticsView::Refresh() {
    std::vector<StatisticsItem> items =
        DescribeStatistics(master_.Statistics(), std::chrono::steady_clock::now());
    AddDroppedReplies(items);
    std::vector<QString> labels;
    for (const StatisticsItem& item : items)
        labels.push_back(Text(item.label));
    bool same = labels.size() == lines_.size();
    for (std::size_t i = 0; same && i < labels.size(); ++i)
        same = lines_[i].label->text() == labels[i];
    if (!same) Rebuild(labels);
    for (std::size_t i = 0; i < items.size(); ++i) {
        // Unchanged texts are left alone, so a refresh repaints only what moved.
        const QString value = Text(items[i].value);
        if (lines_[i].value->text() != value) lines_[i].value->setText(value);
        if (lines_[i].fault != items[i].fault) {
            lines_[i].fault = items[i].fault;
            QPalette palette = lines_[i].label->palette();
            if (items[i].fault) palette.setColor(QPalette::WindowText, QColor(0xA0, 0, 0));
            lines_[i].value->setPalette(palette);
        }
    }
}

void LinkStatisticsView::Reset() {
    master_.Statistics().Reset();
    if (const std::optional<std::uint32_t> dropped = droppedReplies_ ? droppedReplies_() : std::nullopt)
        droppedAtReset_ = *dropped;
    Refresh();
}

QString LinkStatisticsView::ValueOf(const QString& label) const {
    for (const Line& line : lines_)
        if (line.label->text().trimmed() == label.trimmed()) return line.value->text();
    return {};
}

} // namespace lq
