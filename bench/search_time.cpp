// How long the default controller search takes: the real main window polling a controller on PORT, the
// monitor's "搜索控制器" clicked, timed until it has tried every setting and given the line back.
//
// Usage: search_time PORT      (run_all.sh starts pw5-sim at 9600 8E1 as slave 7 with --line-check)
#include "bench/panel_bench.h"
#include "panel/form1.h"
#include "panel/monitor/controller_search_page.h"
#include "panel/monitor/monitor_tool.h"
#include "panel/monitor/monitor_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableWidget>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: search_time PORT\n");
        return 2;
    }
    QApplication app(argc, argv);
    lq::TForm1 form;
    form.show();
    lq::MonitorTool entry(form);
    if (!lq::bench::OpenAndPoll(form, argv[1], "search_time")) return 1;
    entry.Open();
    lq::ControllerSearchPage& search = entry.Window()->Search();

    QElapsedTimer took;
    // exit(), not quit(): quit() closes every window first, and the figures below read the open one.
    const auto stop = [&app] { app.exit(0); };
    QObject::connect(&search, &lq::ControllerSearchPage::SearchEnded, &app, stop);
    // A second of polling first, so the search meets a read in flight as it would in use.
    QTimer::singleShot(1000, &app, [&] {
        took.start();
        search.StartSearch();
    });
    QTimer::singleShot(120000, &app, stop);
    app.exec();

    std::printf("search_s %.2f\n", took.elapsed() / 1000.0);
    std::printf("found %d\n", search.FoundTable()->rowCount());
    std::printf("invalid %d\n", search.InvalidTable()->rowCount());
    return 0;
}
