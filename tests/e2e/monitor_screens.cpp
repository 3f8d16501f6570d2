// Renders the communication monitor on the real panel against the simulator, into PNGs for the docs: during
// normal polling, with faults injected, and after a finished controller search.
//   xvfb-run -a -s "-screen 0 1600x900x24" env QT_QPA_PLATFORM=xcb build/tests/e2e/monitor_screens docs
#include <QApplication>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

#include "panel/monitor/controller_search_page.h"
#include "panel/monitor/link_statistics_view.h"
#include "panel/monitor/monitor_tool.h"
#include "panel/monitor/monitor_window.h"
#include "tests/e2e/panel_on_sim.h"

using namespace lq;

namespace {

bool Save(QWidget& widget, const QString& path) {
    const bool saved = widget.grab().save(path);
    std::fprintf(stderr, "%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

// The panel polling a simulator with these options for a while, the monitor open beside it.
bool Polling(const QString& path, std::vector<std::string> options, int seconds) {
    e2e::PanelOnSim panel(std::move(options));
    if (!panel.OpenAndTick()) return false;
    MonitorTool entry(panel.Form());
    entry.Open();
    QTest::qWait(seconds * 1000);
    entry.Window()->Statistics().Refresh();
    QTest::qWait(400);
    return Save(*entry.Window(), path);
}

bool Search(const QString& path) {
    e2e::PanelOnSim panel({"--baud", "9600", "--framing", "8E1", "--slave", "7", "--line-check"});
    if (!panel.OpenAndTick()) return false;
    MonitorTool entry(panel.Form());
    entry.Open();
    entry.Window()->Tabs()->setCurrentIndex(1);
    ControllerSearchPage& search = entry.Window()->Search();
    QSignalSpy ended(&search, &ControllerSearchPage::SearchEnded);
    search.StartSearch();
    if (!ended.wait(60000)) return false;
    QTest::qWait(200);
    return Save(*entry.Window(), path);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    bool ok = Polling(folder + QStringLiteral("/monitor-polling.png"), {"--seed", "4"}, 6);
    ok = Polling(
             folder + QStringLiteral("/monitor-faults.png"),
             {"--seed", "4", "--corrupt", "0.15", "--drop", "0.1", "--split", "0.1", "--refuse-block", "20"},
             14) &&
         ok;
    ok = Search(folder + QStringLiteral("/monitor-search.png")) && ok;
    return ok ? 0 : 1;
}
