// What the simulator may replace in the alias folder, and what it must leave alone.
#include "sim/port_alias.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <ostream>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace lq::sim {
namespace {

class TempFolder {
  public:
    TempFolder() {
        char pattern[] = "/tmp/lq-alias-test-XXXXXX";
        if (mkdtemp(pattern) == nullptr) throw std::system_error(errno, std::generic_category(), "mkdtemp");
        path_ = pattern;
    }
    ~TempFolder() { std::system(("rm -rf '" + path_ + "'").c_str()); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

std::string LinkTarget(const std::string& path) {
    char target[PATH_MAX];
    const ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
    return n < 0 ? std::string() : std::string(target, static_cast<std::size_t>(n));
}

struct AliasCase {
    const char* name;
    // Puts whatever is already at the alias path (given the folder and the path); returns the link target
    // found afterwards when the simulator must keep its hands off, else an empty string.
    std::function<std::string(const std::string& folder, const std::string& alias)> before;
    bool replaced;
};

void PrintTo(const AliasCase& c, std::ostream* os) {
    *os << c.name;
}

class PortAliasPlace : public testing::TestWithParam<AliasCase> {};

TEST_P(PortAliasPlace, TakesOnlyWhatASimulatorLeft) {
    const AliasCase& c = GetParam();
    TempFolder folder;
    const std::string alias = folder.Path() + "/COM4";
    const std::string kept = c.before(folder.Path(), alias);
    const std::string device = "/dev/pts/4242";
    if (c.replaced) {
        PortAlias made(folder.Path(), "COM4", device);
        EXPECT_EQ(LinkTarget(alias), device);
    } else {
        EXPECT_THROW(PortAlias(folder.Path(), "COM4", device), std::system_error);
    }
    // Nothing of someone else's goes when the simulator ends.
    struct stat st {};
    if (c.replaced)
        EXPECT_NE(lstat(alias.c_str(), &st), 0);
    else
        EXPECT_EQ(LinkTarget(alias), kept);
}

INSTANTIATE_TEST_SUITE_P(
    Existing, PortAliasPlace,
    testing::Values(AliasCase{"nothing", [](const std::string&, const std::string&) { return std::string(); },
                              true},
                    AliasCase{"stale_simulator_alias",
                              [](const std::string&, const std::string& alias) {
                                  if (symlink("/dev/pts/4241", alias.c_str()) != 0)
                                      throw std::runtime_error("symlink");
                                  return std::string();
                              },
                              true},
                    AliasCase{"alias_to_a_real_adapter",
                              [](const std::string& folder, const std::string& alias) {
                                  // Stands for /dev/ttyUSB0: a device that exists outside the
                                  // pseudo-terminals.
                                  std::string adapter = folder + "/ttyUSB0";
                                  close(open(adapter.c_str(), O_CREAT | O_WRONLY, 0600));
                                  if (symlink(adapter.c_str(), alias.c_str()) != 0)
                                      throw std::runtime_error("symlink");
                                  return adapter;
                              },
                              false},
                    AliasCase{"alias_to_an_unplugged_adapter",
                              [](const std::string&, const std::string& alias) {
                                  if (symlink("/dev/ttyUSB7", alias.c_str()) != 0)
                                      throw std::runtime_error("symlink");
                                  return std::string("/dev/ttyUSB7");
                              },
                              false}),
    [](const testing::TestParamInfo<AliasCase>& info) { return std::string(info.param.name); });

// The lock beside the alias keeps a second simulator from taking a live one's alias (and from removing it
// when it ends); once the first has ended, the name is free again.
TEST(PortAliasLock, ASecondSimulatorIsRefusedWhileTheFirstRuns) {
    TempFolder folder;
    const std::string alias = folder.Path() + "/COM4";
    {
        PortAlias first(folder.Path(), "COM4", "/dev/pts/4242");
        try {
            PortAlias second(folder.Path(), "COM4", "/dev/pts/4243");
            FAIL() << "the second simulator took the alias";
        } catch (const AliasInUse& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find("COM4"), std::string::npos) << message;
            EXPECT_NE(message.find("process " + std::to_string(getpid())), std::string::npos) << message;
        }
        EXPECT_EQ(LinkTarget(alias), "/dev/pts/4242");
        PortAlias otherName(folder.Path(), "COM5", "/dev/pts/4243");
        EXPECT_EQ(LinkTarget(folder.Path() + "/COM5"), "/dev/pts/4243");
    }
    PortAlias next(folder.Path(), "COM4", "/dev/pts/4244");
    EXPECT_EQ(LinkTarget(alias), "/dev/pts/4244");
}

} // namespace
} // namespace lq::sim
