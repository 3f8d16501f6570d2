#pragma once

#include <QTimer>
#include <QWidget>

class QTabWidget;

class QScrollArea;
class QSplitter;

namespace lq {

class ControllerSearchPage;
class LinkStatisticsView;
class TForm1;
class TrafficPage;
class TrafficTableModel;

// "通讯监视": the traffic record beside the link's statistics, and the controller search, in an ordinary
// window beside the panel. It watches the master from its creation to its destruction and, once a second
// while shown, moves the new rows into the table and refreshes the statistics; a search still running when it
// closes is ended and the port set back.
class MonitorWindow final : public QWidget {
    Q_OBJECT
  public:
    // New rows and the counters reach the screen together at this pace.
    static constexpr std::chrono::milliseconds kRefreshInterval{2000};

    explicit MonitorWindow(TForm1& form);
    ~MonitorWindow() override;

    TrafficTableModel& Traffic() { return *traffic_; }
    TrafficPage& TrafficView() { return *trafficPage_; }
    LinkStatisticsView& Statistics() { return *statistics_; }
    ControllerSearchPage& Search() { return *search_; }
    QTabWidget* Tabs() const { return tabs_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void LayOutForScreen(QSplitter& split, QScrollArea& counters);
    void Refresh();

    TForm1& form_;
    TrafficTableModel* traffic_;
    TrafficPage* trafficPage_;
    LinkStatisticsView* statistics_;
    ControllerSearchPage* search_;
    QTabWidget* tabs_;
    QTimer refresh_;
};

} // namespace lq
