// Two real simulators started for the same alias: the second refuses, the first keeps its port.
#include "tests/sim/sim_process.h"

#include <climits>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace lq::sim {
namespace {

std::string LinkTarget(const std::string& path) {
    char target[PATH_MAX];
    const ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
    return n < 0 ? std::string() : std::string(target, static_cast<std::size_t>(n));
}

TEST(TwoSimulators, TheSecondForTheSameAliasRefusesAndLeavesTheFirstItsPort) {
    SimProcess first;
    EXPECT_THROW(SimProcess second({}, SimProcess::DefaultExecutable(), first.AliasFolder()), std::runtime_error);
    EXPECT_EQ(LinkTarget(first.AliasPath()), first.DevicePath());
    SimProcess otherPort({"--port", "COM5"}, SimProcess::DefaultExecutable(), first.AliasFolder());
    EXPECT_EQ(LinkTarget(first.AliasPath()), first.DevicePath());
    const int status = first.Stop();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    SimProcess next({}, SimProcess::DefaultExecutable(), otherPort.AliasFolder());
    EXPECT_EQ(LinkTarget(next.AliasPath()), next.DevicePath());
}

} // namespace
} // namespace lq::sim
