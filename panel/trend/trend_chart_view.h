#pragma once

#include <QChartView>
#include <QPixmap>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace lq {

// The chart with what Qt Charts has no series for, drawn over it: a marked vertical line with its text for
// each write of a setting, and under the mouse a cross-hair with the time and the values there.
class TrendChartView final : public QChartView {
    Q_OBJECT
  public:
    struct Marker {
        double timeMs;
        QString text;
        bool operator==(const Marker&) const = default;
    };

    explicit TrendChartView(QChart* chart, QWidget* parent = nullptr);

    // The markers for a time axis from `from` to `to`. The view repaints only what its chart changed, and a
    // marker drawn over it would stay where it was drawn, so the whole view is repainted when the markers or
    // the axis differ from those shown, and when the plot area moves (a resize, a new axis label's width).
    void SetMarkers(std::vector<Marker> markers, double from, double to);
    // The read-out for a chart time under the cross-hair, one line each.
    std::function<QStringList(double timeMs)> readOut;

    // The cross-hair's time, while the mouse is over the plot.
    std::optional<double> CrossHair() const { return crossHair_; }
    // The time at a position in the view, and back.
    double TimeAt(QPointF viewPos) const;
    double XOf(double timeMs) const;

  protected:
    void drawForeground(QPainter* painter, const QRectF& rect) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void DrawMarkers(QPainter& painter, const QRectF& plot);
    void PaintMarkerLayer(const QRectF& plot, qreal ratio);
    void DrawCrossHair(QPainter& painter, const QRectF& plot);

    std::vector<Marker> markers_;
    // The markers as drawn over the plot, made again only when they, the axis, the plot or the font change:
    // a few new points repaint a strip of the view, and drawing every flag of two hours of writes for each
    // strip would be most of the window's cost.
    QPixmap markerLayer_;
    bool layerValid_ = false;
    bool layerHasMarkers_ = false;
    QRectF layerPlot_;
    QFont layerFont_;
    double from_ = 0;
    double to_ = 0;
    std::optional<double> crossHair_;
};

} // namespace lq
