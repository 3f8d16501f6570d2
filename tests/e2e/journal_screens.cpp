// Renders "报警与事件" on the real simulator into a PNG for the docs (not a test): one alarm not yet
// acknowledged, one acknowledged, one returned to normal before anyone saw it, and the events around them.
// Usage: journal_screens FILE.png
#include <QApplication>
#include <QTableView>
#include <QtTest>

#include "panel/journal/journal_tool.h"
#include "panel/journal/journal_window.h"
#include "tests/e2e/panel_on_sim.h"
#include "widgets/ti_knob.h"

namespace {

// Waits until the journal's alarm of that bit is in that state; false after ten seconds.
bool WaitFor(const lq::JournalTool& tool, int bit, lq::AlarmState state) {
    for (int waited = 0; waited < 10000; waited += 50) {
        if (tool.Log().Alarms().At(bit).state == state) return true;
        QTest::qWait(50);
    }
    return false;
}

void WaitForReply(lq::TForm1& f) {
    const auto seen = f.Master().Statistics().repliesAccepted;
    while (f.Master().Statistics().repliesAccepted == seen)
        QTest::qWait(20);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    // PWER from 1 s on, acknowledged; TEMP LOA from 1 s to 5 s, never acknowledged; CUUR PLO from 3 s on.
    lq::e2e::PanelOnSim panel({"--seed", "6", "--alarm-schedule", "1+0,1+5,3+7,5-5"});
    lq::TForm1& f = panel.Form();
    lq::JournalTool tool(f);
    tool.Start(false, {}); // no files: a temporary folder's random name would differ at each making
    f.activateWindow();
    if (!QTest::qWaitForWindowActive(&f) || !panel.OpenAndTick()) return 1;
    if (!WaitFor(tool, 0, lq::AlarmState::ActiveUnacknowledged)) return 1;
    tool.Acknowledge(0);
    WaitForReply(f);
    f.iKnob1->SetPosition(6500);
    QTest::mouseClick(f.iKnob1, Qt::LeftButton, {}, QPoint(3, 3));
    if (!WaitFor(tool, 7, lq::AlarmState::ActiveUnacknowledged) ||
        !WaitFor(tool, 5, lq::AlarmState::ReturnedUnacknowledged))
        return 1;
    tool.OpenWindow();
    lq::JournalWindow& window = *tool.Window();
    window.resize(1000, 620);
    window.AlarmView()->setCurrentIndex({});
    QApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
