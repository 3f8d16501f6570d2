#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "journal/journal_csv.h"
#include "journal/journal_files.h"

namespace lq {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// 2026-12-09T00:00:00+08:00, local midnight in the zone the tests set.
const std::chrono::system_clock::time_point kMidnight{std::chrono::seconds(1796745600)};

std::string Read(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

JournalEntry Entry(std::chrono::system_clock::time_point at, std::string text) {
    return {at, EntryKind::LinkRestored, {}, {}, {}, std::move(text)};
}

class JournalFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("TZ", "Asia/Shanghai", 1);
        tzset();
        char pattern[] = "/tmp/journal-files-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path dir_;
};

TEST_F(JournalFilesTest, EachLocalDayHasItsFileWithAHeader) {
    JournalFiles files((dir_ / "journal").string()); // made when missing
    ASSERT_TRUE(files.Write(Entry(kMidnight - 100ms, "before")));
    ASSERT_TRUE(files.Write(Entry(kMidnight + 100ms, "after")));
    const std::string header = JournalCsvHeader() + "\n";
    EXPECT_EQ(Read(dir_ / "journal" / "2026-12-08.csv"),
              header + JournalCsvLine(Entry(kMidnight - 100ms, "before")) + "\n");
    EXPECT_EQ(Read(dir_ / "journal" / "2026-12-09.csv"),
              header + JournalCsvLine(Entry(kMidnight + 100ms, "after")) + "\n");
}

TEST_F(JournalFilesTest, AnExistingDayFileIsAppendedToWithoutASecondHeader) {
    {
        JournalFiles first(dir_.string());
        first.Write(Entry(kMidnight + 1s, "one"));
    }
    JournalFiles second(dir_.string());
    second.Write(Entry(kMidnight + 2s, "two"));
    EXPECT_EQ(Read(dir_ / "2026-12-09.csv"), JournalCsvHeader() + "\n" +
                                                 JournalCsvLine(Entry(kMidnight + 1s, "one")) + "\n" +
                                                 JournalCsvLine(Entry(kMidnight + 2s, "two")) + "\n");
}

TEST_F(JournalFilesTest, AFolderThatCannotBeMadeIsReportedOnceAndTheNextDayTriesAgain) {
    const fs::path blocker = dir_ / "blocker";
    std::ofstream(blocker) << "a file where the folder should be";
    JournalFiles files((blocker / "journal").string());
    std::vector<std::string> failures;
    files.onFailed = [&](const std::string& path, const std::string&) { failures.push_back(path); };
    EXPECT_FALSE(files.Write(Entry(kMidnight - 2s, "lost")));
    EXPECT_FALSE(files.Write(Entry(kMidnight - 1s, "lost too")));
    EXPECT_EQ(failures.size(), 1u) << "one message for the day's file";
    EXPECT_FALSE(files.Error().empty());
    fs::remove(blocker);
    EXPECT_TRUE(files.Write(Entry(kMidnight + 1s, "next day")));
    EXPECT_TRUE(files.Error().empty());
    EXPECT_EQ(Read(blocker / "journal" / "2026-12-09.csv"),
              JournalCsvHeader() + "\n" + JournalCsvLine(Entry(kMidnight + 1s, "next day")) + "\n");
}

TEST(JournalFolder, FollowsXdgStateHomeElseTheHomeFolder) {
    setenv("XDG_STATE_HOME", "/var/tmp/state", 1);
    EXPECT_EQ(DefaultJournalFolder(), "/var/tmp/state/lq-modbus-rtu/journal");
    unsetenv("XDG_STATE_HOME");
    setenv("HOME", "/home/op", 1);
    EXPECT_EQ(DefaultJournalFolder(), "/home/op/.local/state/lq-modbus-rtu/journal");
}

} // namespace
} // namespace lq
