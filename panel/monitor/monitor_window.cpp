#include "panel/monitor/monitor_window.h"

#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

#include "panel/form1.h"
#include "panel/monitor/controller_search_page.h"
#include "panel/monitor/link_statistics_view.h"
#include "panel/monitor/traffic_page.h"
#include "panel/monitor/traffic_table_model.h"
#include "panel/panel_fonts.h"
#include "serial/network_port_name.h"

namespace lq {

namespace {

// The counters' column is as tall as its two dozen rows; on a laptop's screen at 150 % it scrolls instead of
// pushing the window off the screen. Where there is room it looks as before: no frame, no bars, the tab's
// own background.
QScrollArea* ScrollableOnSmallScreens(QWidget* column) {
    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(column);
    area->viewport()->setAutoFillBackground(false);
    column->setAutoFillBackground(false);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return area;
}

} // namespace

void MonitorWindow::LayOutForScreen(QSplitter& split, QScrollArea& counters) {
    const QScreen* where = screen();
    if (where == nullptr) return;
    const QRect area = where->availableGeometry();
    // On a screen too short for the counters' column they scroll, and the bar must not cover their values.
    if (height() > area.height())
        counters.setMinimumWidth(counters.widget()->minimumSizeHint().width() +
                                 counters.verticalScrollBar()->sizeHint().width());
    // Side by side the table and the counters need more than a laptop's screen at 150 % is wide: then the
    // counters go below the table.
    if (minimumSizeHint().width() <= area.width()) return;
    split.setOrientation(Qt::Vertical);
    split.setStretchFactor(1, 1);
    // The window's least size is taken from its layout at once, before it is first shown.
    tabs_->updateGeometry();
    layout()->invalidate();
    layout()->activate();
}

MonitorWindow::MonitorWindow(TForm1& form)
    : QWidget(&form, Qt::Window), form_(form),
      traffic_(new TrafficTableModel(TrafficRows::kDefaultCapacity, this)),
      trafficPage_(new TrafficPage(*traffic_)), statistics_(new LinkStatisticsView(form.Master())),
      search_(new ControllerSearchPage(form)), tabs_(new QTabWidget(this)) {
    setObjectName(QStringLiteral("MonitorWindow"));
    setWindowTitle(tr("通讯监视"));
    setFont(SansFont(12));
    resize(1180, 560);

    auto* split = new QSplitter(Qt::Horizontal);
    split->addWidget(trafficPage_);
    QScrollArea* counters = ScrollableOnSmallScreens(statistics_);
    split->addWidget(counters);
    split->setStretchFactor(0, 1);
    split->setCollapsible(0, false);
    tabs_->addTab(split, tr("通讯记录与统计"));
    tabs_->addTab(search_, tr("搜索控制器"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    LayOutForScreen(*split, *counters);

    statistics_->SetDroppedReplies([&form]() -> std::optional<std::uint32_t> {
        const TComm& port = form.Port();
        const std::optional<NetworkPortName> name = ParseNetworkPortName(port.OpenedName());
        if (!name || name->kind != NetworkPortKind::ModbusTcp) return std::nullopt;
        return port.DroppedReplies();
    });
    refresh_.setInterval(kRefreshInterval);
    connect(&refresh_, &QTimer::timeout, this, &MonitorWindow::Refresh);
    form_.Master().AddObserver(*traffic_);
}

MonitorWindow::~MonitorWindow() {
    form_.Master().RemoveObserver(*traffic_);
}

void MonitorWindow::Refresh() {
    traffic_->Flush();
    statistics_->Refresh();
}

void MonitorWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Refresh();
    refresh_.start();
}

void MonitorWindow::hideEvent(QHideEvent* event) {
    refresh_.stop();
    QWidget::hideEvent(event);
}

} // namespace lq
