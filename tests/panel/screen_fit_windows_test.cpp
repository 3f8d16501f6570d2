// The main window and every tool window open wholly on the screen the test runs on (see CMakeLists.txt:
// laptop screens at 100 % and 150 %). The main window keeps its design-time layout, scrolled when the
// screen is smaller than the design.
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>
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

QString Where(const QWidget& w) {
    const QRect f = w.frameGeometry();
    const QRect a = w.screen()->availableGeometry();
    return QStringLiteral("%1: frame %2x%3 at %4,%5 on %6x%7")
        .arg(w.windowTitle())
        .arg(f.width())
        .arg(f.height())
        .arg(f.x())
        .arg(f.y())
        .arg(a.width())
        .arg(a.height());
}

} // namespace

class ScreenFitWindowsTest : public QObject {
    Q_OBJECT

  private slots:
    void theMainWindowIsWhollyOnTheScreenWithItsLayoutAsDesigned() {
        TForm1 form;
        const QSize designed = form.size();
        const QRect designedPanel = form.Panel2->geometry();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QRect area = form.screen()->availableGeometry();
        QVERIFY2(area.contains(form.frameGeometry()), qPrintable(Where(form)));
        QCOMPARE(form.Panel2->size(), designedPanel.size());
        auto* scrolled = form.findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly);
        const bool smaller = form.width() < designed.width() || form.height() < designed.height();
        QCOMPARE(scrolled != nullptr, smaller);
        if (!smaller) return;
        // Every part of the design can be scrolled to: nothing is cut off for good.
        QCOMPARE(scrolled->horizontalScrollBar()->isVisible(), form.width() < designed.width());
        QCOMPARE(scrolled->horizontalScrollBar()->maximum(),
                 std::max(0, designed.width() - scrolled->viewport()->width()));
        QVERIFY(scrolled->verticalScrollBar()->isVisible());
        QCOMPARE(form.Label1->geometry(), QRect(0, 0, form.width(), 24));
    }

    void everyToolWindowOpensWhollyOnTheScreen() {
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        MonitorTool monitor(form);
        TrendTool trend(form);
        JournalTool journal(form);
        ParametersTool parameters(form);
        const std::function<QWidget*()> tools[] = {
            [&] {
                monitor.Open();
                return monitor.Window();
            },
            [&] {
                trend.OpenWindow();
                return trend.Window();
            },
            [&] {
                journal.OpenWindow();
                return journal.Window();
            },
            [&] {
                parameters.Open();
                return parameters.Window();
            },
        };
        for (const auto& open : tools) {
            QWidget* window = open();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            QVERIFY2(window->screen()->availableGeometry().contains(window->frameGeometry()),
                     qPrintable(Where(*window)));
            window->close();
        }
    }
};

QTEST_MAIN(ScreenFitWindowsTest)
#include "screen_fit_windows_test.moc"
