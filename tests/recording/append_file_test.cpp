#include "recording/append_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace lq {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

class AppendFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::path(::testing::TempDir()) / ("append-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(AppendFileTest, AnExistingFileIsAppendedToNeverTruncated) {
    const fs::path path = dir_ / "log.txt";
    std::ofstream(path) << "kept\n";
    AppendFile file(path);
    EXPECT_FALSE(file.HeldNoLine());
    EXPECT_TRUE(file.Append("new"));
    EXPECT_EQ(Contents(path), "kept\nnew\n");
    EXPECT_TRUE(AppendFile(dir_ / "fresh.txt").HeldNoLine());
}

TEST_F(AppendFileTest, EveryLineIsOnDiskWhenTheWriterIsKilled) {
    const fs::path path = dir_ / "killed.txt";
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        AppendFile file(path);
        for (int n = 0; n < 100; ++n)
            file.Append("line " + std::to_string(n));
        (void)!::write(ready[1], "x", 1);
        for (;;)
            ::pause();
    }
    char byte;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    std::string expected;
    for (int n = 0; n < 100; ++n)
        expected += "line " + std::to_string(n) + "\n";
    EXPECT_EQ(Contents(path), expected);
}

struct FailureCase {
    const char* what;
    std::function<fs::path(const fs::path&)> prepare; // returns the path to record to
};

class AppendFileFailure : public AppendFileTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(AppendFileFailure, StopsForGoodAndSaysWhy) {
    const fs::path path = GetParam().prepare(dir_);
    AppendFile file(path);
    file.Append("first");
    if (!file.Failed()) fs::remove(path);
    EXPECT_FALSE(file.Append("second")) << GetParam().what;
    EXPECT_TRUE(file.Failed()) << GetParam().what;
    EXPECT_FALSE(file.Error().empty()) << GetParam().what;
    EXPECT_FALSE(file.Append("third")) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Causes, AppendFileFailure,
    ::testing::Values(
        FailureCase{"no such folder", [](const fs::path& d) { return d / "missing" / "x.csv"; }},
        FailureCase{"a folder in its place", [](const fs::path& d) { return d; }},
        FailureCase{"a full device", [](const fs::path&) { return fs::path("/dev/full"); }},
        FailureCase{"removed while recording", [](const fs::path& d) { return d / "gone.csv"; }}));

} // namespace
} // namespace lq
