// libmodbus, an independent Modbus implementation, as the RTU master of the real pw5-sim process.
#include "tests/sim/sim_process.h"

#include <gtest/gtest.h>
#include <modbus.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <memory>
#include <spawn.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace lq::sim {
namespace {

struct ModbusDeleter {
    void operator()(modbus_t* ctx) const {
        modbus_close(ctx);
        modbus_free(ctx);
    }
};
using ModbusContext = std::unique_ptr<modbus_t, ModbusDeleter>;

ModbusContext Connect(const std::string& device, int slave,
                      std::chrono::milliseconds timeout = std::chrono::milliseconds(500)) {
    ModbusContext ctx(modbus_new_rtu(device.c_str(), 19200, 'N', 8, 1));
    if (!ctx) return ctx;
    modbus_set_slave(ctx.get(), slave);
    modbus_set_response_timeout(ctx.get(), 0, static_cast<std::uint32_t>(timeout.count() * 1000));
    if (modbus_connect(ctx.get()) != 0) return nullptr;
    return ctx;
}

bool Exists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

// Polls a condition that another process brings about; bounded, so a failure cannot hang the suite.
template <typename Condition>
bool Eventually(Condition condition, std::chrono::seconds limit = std::chrono::seconds(3)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

TEST(LibmodbusInterop, ReadsOfEveryRangeReturnValuesTheSimulatorHeld) {
    SimProcess sim({"--seed", "1"});
    auto ctx = Connect(sim.AliasPath(), 1);
    ASSERT_TRUE(ctx) << modbus_strerror(errno);

    struct Range {
        int start;
        int count;
    };
    std::vector<std::pair<int, std::uint16_t>> seen;
    for (const Range r :
         {Range{0, 10}, Range{10, 10}, Range{20, 10}, Range{35, 10}, Range{0, 64}, Range{63, 1}}) {
        std::uint16_t values[64] = {};
        ASSERT_EQ(modbus_read_registers(ctx.get(), r.start, r.count, values), r.count)
            << "start " << r.start << ": " << modbus_strerror(errno);
        for (int k = 0; k < r.count; ++k)
            seen.emplace_back(r.start + k, values[k]);
    }
    const auto held = sim.HeldValues();
    for (const auto& [reg, value] : seen) {
        ASSERT_TRUE(held.count(reg)) << "register " << reg;
        EXPECT_TRUE(held.at(reg).count(value)) << "register " << reg << " read as " << value;
    }
}

TEST(LibmodbusInterop, WritesLandInTheSimulatorsRegisters) {
    SimProcess sim({"--seed", "2"});
    auto ctx = Connect(sim.AliasPath(), 1);
    ASSERT_TRUE(ctx) << modbus_strerror(errno);

    struct WriteCase {
        int reg;
        std::uint16_t value;
    };
    for (const WriteCase w : {WriteCase{0, 7350}, WriteCase{4, 900}, WriteCase{5, 100}, WriteCase{36, 725},
                              WriteCase{39, 950}, WriteCase{40, 80}, WriteCase{41, 200}, WriteCase{42, 15}}) {
        ASSERT_EQ(modbus_write_register(ctx.get(), w.reg, w.value), 1)
            << "register " << w.reg << ": " << modbus_strerror(errno);
        const auto regs = sim.Registers();
        ASSERT_TRUE(regs);
        EXPECT_EQ((*regs)[static_cast<std::size_t>(w.reg)], w.value) << "register " << w.reg;
        std::uint16_t back = 0;
        ASSERT_EQ(modbus_read_registers(ctx.get(), w.reg, 1, &back), 1);
        EXPECT_EQ(back, w.value) << "register " << w.reg;
    }

    ASSERT_EQ(modbus_write_register(ctx.get(), kRunState, 1), 1) << "stop command";
    EXPECT_EQ((*sim.Registers())[kRunState] & 1, 0);
    ASSERT_EQ(modbus_write_register(ctx.get(), kRunState, 0), 1) << "run command";
    EXPECT_EQ((*sim.Registers())[kRunState] & 1, 1);
}

struct ErrorCase {
    const char* name;
    std::vector<std::string> options;
    int slave;
    int start;
    int count;
    int expectedErrno;
};

class LibmodbusErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(LibmodbusErrorTest, ReadFailsAsARealSlaveMakesItFail) {
    const ErrorCase& c = GetParam();
    SimProcess sim(c.options);
    auto ctx = Connect(sim.AliasPath(), c.slave, std::chrono::milliseconds(300));
    ASSERT_TRUE(ctx) << modbus_strerror(errno);
    std::uint16_t values[64] = {};
    errno = 0;
    EXPECT_EQ(modbus_read_registers(ctx.get(), c.start, c.count, values), -1);
    EXPECT_EQ(errno, c.expectedErrno) << modbus_strerror(errno);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, LibmodbusErrorTest,
    ::testing::Values(ErrorCase{"AddressOutOfRange", {}, 1, 60, 10, EMBXILADD},
                      ErrorCase{"ExceptionMode", {"--exception"}, 1, 0, 10, EMBXSFAIL},
                      ErrorCase{"OtherSlaveIsSilent", {}, 2, 0, 10, ETIMEDOUT},
                      ErrorCase{"EveryReplyDropped", {"--drop", "1"}, 1, 0, 10, ETIMEDOUT},
                      ErrorCase{
                          "EveryReplyCorrupted", {"--corrupt", "1", "--seed", "3"}, 1, 0, 64, EMBBADCRC},
                      ErrorCase{"OtherSlaveAddressOption", {"--slave", "5"}, 1, 0, 10, ETIMEDOUT}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LibmodbusInterop, UnknownFunctionGetsIllegalFunction) {
    SimProcess sim;
    auto ctx = Connect(sim.AliasPath(), 1);
    ASSERT_TRUE(ctx);
    std::uint16_t values[4] = {};
    errno = 0;
    EXPECT_EQ(modbus_read_input_registers(ctx.get(), 0, 4, values), -1);
    EXPECT_EQ(errno, EMBXILFUN);
}

TEST(LibmodbusInterop, IllegalRunStateValueIsRefusedAndChangesNothing) {
    SimProcess sim;
    auto ctx = Connect(sim.AliasPath(), 1);
    ASSERT_TRUE(ctx);
    const int before = (*sim.Registers())[kRunState];
    errno = 0;
    EXPECT_EQ(modbus_write_register(ctx.get(), kRunState, 2), -1);
    EXPECT_EQ(errno, EMBXILVAL);
    EXPECT_EQ((*sim.Registers())[kRunState], before);
}

TEST(LibmodbusInterop, SplitAndDelayedRepliesStillArriveWhole) {
    SimProcess sim({"--split", "1", "--delay", "50", "--seed", "4"});
    auto ctx = Connect(sim.AliasPath(), 1, std::chrono::milliseconds(1000));
    ASSERT_TRUE(ctx);
    // libmodbus waits up to its byte time-out between characters, longer than the split pause.
    modbus_set_byte_timeout(ctx.get(), 0, 400'000);
    std::uint16_t values[10] = {};
    for (int start : {0, 10, 20, 35})
        EXPECT_EQ(modbus_read_registers(ctx.get(), start, 10, values), 10) << modbus_strerror(errno);
}

TEST(LibmodbusInterop, PortStaysUsableAcrossReopening) {
    SimProcess sim;
    for (int round = 0; round < 3; ++round) {
        auto ctx = Connect(sim.AliasPath(), 1);
        ASSERT_TRUE(ctx) << "round " << round;
        std::uint16_t value = 0;
        EXPECT_EQ(modbus_read_registers(ctx.get(), 0, 1, &value), 1) << "round " << round;
    }
}

TEST(SimLifecycle, TerminationRemovesTheAliasAndExitsCleanly) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SimProcess sim;
        ASSERT_TRUE(Exists(sim.AliasPath()));
        char target[256] = {};
        ASSERT_GT(readlink(sim.AliasPath().c_str(), target, sizeof target - 1), 0);
        EXPECT_EQ(sim.DevicePath(), target);
        struct stat folder {};
        ASSERT_EQ(stat(sim.AliasFolder().c_str(), &folder), 0);
        EXPECT_EQ(folder.st_mode & 0777, 0700u);

        const int status = sim.Stop(signal);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "signal " << signal;
        EXPECT_FALSE(Exists(sim.AliasPath())) << "signal " << signal;
    }
}

TEST(SimLifecycle, ComNamesAreFiledAsThePanelLooksThemUp) {
    SimProcess sim({"--port", "com07"});
    EXPECT_EQ(sim.PortName(), "COM7");
    EXPECT_TRUE(Exists(sim.AliasFolder() + "/COM7"));
    auto ctx = Connect(sim.AliasFolder() + "/COM7", 1);
    ASSERT_TRUE(ctx);
    std::uint16_t value = 0;
    EXPECT_EQ(modbus_read_registers(ctx.get(), 0, 1, &value), 1);
}

// A second simulator for a live one's alias refuses to start, so the first keeps its port (and nobody
// removes an alias that is not theirs); once the first has ended, the name is free again.
TEST(SimLifecycle, ASecondSimulatorForTheSameAliasRefusesAndTheFirstKeepsIt) {
    SimProcess first;
    EXPECT_THROW(SimProcess({}, SimProcess::DefaultExecutable(), first.AliasFolder()), std::runtime_error);
    char target[256] = {};
    ASSERT_GT(readlink(first.AliasPath().c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(first.DevicePath(), target);
    SimProcess otherName({"--port", "COM5"}, SimProcess::DefaultExecutable(), first.AliasFolder());

    first.Stop();
    EXPECT_FALSE(Exists(first.AliasPath()));
    SimProcess next({}, SimProcess::DefaultExecutable(), first.AliasFolder());
    std::fill(std::begin(target), std::end(target), '\0');
    ASSERT_GT(readlink(next.AliasPath().c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(next.DevicePath(), target);
}

TEST(SimLifecycle, RefusesAnAliasFolderOpenToOthers) {
    char folderTemplate[] = "/tmp/lq-pw5-open-XXXXXX";
    ASSERT_NE(mkdtemp(folderTemplate), nullptr);
    ASSERT_EQ(chmod(folderTemplate, 0777), 0);
    EXPECT_THROW(SimProcess({}, SimProcess::DefaultExecutable(), folderTemplate), std::runtime_error);
    EXPECT_FALSE(Exists(std::string(folderTemplate) + "/COM4"));
    rmdir(folderTemplate);
}

TEST(SimLifecycle, ParentGoneEndsTheSimulatorAndRemovesTheAlias) {
    // The simulator is started by an intermediate process that then exits, as a launcher script would.
    char folderTemplate[] = "/tmp/lq-pw5-orphan-XXXXXX";
    ASSERT_NE(mkdtemp(folderTemplate), nullptr);
    const std::string folder = folderTemplate;
    const std::string alias = folder + "/COM4";
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    int pidPipe[2];
    ASSERT_EQ(pipe(pidPipe), 0);
    // The orphaned simulator comes to us instead of to init, so we can reap it and see how it ended.
    ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);

    const pid_t launcher = fork();
    ASSERT_GE(launcher, 0);
    if (launcher == 0) {
        setenv("LQ_MODBUS_PORTS", folder.c_str(), 1);
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        std::string exe = SimProcess::DefaultExecutable();
        char* argv[] = {exe.data(), nullptr};
        pid_t sim = 0;
        const int spawned = posix_spawn(&sim, exe.c_str(), nullptr, nullptr, argv, environ);
        if (write(pidPipe[1], &sim, sizeof sim) != static_cast<ssize_t>(sizeof sim)) _exit(1);
        // Stay until the simulator is up, so it knows us as its parent before we go.
        for (int waited = 0; spawned == 0 && !Exists(alias) && waited < 5000; ++waited)
            usleep(1000);
        _exit(spawned == 0 ? 0 : 1);
    }
    close(pipeFds[1]);
    close(pidPipe[1]);
    pid_t simPid = 0;
    ASSERT_EQ(read(pidPipe[0], &simPid, sizeof simPid), static_cast<ssize_t>(sizeof simPid));
    close(pidPipe[0]);
    int status = 0;
    ASSERT_EQ(waitpid(launcher, &status, 0), launcher);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    std::string line;
    char c = 0;
    while (read(pipeFds[0], &c, 1) == 1 && c != '\n')
        line += c;
    close(pipeFds[0]);
    EXPECT_FALSE(line.empty());

    int simStatus = -1;
    const bool ended = Eventually([&] { return waitpid(simPid, &simStatus, WNOHANG) == simPid; });
    if (!ended) {
        kill(simPid, SIGKILL);
        waitpid(simPid, nullptr, 0);
    }
    prctl(PR_SET_CHILD_SUBREAPER, 0);
    EXPECT_TRUE(ended) << "the simulator outlived its parent";
    EXPECT_TRUE(WIFEXITED(simStatus) && WEXITSTATUS(simStatus) == 0);
    EXPECT_FALSE(Exists(alias)) << "alias left behind";
    if (!ended) unlink(alias.c_str());
    rmdir(folder.c_str());
}

} // namespace
} // namespace lq::sim
