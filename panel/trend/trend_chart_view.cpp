#include "panel/trend/trend_chart_view.h"

#include <QAbstractSeries>
#include <QChart>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "trend/marker_flags.h"

namespace lq {

namespace {

const QColor kMarkerColor(120, 0, 160);
constexpr double kFlagGap = 2; // pixels between two flags, so each one's frame stays its own

} // namespace

TrendChartView::TrendChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {
    setMouseTracking(true);
    setRenderHint(QPainter::Antialiasing, false);
    connect(chart, &QChart::plotAreaChanged, viewport(), qOverload<>(&QWidget::update));
}

void TrendChartView::SetMarkers(std::vector<Marker> markers, double from, double to) {
    if (markers == markers_ && from == from_ && to == to_) return;
    markers_ = std::move(markers);
    from_ = from;
    to_ = to;
    layerValid_ = false;
    viewport()->update();
}

double TrendChartView::TimeAt(QPointF viewPos) const {
    const QList<QAbstractSeries*> series = chart()->series();
    if (series.isEmpty()) return 0;
    return chart()->mapToValue(mapToScene(viewPos.toPoint()), series.front()).x();
}

double TrendChartView::XOf(double timeMs) const {
    const QList<QAbstractSeries*> series = chart()->series();
    if (series.isEmpty()) return 0;
    return chart()->mapToPosition(QPointF(timeMs, 0), series.front()).x();
}

void TrendChartView::drawForeground(QPainter* painter, const QRectF& rect) {
    QChartView::drawForeground(painter, rect);
    const QRectF plot = chart()->plotArea();
    painter->save();
    painter->setClipRect(plot);
    DrawMarkers(*painter, plot);
    DrawCrossHair(*painter, plot);
    painter->restore();
}

void TrendChartView::DrawMarkers(QPainter& painter, const QRectF& plot) {
    const qreal ratio = viewport()->devicePixelRatioF();
    if (!layerValid_ || plot != layerPlot_ || font() != layerFont_ ||
        ratio != markerLayer_.devicePixelRatio())
        PaintMarkerLayer(plot, ratio);
    if (layerHasMarkers_) painter.drawPixmap(plot.toAlignedRect().topLeft(), markerLayer_);
}

void TrendChartView::PaintMarkerLayer(const QRectF& plot, qreal ratio) {
    const QRect area = plot.toAlignedRect();
    markerLayer_ = QPixmap(area.size() * ratio);
    markerLayer_.setDevicePixelRatio(ratio);
    markerLayer_.fill(Qt::transparent);
    layerValid_ = true;
    layerPlot_ = plot;
    layerFont_ = font();
    QPainter painter(&markerLayer_);
    painter.setRenderHints(renderHints());
    painter.translate(-area.topLeft());
    painter.setClipRect(plot);
    const QPen pen(kMarkerColor, 1, Qt::DashDotLine);
    painter.setFont(font());
    const QFontMetricsF metrics(font());
    std::vector<const Marker*> shown;
    std::vector<FlagSize> sizes;
    for (const Marker& marker : markers_) {
        const double x = XOf(marker.timeMs);
        if (x < plot.left() || x > plot.right()) continue;
        painter.setPen(pen);
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        shown.push_back(&marker);
        sizes.push_back({x, metrics.horizontalAdvance(marker.text) + 8});
    }
    // A small flag near the top carries the new value.
    const double height = metrics.height() + 4;
    const int rows = std::max(1, static_cast<int>((plot.height() - 4) / (height + kFlagGap)));
    const std::vector<FlagPlace> places = PlaceFlags(sizes, plot.right(), rows, kFlagGap);
    for (std::size_t i = 0; i < places.size(); ++i) {
        const QRectF flag(places[i].left, plot.top() + 2 + places[i].row * (height + kFlagGap),
                          sizes[i].width, height);
        painter.fillRect(flag, QColor(255, 255, 255, 220));
        painter.setPen(kMarkerColor);
        painter.drawRect(flag);
        painter.drawText(flag, Qt::AlignCenter, shown[i]->text);
    }
    layerHasMarkers_ = !shown.empty();
}

void TrendChartView::DrawCrossHair(QPainter& painter, const QRectF& plot) {
    if (!crossHair_) return;
    const double x = XOf(*crossHair_);
    painter.setPen(QPen(QColor(60, 60, 60), 1, Qt::DotLine));
    painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    const QStringList lines = readOut ? readOut(*crossHair_) : QStringList();
    if (lines.isEmpty()) return;
    const QFontMetricsF metrics(font());
    double width = 0;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    QRectF box(0, 0, width + 12, metrics.height() * lines.size() + 8);
    // Beside the line, on whichever side has room.
    box.moveTopLeft(
        QPointF(x + box.width() + 8 < plot.right() ? x + 8 : x - box.width() - 8, plot.top() + 28));
    painter.fillRect(box, QColor(255, 255, 240, 235));
    painter.setPen(QColor(60, 60, 60));
    painter.drawRect(box);
    for (int n = 0; n < lines.size(); ++n)
        painter.drawText(QPointF(box.left() + 6, box.top() + 4 + metrics.ascent() + n * metrics.height()),
                         lines[n]);
}

void TrendChartView::mouseMoveEvent(QMouseEvent* event) {
    QChartView::mouseMoveEvent(event);
    const QPointF scenePos = mapToScene(event->position().toPoint());
    if (chart()->plotArea().contains(scenePos))
        crossHair_ = TimeAt(event->position());
    else
        crossHair_.reset();
    viewport()->update();
}

void TrendChartView::leaveEvent(QEvent* event) {
    QChartView::leaveEvent(event);
    crossHair_.reset();
    viewport()->update();
}

} // namespace lq
