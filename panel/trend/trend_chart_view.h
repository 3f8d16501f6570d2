#pragma once

#include <QChartView>
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

    // Repaints only when they differ from those shown.
    void SetMarkers(std::vector<Marker> markers);
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
    void DrawCrossHair(QPainter& painter, const QRectF& plot);

    std::vector<Marker> markers_;
    std::optional<double> crossHair_;
};

} // namespace lq
