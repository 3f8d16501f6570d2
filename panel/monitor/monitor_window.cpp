#include "panel/monitor/monitor_window.h"

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

MonitorWindow::MonitorWindow(TForm1& form)
    : QWidget(&form, Qt::Window), form_(form),
      traffic_(new TrafficTableModel(TrafficRows::kDefaultCapacity, this)),
      trafficPage_(new TrafficPage(*traffic_)), statistics_(new LinkStatisticsView(form.Master())),
      search_(new ControllerSearchPage(form)), tabs_(new QTabWidget(this)) {
    setObjectName(QStringLiteral("MonitorWindow"));
    setWindowTitle(QStringLiteral("通讯监视"));
    setFont(SansFont(12));
    resize(1180, 560);

    auto* split = new QSplitter(Qt::Horizontal);
    split->addWidget(trafficPage_);
    split->addWidget(statistics_);
    split->setStretchFactor(0, 1);
    split->setCollapsible(0, false);
    tabs_->addTab(split, QStringLiteral("通讯记录与统计"));
    tabs_->addTab(search_, QStringLiteral("搜索控制器"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);

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
