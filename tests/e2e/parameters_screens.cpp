// Renders "控制器参数" comparing a saved file with the simulator after two of its parameters were changed,
// and the confirmation list a restore shows, into PNGs for the docs (not a test). Usage: parameters_screens
// DIR (writes DIR/parameters-compare.png and DIR/parameters-confirm.png)
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include "panel/parameters/confirm_restore_dialog.h"
#include "panel/parameters/parameters_tool.h"
#include "tests/e2e/controller_changes.h"
#include "tests/e2e/panel_on_sim.h"

namespace {

bool WaitUntilIdle(const lq::ParametersWindow& window) {
    return QTest::qWaitFor([&] { return !window.Busy(); }, 15000);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    const QDir out(QString::fromLocal8Bit(argv[1]));
    lq::e2e::PanelOnSim panel({"--seed", "5"});
    lq::TForm1& f = panel.Form();
    if (!QTest::qWaitForWindowActive(&f) || !panel.OpenAndTick()) return 1;
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("ofen-3.json")); // returned by the questions, copied
    bool confirmShot = false;
    lq::ParametersTool tool(f);
    tool.questions.savePath = [&]() -> QString { return file; };
    tool.questions.openPath = [&]() -> QString { return file; };
    tool.questions.confirm = [&](const std::vector<lq::PlannedWrite>& writes) {
        lq::ConfirmRestoreDialog dialog(writes, tool.Window());
        dialog.show();
        QApplication::processEvents();
        confirmShot = dialog.grab().save(out.filePath(QStringLiteral("parameters-confirm.png")));
        return false;
    };
    tool.Open();
    lq::ParametersWindow& window = *tool.Window();
    window.Read();
    if (!WaitUntilIdle(window)) return 1;
    window.findChild<QLineEdit*>()->setText(QStringLiteral("炉 3，调试后"));
    window.SaveAs();
    f.ClosePort();
    if (!lq::e2e::ChangeOnController(panel.Sim().DevicePath(), {{36, 750}, {41, 60}})) return 1;
    f.OpenPort();
    window.OpenAndCompare();
    if (!WaitUntilIdle(window)) return 1;
    QApplication::processEvents();
    if (!window.grab().save(out.filePath(QStringLiteral("parameters-compare.png")))) return 1;
    window.Restore();
    if (!WaitUntilIdle(window)) return 1;
    return confirmShot ? 0 : 1;
}
