// The traffic log: a line per row as it happens, stopped for good at the first failure; and saved copies.
#include "monitor/traffic_log_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "monitor/traffic_line.h"
#include "recording_fakes.h"

namespace lq {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

NoReply Missing(std::uint8_t block) {
    const auto at = std::chrono::system_clock::time_point(std::chrono::hours(24 * 365 * 50) +
                                                          std::chrono::seconds(block));
    return NoReply{block, {std::chrono::steady_clock::time_point(), at}};
}

TEST(TrafficLogWriter, WritesALinePerRowUntilTheFirstFailureThenReportsItOnceAndStops) {
    auto sink = std::make_unique<testing::MemorySink>(3); // room for two lines
    testing::MemorySink& disk = *sink;
    std::vector<std::string> reports;
    TrafficLogWriter writer(std::move(sink), [&](const std::string& reason) { reports.push_back(reason); });
    for (std::uint8_t block = 0; block < 5; ++block)
        writer.ReadUnanswered(Missing(block));
    ASSERT_EQ(disk.lines.size(), 2u);
    EXPECT_EQ(disk.lines[1], FormatTrafficLine(MakeTrafficRow(Missing(1))));
    EXPECT_EQ(reports, std::vector<std::string>{"No space left on device"});
    EXPECT_EQ(disk.appendsAfterFailure, 0) << "nothing is written after the failure";
    EXPECT_TRUE(writer.Stopped());
}

TEST(TrafficLogWriter, AFileThatCannotBeOpenedIsReportedAtOnce) {
    std::vector<std::string> reports;
    TrafficLogWriter writer(std::make_unique<AppendFile>("/nonexistent-folder/traffic.txt"),
                            [&](const std::string& reason) { reports.push_back(reason); });
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], "No such file or directory");
}

class SavedRows : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::path(::testing::TempDir()) / ("traffic-save-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        for (std::uint8_t block = 0; block < 3; ++block)
            rows_.Append(MakeTrafficRow(Missing(block)));
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all);
        fs::remove_all(dir_);
    }
    fs::path dir_;
    TrafficRows rows_;
};

TEST_F(SavedRows, ReplaceTheFileWithOneLinePerRowOldestFirst) {
    const fs::path path = dir_ / "saved.txt";
    std::ofstream(path) << "an older save\nwith two lines\n";
    EXPECT_EQ(SaveTrafficRows(rows_, path), "");
    std::vector<std::string> expected;
    for (const TrafficRow& row : rows_)
        expected.push_back(FormatTrafficLine(row));
    EXPECT_EQ(Lines(path), expected);
    EXPECT_FALSE(fs::exists(dir_ / "saved.txt.part"));
}

TEST_F(SavedRows, AFolderThatCannotBeWrittenGivesTheReasonAndLeavesTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes anywhere";
    const fs::path path = dir_ / "saved.txt";
    std::ofstream(path) << "kept\n";
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(SaveTrafficRows(rows_, path), "Permission denied");
    EXPECT_EQ(Lines(path), std::vector<std::string>{"kept"});
}

} // namespace
} // namespace lq
