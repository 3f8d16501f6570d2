#include "sim/register_recorder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

namespace lq::sim {
namespace {

namespace fs = std::filesystem;

class RecorderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "lq-sim-recorder-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }

    std::vector<std::pair<int, int>> History() const {
        std::ifstream in(dir / "history");
        std::vector<std::pair<int, int>> lines;
        int reg = 0;
        int value = 0;
        while (in >> reg >> value)
            lines.emplace_back(reg, value);
        return lines;
    }

    fs::path dir;
};

TEST_F(RecorderTest, DumpReadsBackAsTheRegisterFile) {
    RegisterRecorder recorder((dir / "dump").string(), {});
    RegisterFile regs{};
    for (int i = 0; i < kRegisterCount; ++i)
        regs[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(i * 1000 + 7);
    regs[63] = 65535;
    ASSERT_TRUE(recorder.Record(regs));
    EXPECT_EQ(ReadRegisterDump((dir / "dump").string()), regs);
    regs[5] = 1;
    ASSERT_TRUE(recorder.Record(regs));
    EXPECT_EQ(ReadRegisterDump((dir / "dump").string()), regs);
    EXPECT_FALSE(fs::exists(dir / "dump.tmp"));
}

TEST_F(RecorderTest, HistoryHoldsEveryRegisterOnceThenOnlyChanges) {
    RegisterRecorder recorder({}, (dir / "history").string());
    RegisterFile regs{};
    recorder.Record(regs);
    regs[23] = 3801;
    recorder.Record(regs);
    recorder.Record(regs);
    regs[23] = 3799;
    regs[11] = 500;
    recorder.Record(regs);

    const auto lines = History();
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kRegisterCount) + 3);
    std::map<int, std::vector<int>> byRegister;
    for (const auto& [reg, value] : lines)
        byRegister[reg].push_back(value);
    EXPECT_EQ(byRegister[23], (std::vector<int>{0, 3801, 3799}));
    EXPECT_EQ(byRegister[11], (std::vector<int>{0, 500}));
    EXPECT_EQ(byRegister[0], (std::vector<int>{0}));
}

TEST(RegisterHistoryReader, TakesCompleteLinesInsideTheRegisterFileInOrder) {
    std::istringstream in("3 7\n23 3801\n64 1\n23 70000\n3 8\n11 5");
    const std::vector<RegisterChange> changes = ReadRegisterHistory(in);
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0].reg, 3);
    EXPECT_EQ(changes[0].value, 7);
    EXPECT_EQ(changes[1].reg, 23);
    EXPECT_EQ(changes[1].value, 3801);
    EXPECT_EQ(changes[2].reg, 3);
    EXPECT_EQ(changes[2].value, 8) << "a last line without its newline is still being written";
}

TEST_F(RecorderTest, MalformedDumpsAreRefused) {
    const std::vector<std::string> bad = {"", "0 1\n", "0 1\n2 3\n", "0 70000\n", "garbage"};
    for (const std::string& text : bad) {
        std::ofstream(dir / "dump", std::ios::trunc) << text;
        EXPECT_FALSE(ReadRegisterDump((dir / "dump").string())) << text;
    }
    EXPECT_FALSE(ReadRegisterDump((dir / "missing").string()));
}

TEST_F(RecorderTest, UnwritableFileIsReported) {
    RegisterRecorder recorder((dir / "no-such-folder" / "dump").string(), {});
    EXPECT_FALSE(recorder.Record(RegisterFile{}));
}

} // namespace
} // namespace lq::sim
