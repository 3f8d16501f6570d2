// Pictures of the main window and of each tool window on laptop screens, each window alone on its screen as
// the offscreen platform places it, so that a part off the screen is seen missing. Usage:
//   panel_screen_fit_screens FOLDER
// makes FOLDER/screen-<screen>-<window>.png for 1024 x 768 and 1366 x 768, each at 100 % and 150 %, and
// prints where each window went (one run of itself per screen, as the screen is chosen when the program
// starts).
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QtTest>
#include <cstdio>
#include <functional>

#include "panel/form1.h"
#include "panel/journal/journal_tool.h"
#include "panel/journal/journal_window.h"
#include "panel/monitor/monitor_tool.h"
#include "panel/monitor/monitor_window.h"
#include "panel/parameters/parameters_tool.h"
#include "panel/parameters/parameters_window.h"
#include "panel/trend/trend_tool.h"
#include "panel/trend/trend_window.h"

using namespace lq;

namespace {

struct Screen {
    const char* name;
    const char* config;
    const char* scale;
};

constexpr Screen kScreens[] = {{"1024x768", "screen-1024x768.json", "1"},
                               {"1024x768-150", "screen-1024x768.json", "1.5"},
                               {"1366x768", "screen-1366x768.json", "1"},
                               {"1366x768-150", "screen-1366x768.json", "1.5"}};

// The screen as the window leaves it: dark where no window is, cut where the window leaves the screen.
QImage OnScreen(QWidget& window) {
    QCoreApplication::processEvents();
    const QScreen* screen = window.screen();
    const qreal dpr = screen->devicePixelRatio();
    QImage shot((QSizeF(screen->geometry().size()) * dpr).toSize(), QImage::Format_RGB32);
    shot.setDevicePixelRatio(dpr);
    shot.fill(QColor(40, 40, 48));
    QPainter painter(&shot);
    painter.drawPixmap(window.geometry().topLeft() - screen->geometry().topLeft(), window.grab());
    return shot;
}

bool Save(QWidget& window, const QString& folder, const QString& screenName, const char* what) {
    const QRect area = window.screen()->availableGeometry();
    const bool inside = area.contains(window.frameGeometry());
    std::printf("%-13s %-10s %4dx%-4d at %4d,%-4d on %dx%d: %s\n", qPrintable(screenName), what,
                window.frameGeometry().width(), window.frameGeometry().height(), window.frameGeometry().x(),
                window.frameGeometry().y(), area.width(), area.height(), inside ? "inside" : "CUT OFF");
    return OnScreen(window).save(
               QStringLiteral("%1/screen-%2-%3.png").arg(folder, screenName, QLatin1String(what))) &&
           inside;
}

int OneScreen(const QString& screenName, const QString& folder) {
    TForm1 form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 1;
    bool ok = Save(form, folder, screenName, "main");
    MonitorTool monitor(form);
    TrendTool trend(form);
    JournalTool journal(form);
    ParametersTool parameters(form);
    const std::pair<const char*, std::function<QWidget*()>> tools[] = {
        {"monitor",
         [&] {
             monitor.Open();
             return monitor.Window();
         }},
        {"trend",
         [&] {
             trend.OpenWindow();
             return trend.Window();
         }},
        {"journal",
         [&] {
             journal.OpenWindow();
             return journal.Window();
         }},
        {"parameters",
         [&] {
             parameters.Open();
             return parameters.Window();
         }},
    };
    for (const auto& [what, open] : tools) {
        QWidget* window = open();
        if (!QTest::qWaitForWindowExposed(window)) return 1;
        ok = Save(*window, folder, screenName, what) && ok;
        window->close();
        QCoreApplication::processEvents();
    }
    return ok ? 0 : 3;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 4 && QByteArray(argv[1]) == "--screen") {
        QApplication app(argc, argv);
        return OneScreen(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    if (argc != 2) {
        std::fputs("usage: panel_screen_fit_screens FOLDER\n", stderr);
        return 2;
    }
    QCoreApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    int status = 0;
    for (const Screen& screen : kScreens) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"),
                   QStringLiteral("offscreen:configfile=%1/%2")
                       .arg(QStringLiteral(LQ_SCREEN_DATA), QLatin1String(screen.config)));
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QLatin1String(screen.scale));
        env.insert(QStringLiteral("XDG_STATE_HOME"), QDir::tempPath());
        QProcess one;
        one.setProcessEnvironment(env);
        one.setProcessChannelMode(QProcess::ForwardedChannels);
        one.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--screen"), QLatin1String(screen.name), folder});
        if (!one.waitForFinished(60000) || one.exitCode() != 0) status = 1;
    }
    return status;
}
