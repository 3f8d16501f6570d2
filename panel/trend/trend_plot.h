#pragma once

#include <QColor>
#include <QObject>
#include <array>
#include <functional>
#include <vector>

#include "trend/axis_scale.h"
#include "trend/trend_plot_points.h"
#include "trend/trend_series.h"

class QChart;
class QDateTimeAxis;
class QLineSeries;
class QValueAxis;

namespace lq {

// The trend model's quantities as Qt Charts line series: a time axis, a left axis for 'C, % and A and a
// right one for the line voltage, each scaled to what is visible. A quantity's line is broken into one
// stretch per spell of a live link, so a gap stays a gap, and a stretch that goes on past the start of the
// page into the part drawn then and the part that came since, one series each: Qt Charts rebuilds and strokes
// the whole of a series whenever it or an axis changes, so new points redraw only the short newest part.
// Only the quantity's first series has a legend entry, and clicking it shows or hides the whole quantity.
class TrendPlot final : public QObject {
    Q_OBJECT
  public:
    explicit TrendPlot(QChart* chart);

    // Draws a new page: the time axis from `from` to `to` (chart time, ms), the value axes fitted to the
    // values shown there, and the model's points on a plot `columns` pixels wide. No point at or before
    // `settled` changes while the page is shown (the present time while following).
    void ShowPage(const TrendSeries& model, double from, double to, int columns, double settled);
    // Draws what came since on the same page: only the series whose points changed; a value axis moves only
    // when a value falls outside it.
    void ShowNewPoints(const TrendSeries& model, double from, double to, int columns);
    // Told after a click on a legend entry has shown or hidden a quantity.
    std::function<void()> onQuantityToggled;

    void SetQuantityVisible(std::size_t quantity, bool visible);
    bool QuantityVisible(std::size_t quantity) const { return visible_[quantity]; }
    static QColor Color(std::size_t quantity);

    QChart* Chart() const { return chart_; }
    // The series that carries the quantity's legend entry (and its first line).
    QLineSeries* LeadSeries(std::size_t quantity) const { return lines_[quantity].front(); }
    // How many lines the quantity has at present (one per stretch of a live link in view, at least one).
    std::size_t LineCount(std::size_t quantity) const { return used_[quantity]; }
    // Every series of the quantity, the pieces of its lines in time order; those not needed now are empty.
    const std::vector<QLineSeries*>& SeriesOf(std::size_t quantity) const { return lines_[quantity]; }

  private:
    using Pieces = std::array<std::vector<std::vector<PlotPoint>>, TrendSeries::kQuantityCount>;
    struct Scales {
        AxisScale left;
        AxisScale volt;
    };

    QLineSeries* AddSeries(std::size_t quantity);
    void Draw(const TrendSeries& model, double from, double to, int columns, bool newPage);
    Pieces PlanPieces(const TrendSeries& model, double from, double to, int columns);
    Scales PlanScales(const TrendSeries& model, double from, double to, bool newPage) const;
    bool Moves(const Scales& scales, double from, double to, bool newPage) const;
    bool TimeMoves(double from, double to) const;
    void ApplyAxes(const Scales& scales, double from, double to, bool newPage);

    QChart* chart_;
    QDateTimeAxis* timeAxis_;
    QValueAxis* leftAxis_;
    QValueAxis* voltAxis_;
    std::array<std::vector<QLineSeries*>, TrendSeries::kQuantityCount> lines_;
    Pieces shown_;   // what each series holds at present
    double cut_ = 0; // where the lines are cut into what was drawn with the page and what came since
    std::array<std::size_t, TrendSeries::kQuantityCount> used_{};
    std::array<bool, TrendSeries::kQuantityCount> visible_{};
};

} // namespace lq
