// The window "控制器参数" on the real panel and the real simulator: a set saved, two parameters changed by
// another master, the comparison marking exactly those two, nothing written until the list is confirmed,
// then the restore bringing them back through the operator's write path.
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "panel/parameters/parameter_texts.h"
#include "panel/parameters/parameters_tool.h"
#include "tests/e2e/controller_changes.h"
#include "tests/e2e/panel_on_sim.h"

using namespace lq;
using lq::e2e::PanelOnSim;

namespace {

// Rows whose cells are marked as a difference, by register.
std::vector<int> MarkedRegisters(const QTableWidget& table) {
    std::vector<int> marked;
    for (int row = 0; row < table.rowCount(); ++row)
        if (table.item(row, 0)->font().bold()) marked.push_back(table.item(row, 0)->text().toInt());
    return marked;
}

} // namespace

class ParametersWindowOnSimTest : public QObject {
    Q_OBJECT

  private slots:
    void saveCompareAndRestoreWithTheConfirmation() {
        PanelOnSim panel({"--seed", "4"});
        TForm1& f = panel.Form();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QVERIFY(panel.OpenAndTick());
        QTemporaryDir dir;
        QString file = dir.filePath(QStringLiteral("pw5.json")); // returned by the questions, copied
        std::vector<std::vector<PlannedWrite>> shown;
        bool agree = false;
        ParametersTool tool(f);
        tool.questions.savePath = [&]() -> QString { return file; };
        tool.questions.openPath = [&]() -> QString { return file; };
        tool.questions.confirm = [&](const std::vector<PlannedWrite>& writes) {
            shown.push_back(writes);
            return agree;
        };
        tool.Action()->trigger();
        ParametersWindow& window = *tool.Window();

        window.Read();
        QTRY_VERIFY_WITH_TIMEOUT(!window.Busy(), 12000);
        window.SaveAs();
        QVERIFY2(QFile::exists(file), qPrintable(window.StatusText()));
        const auto before = panel.Sim().Registers();

        f.ClosePort(); // the line is another master's for a moment
        QVERIFY(e2e::ChangeOnController(panel.Sim().DevicePath(), {{36, 750}, {41, 60}}));
        f.OpenPort();
        window.OpenAndCompare();
        QTRY_VERIFY_WITH_TIMEOUT(!window.Busy(), 12000);
        QCOMPARE(MarkedRegisters(*window.Table()), (std::vector<int>{36, 41}));

        const std::size_t writesBefore = panel.Log().writes.size();
        window.Restore();
        QTRY_VERIFY_WITH_TIMEOUT(!window.Busy(), 12000);
        QCOMPARE(shown.size(), std::size_t{1});
        QCOMPARE(panel.Log().writes.size(), writesBefore); // refused: nothing written
        QCOMPARE((*panel.Sim().Registers())[36], std::uint16_t{750});

        agree = true;
        window.Restore();
        QTRY_VERIFY_WITH_TIMEOUT(!window.Busy(), 20000);
        QCOMPARE(shown.size(), std::size_t{2});
        QCOMPARE(shown[1].size(), std::size_t{2});
        QCOMPARE(ParameterTexts::PlannedLine(shown[1][0]), QStringLiteral("r36 SV：75.0 °C → 60.0 °C"));
        QCOMPARE(ParameterTexts::PlannedLine(shown[1][1]), QStringLiteral("r41 I：60 s → 120 s"));
        const auto after = panel.Sim().Registers();
        for (int reg : {4, 5, 36, 39, 40, 41, 42})
            QCOMPARE((*after)[reg], (*before)[reg]);
        QVERIFY(MarkedRegisters(*window.Table()).empty());
        QVERIFY2(window.StatusText().startsWith(QStringLiteral("已写入 2 个")),
                 qPrintable(window.StatusText()));
        // Each went as an operator's command: through the master's write path, confirmed by its echo.
        QCOMPARE(panel.Log().writes.size(), writesBefore + 2);
        for (std::size_t i = writesBefore; i < panel.Log().writes.size(); ++i)
            QCOMPARE(panel.Log().writes[i].outcome, WriteOutcome::Confirmed);
        QCOMPARE(panel.Sim().HeldValues()[3], (std::set<std::uint16_t>{1}));
    }
};

QTEST_MAIN(ParametersWindowOnSimTest)
#include "parameters_window_on_sim_test.moc"
