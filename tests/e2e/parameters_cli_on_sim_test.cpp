// --backup, --compare and --restore of the real program, without a display, against the real simulator; the
// two parameters are changed on the simulator by libmodbus, an independent master.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>

#include "tests/e2e/controller_changes.h"
#include "tests/sim/sim_process.h"

namespace {

struct ProgramRun {
    int status = -1;
    QString out;
    QString err;
    qint64 ms = 0;
};

// The program with no display at all, on the simulator's alias.
ProgramRun Program(const lq::sim::SimProcess& sim, const QStringList& arguments) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("LQ_MODBUS_PORTS"), QString::fromStdString(sim.AliasFolder()));
    program.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    program.start(QStringLiteral(LQ_PANEL_PATH), arguments);
    ProgramRun run;
    if (!program.waitForFinished(60000)) return run;
    run.ms = clock.elapsed();
    run.status = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    run.out = QString::fromUtf8(program.readAllStandardOutput());
    run.err = QString::fromUtf8(program.readAllStandardError());
    return run;
}

std::map<std::string, long> Counters(const std::string& path) {
    std::map<std::string, long> counters;
    std::ifstream in(path);
    std::string name;
    long value = 0;
    while (in >> name >> value)
        counters[name] = value;
    return counters;
}

TEST(ParametersOnSim, BackupCompareAndRestoreBringBackExactlyTheTwoChangedParameters) {
    QTemporaryDir dir;
    const std::string counters = dir.filePath(QStringLiteral("counters")).toStdString();
    lq::sim::SimProcess sim({"--seed", "3", "--counters-file", counters});
    const QString file = dir.filePath(QStringLiteral("pw5.json"));

    const ProgramRun backup = Program(sim, {"--backup", file});
    ASSERT_EQ(backup.status, 0) << backup.err.toStdString();
    const auto before = sim.Registers();
    ASSERT_TRUE(before);

    ASSERT_TRUE(lq::e2e::ChangeOnController(sim.DevicePath(), {{36, 750}, {41, 60}}));
    const ProgramRun compare = Program(sim, {"--compare", file});
    EXPECT_EQ(compare.status, 1);
    EXPECT_EQ(compare.out, QStringLiteral("36\tSV\t75.0 °C\t60.0 °C\n41\tI\t60 s\t120 s\n"));

    const ProgramRun dryRun = Program(sim, {"--restore", file});
    EXPECT_EQ(dryRun.status, 0) << dryRun.err.toStdString();
    EXPECT_EQ(dryRun.out, compare.out) << "it lists the writes it would make";
    EXPECT_EQ((*sim.Registers())[36], 750) << "and makes none";

    const ProgramRun restore = Program(sim, {"--restore", file, "--yes"});
    EXPECT_EQ(restore.status, 0) << restore.out.toStdString() << restore.err.toStdString();
    const auto after = sim.Registers();
    ASSERT_TRUE(after);
    for (int reg : {4, 5, 36, 39, 40, 41, 42})
        EXPECT_EQ((*after)[reg], (*before)[reg]) << "register " << reg;
    EXPECT_EQ(Program(sim, {"--compare", file}).status, 0);

    EXPECT_EQ(sim.HeldValues()[3], (std::set<std::uint16_t>{1})) << "the run state was never touched";
    EXPECT_EQ(Counters(counters)["echoes"], 4) << "two writes by libmodbus, two by the restore, no other";
}

TEST(ParametersOnSim, ASilentControllerFailsTheBackupWithinAboutTenSecondsAndLeavesNoFile) {
    QTemporaryDir dir;
    lq::sim::SimProcess sim({"--drop", "1"});
    const QString file = dir.filePath(QStringLiteral("pw5.json"));
    const ProgramRun backup = Program(sim, {"--backup", file});
    EXPECT_EQ(backup.status, 2);
    EXPECT_TRUE(backup.err.contains(QStringLiteral("无有效应答"))) << backup.err.toStdString();
    EXPECT_LT(backup.ms, 15000);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty())
        << "no file, no partial file";
}

TEST(ParametersOnSim, ABadFileIsRefusedBeforeThePortIsOpened) {
    QTemporaryDir dir;
    lq::sim::SimProcess sim;
    const QString file = dir.filePath(QStringLiteral("bad.json"));
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(R"({"format": "lq-modbus-rtu parameters", "version": 1,
                 "parameters": [{"register": 3, "raw": 1}]})");
    out.close();
    const ProgramRun restore = Program(sim, {"--restore", file, "--yes"});
    EXPECT_EQ(restore.status, 2);
    EXPECT_TRUE(restore.err.contains(QStringLiteral("寄存器 3 不是控制器参数"))) << restore.err.toStdString();
    EXPECT_EQ(sim.HeldValues()[3], (std::set<std::uint16_t>{1}));
}

} // namespace
