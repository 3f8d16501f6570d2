#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QTimer;

namespace lq {

class TrendChartView;
class TrendSeries;
class TrendPlot;

// "趋势": the trend model plotted against time. It follows the newest data over the chosen span (1 min to
// 2 h) a page at a time until paused (see TrendFollow); paused, the scroll bar goes back through everything
// held. The record button starts and stops the CSV recording, which is kept by its owner; the window only
// shows its state.
class TrendWindow final : public QWidget {
    Q_OBJECT
  public:
    // `now` gives the present chart time, so the plot moves on while no data comes.
    TrendWindow(const TrendSeries& model, std::function<double()> now, QWidget* parent = nullptr);

    // Redraws from the model now; while following, on a new page that starts at the present time.
    void Refresh();
    // What the refresh timer does while following: a new page once the present time reaches the right-hand
    // edge, otherwise only the points that came since the last redraw, once a round of the poll.
    void Follow();
    // How many pages the view has started while following (for the benchmark and tests).
    std::uint64_t Pages() const { return pages_; }
    void SetSpanMinutes(int minutes);
    int SpanMinutes() const;
    void SetPaused(bool paused);
    bool Paused() const;
    // The time range on the plot (chart time, ms).
    double ViewFrom() const { return viewTo_ - SpanMs(); }
    double ViewTo() const { return viewTo_; }

    // Saves the chart as a PNG; false with the reason in the status line when it cannot.
    bool ExportPng(const QString& path);

    // The record button's state and the line beside it; `failed` shows the text in red.
    void ShowRecording(bool recording, const QString& text, bool failed);
    // Asks where to save a PNG; a dialog unless replaced.
    std::function<QString()> askPngPath;

    TrendChartView* ChartView() const { return view_; }
    TrendPlot* Plot() const { return plot_; }
    QPushButton* RecordButton() const { return record_; }
    QPushButton* ExportButton() const { return export_; }
    QCheckBox* PauseBox() const { return pause_; }
    QComboBox* SpanBox() const { return span_; }
    QScrollBar* ScrollBar() const { return scroll_; }
    QLabel* StatusLine() const { return status_; }

  signals:
    // The operator clicked the record button: true to start, false to stop.
    void RecordClicked(bool start);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void CreateControls();
    // The present chart time: the clock, or the newest data if that is ahead of it.
    double Now() const;
    void DrawPage();
    void DrawNewPoints();
    void Drawn(double now);
    void SleepUntilDue(); // sets the refresh timer for when Follow() can next draw something
    double SpanMs() const;
    int Columns() const;                                // the plot's width in pixels
    void UpdateScrollBar(double earliest, double last); // the times the scroll bar spans
    void ScrollTo(int value);
    void ExportClicked();
    QStringList ReadOut(double timeMs) const;
    std::optional<double> Earliest() const;

    const TrendSeries& model_;
    std::function<double()> now_;
    TrendChartView* view_ = nullptr;
    TrendPlot* plot_ = nullptr;
    QComboBox* span_ = nullptr;
    QCheckBox* pause_ = nullptr;
    QPushButton* export_ = nullptr;
    QPushButton* record_ = nullptr;
    QLabel* recordText_ = nullptr;
    QLabel* status_ = nullptr;
    QScrollBar* scroll_ = nullptr;
    QTimer* timer_ = nullptr;
    double viewTo_ = 0;
    double drawnAt_ = 0;              // Now() at the last redraw
    std::uint64_t drawnRevision_ = 0; // the model's revision at the last redraw
    std::uint64_t pages_ = 0;
    bool updatingScroll_ = false;
    bool shown_ = false;
};

} // namespace lq
