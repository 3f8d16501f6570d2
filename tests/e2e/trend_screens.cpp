// Renders the trend window on the real simulator after an SV step, PV following it, into a PNG for the docs
// (not a test). Usage: trend_screens FILE.png [SECONDS_AFTER_THE_STEP]
#include <QApplication>
#include <QMouseEvent>
#include <QtTest>

#include "panel/trend/trend_chart_view.h"
#include "panel/trend/trend_tool.h"
#include "panel/trend/trend_window.h"
#include "tests/e2e/panel_on_sim.h"
#include "widgets/ti_analog_output.h"
#include "widgets/ti_line_editor.h"
#include "widgets/ti_switch_led.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    const int after = argc > 2 ? std::atoi(argv[2]) : 60;
    lq::e2e::PanelOnSim panel({"--seed", "5"});
    lq::TForm1& f = panel.Form();
    lq::TrendTool tool(f);
    f.activateWindow();
    if (!QTest::qWaitForWindowActive(&f) || !panel.OpenAndTick()) return 1;
    QTest::qWait(15000);
    const int target = std::max<int>(f.Master().Registers()[35], f.Master().Registers()[36]) + 200;
    QTest::mouseClick(f.iSwitchLed2, Qt::LeftButton);
    QTest::keyClick(f.iAnalogOutput3->Editor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(f.iAnalogOutput3->Editor(), QString::number(target / 10.0, 'f', 1));
    const auto seen = f.Master().Statistics().repliesAccepted;
    while (f.Master().Statistics().repliesAccepted == seen)
        QTest::qWait(20);
    QTest::mouseClick(f.iSwitchLed2, Qt::LeftButton);
    QTest::qWait(after * 1000);
    // Opened only now: it shows what came before it was opened.
    tool.OpenWindow();
    lq::TrendWindow& window = *tool.Window();
    window.resize(1000, 600);
    window.SetSpanMinutes(2);
    QApplication::processEvents();
    window.Refresh();
    // The cross-hair a little before the right-hand edge.
    lq::TrendChartView* view = window.ChartView();
    const QRectF plot = view->chart()->plotArea();
    const QPoint at = view->mapFromScene(QPointF(plot.right() - plot.width() * 0.15, plot.center().y()));
    QMouseEvent move(QEvent::MouseMove, at, view->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &move);
    QApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
