#include "panel/trend_plot.h"

#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

#include "recording/trend_plot_points.h"

namespace lq {

namespace {

constexpr std::size_t kVolt = 7; // the quantity on the right-hand axis

struct Range {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    void Take(double v)
    {
        low = std::min(low, v);
        high = std::max(high, v);
    }
    bool Empty() const { return low > high; }
};

// The values with a margin, over at least `minSpan`, so that a few tenths of noise do not fill the plot.
void SetNiceRange(QValueAxis* axis, Range range, double emptyHigh, double minSpan)
{
    if (range.Empty()) range = {0, emptyHigh};
    const double margin = std::max({(range.high - range.low) * 0.08, (minSpan - (range.high - range.low)) / 2, 1.0});
    axis->setRange(std::floor(range.low - margin), std::ceil(range.high + margin));
    axis->applyNiceNumbers(); // ticks on round values
}

} // namespace

TrendPlot::TrendPlot(QChart* chart)
    : QObject(chart), chart_(chart), timeAxis_(new QDateTimeAxis), leftAxis_(new QValueAxis),
      voltAxis_(new QValueAxis)
{
    visible_.fill(true);
    chart_->setAnimationOptions(QChart::NoAnimation);
    chart_->legend()->setAlignment(Qt::AlignBottom);
    timeAxis_->setFormat(QStringLiteral("HH:mm:ss"));
    timeAxis_->setTickCount(7);
    leftAxis_->setTitleText(QStringLiteral("'C / % / A"));
    voltAxis_->setTitleText(QStringLiteral("V"));
    leftAxis_->setLabelFormat(QStringLiteral("%.0f"));
    voltAxis_->setLabelFormat(QStringLiteral("%.0f"));
    chart_->addAxis(timeAxis_, Qt::AlignBottom);
    chart_->addAxis(leftAxis_, Qt::AlignLeft);
    chart_->addAxis(voltAxis_, Qt::AlignRight);
    for (std::size_t q = 0; q < TrendModel::kQuantityCount; ++q) {
        QLineSeries* lead = AddSeries(q);
        const TrendQuantity& quantity = TrendModel::Quantities()[q];
        lead->setName(QString::fromUtf8(quantity.name.data(), static_cast<qsizetype>(quantity.name.size())));
        used_[q] = 1;
        QLegendMarker* marker = chart_->legend()->markers(lead).value(0);
        connect(marker, &QLegendMarker::clicked, this, [this, q] { SetQuantityVisible(q, !visible_[q]); });
    }
}

QColor TrendPlot::Color(std::size_t quantity)
{
    static const std::array<QColor, TrendModel::kQuantityCount> colors{
        QColor(0, 90, 220),  QColor(220, 0, 0),  QColor(230, 120, 0), QColor(0, 150, 80),
        QColor(190, 150, 0), QColor(0, 130, 130), QColor(140, 60, 20), QColor(130, 50, 170)};
    return colors[quantity];
}

QLineSeries* TrendPlot::AddSeries(std::size_t quantity)
{
    auto* series = new QLineSeries;
    // One pixel wide: the raster engine draws such a pen directly, a wider one goes through a stroker that
    // costs several times the CPU for every point.
    QPen pen(Color(quantity), 1);
    if (quantity == 1) pen.setStyle(Qt::DashLine); // SV: the set point, read against PV
    series->setPen(pen);
    chart_->addSeries(series);
    series->attachAxis(timeAxis_);
    series->attachAxis(quantity == kVolt ? voltAxis_ : leftAxis_);
    series->setVisible(visible_[quantity]);
    if (!lines_[quantity].empty())
        for (QLegendMarker* marker : chart_->legend()->markers(series)) marker->setVisible(false);
    lines_[quantity].push_back(series);
    return series;
}

void TrendPlot::Show(const TrendModel& model, double from, double to, int columns)
{
    for (std::size_t q = 0; q < TrendModel::kQuantityCount; ++q) {
        const auto lines = PlotLines(model.Series(q), from, to, columns);
        while (lines_[q].size() < lines.size()) AddSeries(q);
        for (std::size_t n = 0; n < lines_[q].size(); ++n) {
            QList<QPointF> points;
            if (n < lines.size()) {
                points.reserve(static_cast<qsizetype>(lines[n].size()));
                for (const PlotPoint& p : lines[n]) points.append(QPointF(p.x, p.y));
            }
            if (!points.isEmpty() || lines_[q][n]->count() != 0) lines_[q][n]->replace(points);
        }
        used_[q] = std::max<std::size_t>(1, lines.size());
    }
    timeAxis_->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(from)),
                        QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(to)));
    ScaleValueAxes(model, from, to);
}

void TrendPlot::ScaleValueAxes(const TrendModel& model, double from, double to)
{
    Range left, volt;
    for (std::size_t q = 0; q < TrendModel::kQuantityCount; ++q) {
        if (!visible_[q]) continue;
        if (const auto range = ValueRange(model.Series(q), from, to)) {
            (q == kVolt ? volt : left).Take(range->low);
            (q == kVolt ? volt : left).Take(range->high);
        }
    }
    SetNiceRange(leftAxis_, left, 100, 10);
    SetNiceRange(voltAxis_, volt, 400, 40);
}

void TrendPlot::SetQuantityVisible(std::size_t quantity, bool visible)
{
    visible_[quantity] = visible;
    for (QLineSeries* series : lines_[quantity]) series->setVisible(visible);
    // A hidden series hides its legend entry too; the lead's stays, dimmed, so it can be clicked back on.
    QLegendMarker* marker = chart_->legend()->markers(LeadSeries(quantity)).value(0);
    if (marker == nullptr) return;
    marker->setVisible(true);
    for (std::size_t n = 1; n < lines_[quantity].size(); ++n)
        for (QLegendMarker* extra : chart_->legend()->markers(lines_[quantity][n])) extra->setVisible(false);
    QColor label = marker->labelBrush().color();
    label.setAlphaF(visible ? 1.0 : 0.35);
    marker->setLabelBrush(label);
    QBrush brush = marker->brush();
    QColor fill = Color(quantity);
    fill.setAlphaF(visible ? 1.0 : 0.25);
    brush.setColor(fill);
    marker->setBrush(brush);
}

} // namespace lq
