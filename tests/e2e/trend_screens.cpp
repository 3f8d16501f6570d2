// Renders the trend window on the real simulator after an SV step, PV following it, into a PNG for the docs
// (not a test). Usage: trend_screens FILE.png [SECONDS_AFTER_THE_STEP] [jump]
// Without "jump" the window is opened only after the step, with the cross-hair shown; with it the window
// follows from before the step, an I write comes a second after the SV one, and the picture is taken after
// the view has jumped on several pages.
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

namespace {

void ShowWindow(lq::TrendTool& tool) {
    tool.OpenWindow();
    lq::TrendWindow& window = *tool.Window();
    window.resize(1000, 600);
    window.SetSpanMinutes(2);
    QApplication::processEvents();
    window.Refresh();
}

// SV set 20.0 above PV through its entry, as the operator does, and held until the write has gone.
void StepSv(lq::TForm1& f) {
    const int target = std::max<int>(f.Master().Registers()[35], f.Master().Registers()[36]) + 200;
    QTest::mouseClick(f.iSwitchLed2, Qt::LeftButton);
    QTest::keyClick(f.iAnalogOutput3->Editor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(f.iAnalogOutput3->Editor(), QString::number(target / 10.0, 'f', 1));
    const auto seen = f.Master().Statistics().repliesAccepted;
    while (f.Master().Statistics().repliesAccepted == seen)
        QTest::qWait(20);
    QTest::mouseClick(f.iSwitchLed2, Qt::LeftButton);
}

// The cross-hair a little before the right-hand edge.
void ShowCrossHair(lq::TrendWindow& window) {
    lq::TrendChartView* view = window.ChartView();
    const QRectF plot = view->chart()->plotArea();
    const QPoint at = view->mapFromScene(QPointF(plot.right() - plot.width() * 0.15, plot.center().y()));
    QMouseEvent move(QEvent::MouseMove, at, view->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &move);
    QApplication::processEvents();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    const int after = argc > 2 ? std::atoi(argv[2]) : 60;
    const bool jump = argc > 3 && std::string_view(argv[3]) == "jump";
    lq::e2e::PanelOnSim panel({"--seed", "5"});
    lq::TForm1& f = panel.Form();
    lq::TrendTool tool(f);
    f.activateWindow();
    if (!QTest::qWaitForWindowActive(&f) || !panel.OpenAndTick()) return 1;
    if (jump) {
        ShowWindow(tool);
        // The entry takes typed text only in the active window.
        f.activateWindow();
        if (!QTest::qWaitForWindowActive(&f)) return 1;
    }
    QTest::qWait(15000);
    StepSv(f);
    if (jump) {
        QTest::qWait(1000);
        f.WriteSetting(41, 126);
    }
    QTest::qWait(after * 1000);
    if (jump) {
        // Just after the view has jumped on, when the markers' places last changed.
        const std::uint64_t pages = tool.Window()->Pages();
        while (tool.Window()->Pages() == pages)
            QTest::qWait(20);
    } else {
        // Opened only now: it shows what came before it was opened.
        ShowWindow(tool);
        ShowCrossHair(*tool.Window());
    }
    QApplication::processEvents();
    return tool.Window()->grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
