#include "panel/trend/trend_plot.h"

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

namespace lq {

namespace {

constexpr std::size_t kVolt = 7; // the quantity on the right-hand axis

struct Range {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    void Take(double v) {
        low = std::min(low, v);
        high = std::max(high, v);
    }
    bool Empty() const { return low > high; }
};

AxisScale CurrentScale(const QValueAxis* axis) {
    return {axis->min(), axis->max(), axis->tickCount()};
}

// The axis for the values in view; between pages it stays as it is while it holds them.
AxisScale PlanScale(const QValueAxis* axis, Range range, double emptyHigh, double minSpan, bool newPage) {
    if (range.Empty()) range = {0, emptyHigh};
    const AxisScale current = CurrentScale(axis);
    if (!newPage && current.Holds(range.low, range.high)) return current;
    return RoundAxisScale(range.low, range.high, minSpan);
}

void ApplyScale(QValueAxis* axis, const AxisScale& scale) {
    if (axis->min() != scale.min || axis->max() != scale.max) axis->setRange(scale.min, scale.max);
    if (axis->tickCount() != scale.ticks) axis->setTickCount(scale.ticks);
}

QList<QPointF> ToQt(const std::vector<PlotPoint>& points) {
    QList<QPointF> list;
    list.reserve(static_cast<qsizetype>(points.size()));
    for (const PlotPoint& p : points)
        list.append(QPointF(p.x, p.y));
    return list;
}

} // namespace

TrendPlot::TrendPlot(QChart* chart)
    : QObject(chart), chart_(chart), timeAxis_(new QDateTimeAxis), leftAxis_(new QValueAxis),
      voltAxis_(new QValueAxis) {
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
    for (std::size_t q = 0; q < TrendSeries::kQuantityCount; ++q) {
        QLineSeries* lead = AddSeries(q);
        lead->setName(QString::fromStdString(TrendSeries::ShownName(q)));
        used_[q] = 1;
        QLegendMarker* marker = chart_->legend()->markers(lead).value(0);
        connect(marker, &QLegendMarker::clicked, this, [this, q] {
            SetQuantityVisible(q, !visible_[q]);
            if (onQuantityToggled) onQuantityToggled();
        });
    }
}

QColor TrendPlot::Color(std::size_t quantity) {
    static const std::array<QColor, TrendSeries::kQuantityCount> colors{
        QColor(0, 90, 220),  QColor(220, 0, 0),   QColor(230, 120, 0), QColor(0, 150, 80),
        QColor(190, 150, 0), QColor(0, 130, 130), QColor(140, 60, 20), QColor(130, 50, 170)};
    return colors[quantity];
}

QLineSeries* TrendPlot::AddSeries(std::size_t quantity) {
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
        for (QLegendMarker* marker : chart_->legend()->markers(series))
            marker->setVisible(false);
    lines_[quantity].push_back(series);
    shown_[quantity].emplace_back();
    return series;
}

void TrendPlot::ShowPage(const TrendSeries& model, double from, double to, int columns, double settled) {
    cut_ = ColumnEdgeAtOrBefore(from, to, columns, settled);
    Draw(model, from, to, columns, true);
}

void TrendPlot::ShowNewPoints(const TrendSeries& model, double from, double to, int columns) {
    Draw(model, from, to, columns, false);
}

void TrendPlot::Draw(const TrendSeries& model, double from, double to, int columns, bool newPage) {
    Pieces pieces = PlanPieces(model, from, to, columns);
    const Scales scales = PlanScales(model, from, to, newPage);
    // A moving axis redraws every series: those about to change are emptied first, so each is drawn once.
    const bool moves = Moves(scales, from, to, newPage);
    for (std::size_t q = 0; q < TrendSeries::kQuantityCount; ++q)
        for (std::size_t n = 0; n < lines_[q].size(); ++n)
            if (moves && pieces[q][n] != shown_[q][n] && !shown_[q][n].empty()) {
                lines_[q][n]->replace(QList<QPointF>{});
                shown_[q][n].clear();
            }
    ApplyAxes(scales, from, to, newPage);
    for (std::size_t q = 0; q < TrendSeries::kQuantityCount; ++q)
        for (std::size_t n = 0; n < lines_[q].size(); ++n)
            if (pieces[q][n] != shown_[q][n]) {
                lines_[q][n]->replace(ToQt(pieces[q][n]));
                shown_[q][n] = std::move(pieces[q][n]);
            }
}

TrendPlot::Pieces TrendPlot::PlanPieces(const TrendSeries& model, double from, double to, int columns) {
    Pieces pieces;
    for (std::size_t q = 0; q < TrendSeries::kQuantityCount; ++q) {
        const auto lines = PlotLines(model.Series(q), from, to, columns);
        used_[q] = std::max<std::size_t>(1, lines.size());
        pieces[q] = SplitAt(lines, cut_);
        while (lines_[q].size() < pieces[q].size())
            AddSeries(q);
        pieces[q].resize(lines_[q].size()); // the spare series are left empty
    }
    return pieces;
}

TrendPlot::Scales TrendPlot::PlanScales(const TrendSeries& model, double from, double to,
                                        bool newPage) const {
    Range left, volt;
    for (std::size_t q = 0; q < TrendSeries::kQuantityCount; ++q) {
        if (!visible_[q]) continue;
        if (const auto range = ValueRange(model.Series(q), from, to)) {
            (q == kVolt ? volt : left).Take(range->low);
            (q == kVolt ? volt : left).Take(range->high);
        }
    }
    return {PlanScale(leftAxis_, left, 100, 10, newPage), PlanScale(voltAxis_, volt, 400, 40, newPage)};
}

bool TrendPlot::Moves(const Scales& scales, double from, double to, bool newPage) const {
    const auto moves = [](const QValueAxis* axis, const AxisScale& scale) {
        return axis->min() != scale.min || axis->max() != scale.max;
    };
    return (newPage && TimeMoves(from, to)) || moves(leftAxis_, scales.left) || moves(voltAxis_, scales.volt);
}

bool TrendPlot::TimeMoves(double from, double to) const {
    return timeAxis_->min().toMSecsSinceEpoch() != static_cast<qint64>(from) ||
           timeAxis_->max().toMSecsSinceEpoch() != static_cast<qint64>(to);
}

void TrendPlot::ApplyAxes(const Scales& scales, double from, double to, bool newPage) {
    if (newPage && TimeMoves(from, to))
        timeAxis_->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(from)),
                            QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(to)));
    ApplyScale(leftAxis_, scales.left);
    ApplyScale(voltAxis_, scales.volt);
}

void TrendPlot::SetQuantityVisible(std::size_t quantity, bool visible) {
    visible_[quantity] = visible;
    for (QLineSeries* series : lines_[quantity])
        series->setVisible(visible);
    // A hidden series hides its legend entry too; the lead's stays, dimmed, so it can be clicked back on.
    QLegendMarker* marker = chart_->legend()->markers(LeadSeries(quantity)).value(0);
    if (marker == nullptr) return;
    marker->setVisible(true);
    for (std::size_t n = 1; n < lines_[quantity].size(); ++n)
        for (QLegendMarker* extra : chart_->legend()->markers(lines_[quantity][n]))
            extra->setVisible(false);
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
