#pragma once

#include <QColor>
#include <QObject>
#include <array>
#include <vector>

#include "recording/trend_model.h"

class QChart;
class QDateTimeAxis;
class QLineSeries;
class QValueAxis;

namespace lq {

// The trend model's quantities as Qt Charts line series: a time axis, a left axis for 'C, % and A and a
// right one for the line voltage, each scaled to what is visible. A quantity is one series per stretch of a
// live link, so a gap stays a gap; only the first of them has a legend entry, and clicking it shows or hides
// the whole quantity.
class TrendPlot final : public QObject {
    Q_OBJECT
public:
    explicit TrendPlot(QChart* chart);

    // Draws the model's points from `from` to `to` (chart time, ms) on a plot `columns` pixels wide.
    void Show(const TrendModel& model, double from, double to, int columns);

    void SetQuantityVisible(std::size_t quantity, bool visible);
    bool QuantityVisible(std::size_t quantity) const { return visible_[quantity]; }
    static QColor Color(std::size_t quantity);

    QChart* Chart() const { return chart_; }
    // The series that carries the quantity's legend entry (and its first line).
    QLineSeries* LeadSeries(std::size_t quantity) const { return lines_[quantity].front(); }
    // How many lines the quantity has at present (one per stretch of a live link in view, at least one).
    std::size_t LineCount(std::size_t quantity) const { return used_[quantity]; }

private:
    QLineSeries* AddSeries(std::size_t quantity);
    void ScaleValueAxes(const TrendModel& model, double from, double to);

    QChart* chart_;
    QDateTimeAxis* timeAxis_;
    QValueAxis* leftAxis_;
    QValueAxis* voltAxis_;
    std::array<std::vector<QLineSeries*>, TrendModel::kQuantityCount> lines_;
    std::array<std::size_t, TrendModel::kQuantityCount> used_{};
    std::array<bool, TrendModel::kQuantityCount> visible_{};
};

} // namespace lq
