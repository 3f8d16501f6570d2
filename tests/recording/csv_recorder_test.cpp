#include "csv_fields.h"
#include "modbus/local_time_text.h"
#include "recording/csv_recorder.h"
#include "recording/csv_recording.h"
#include "recording_fakes.h"
#include "tests/modbus/master_fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace lq {
namespace {

namespace fs = std::filesystem;
using testing::Accepted;
using testing::MemorySink;
using testing::StoreCounting;
using testing::Written;

const std::string kHeader =
    "time,event,block,register,value,outcome,r0 输入 (÷100),r1,r2,r3 RUN/STOP,r4 最大输出量限制 (÷10),"
    "r5 最小输出量限制 (÷10),r6,r7,r8,r9,r10,r11 输出量 (÷10),r12 温度,r13 警报,r14,r15,r20 R_C (÷10),"
    "r21 S_C (÷10),r22 T_C (÷10),r23 Volt (÷10),r24,r35 PV (÷10),r36 SV (÷10),r37,r38,r39 AL1 (÷10),"
    "r40 P (÷10),r41 I,r42 D,r43,r44";

// China's time zone has had no daylight saving since 1991, so the offset is fixed.
class CsvTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::setenv("TZ", "Asia/Shanghai", 1);
        ::tzset();
    }
    RegisterImage image_;
};

TEST_F(CsvTest, TimesAreLocalIso8601WithMillisecondsAndTheZoneOffset) {
    EXPECT_EQ(IsoTimeText(testing::At(42).wall), "2026-03-05T14:07:09.042+08:00");
    ::setenv("TZ", "America/St_Johns", 1); // a zone half an hour off, west of UTC
    ::tzset();
    EXPECT_EQ(IsoTimeText(testing::At(999).wall), "2026-03-05T02:37:09.999-03:30");
}

TEST_F(CsvTest, HeaderThenOneRowPerAcceptedReplyAndOnePerEndedWrite) {
    MemorySink sink;
    CsvRecorder recorder(sink, image_, IsoTimeText);
    recorder.WriteHeader();
    StoreCounting(image_, 0, 100);
    recorder.DeliveryJudged(Accepted(0, 0));
    recorder.DeliveryJudged({{}, DeliveryVerdict::BadCrc, 0, 0, std::nullopt, testing::At(400)});
    recorder.DeliveryJudged({{}, DeliveryVerdict::ReadRefused, 1, 2, std::nullopt, testing::At(450)});
    StoreCounting(image_, 3, 650);
    recorder.DeliveryJudged(Accepted(3, 500));
    recorder.WriteEnded(Written(36, 700, WriteOutcome::Confirmed, 1250));
    recorder.WriteEnded({40, 50, WriteOutcome::Refused, 3, 1, testing::At(1750)});
    recorder.WriteEnded(Written(41, 5, WriteOutcome::Unconfirmed, 2000));
    recorder.WriteEnded(Written(42, 6, WriteOutcome::Superseded, 2001));

    const std::string empty31(31, ',');
    const std::vector<std::string> expected{
        kHeader,
        // Blocks not read yet are empty fields.
        "2026-03-05T14:07:09.000+08:00,read,0,,,,100,101,102,103,104,105,106,107,108,109" +
            std::string(21, ','),
        "2026-03-05T14:07:09.500+08:00,read,3,,,,100,101,102,103,104,105,106,107,108,109," +
            std::string(11, ',') + "650,651,652,653,654,655,656,657,658,659",
        "2026-03-05T14:07:10.250+08:00,write,,36,700,confirmed" + empty31,
        "2026-03-05T14:07:10.750+08:00,write,,40,50,refused (exception 3)" + empty31,
        "2026-03-05T14:07:11.000+08:00,write,,41,5,unconfirmed" + empty31,
        "2026-03-05T14:07:11.001+08:00,write,,42,6,superseded" + empty31,
    };
    EXPECT_EQ(sink.lines, expected);
    EXPECT_EQ(recorder.LinesWritten(), expected.size());
}

TEST_F(CsvTest, AFullDiskStopsTheRecorderOnceWithItsReason) {
    MemorySink sink(3);
    CsvRecorder recorder(sink, image_, IsoTimeText);
    std::vector<std::string> reasons;
    recorder.onStopped = [&](const std::string& reason) { reasons.push_back(reason); };
    recorder.WriteHeader();
    for (int n = 0; n < 5; ++n)
        recorder.DeliveryJudged(Accepted(n % 4, n * 500));
    recorder.WriteEnded(Written(36, 700, WriteOutcome::Confirmed, 3000));
    EXPECT_TRUE(recorder.Stopped());
    EXPECT_EQ(reasons, std::vector<std::string>{"No space left on device"});
    EXPECT_EQ(sink.lines.size(), 2u);
}

TEST_F(CsvTest, ValuesReadBeforeTheRecordingStayOutOfIt) {
    for (std::uint8_t block = 0; block < 4; ++block)
        StoreCounting(image_, block, 100);
    MemorySink sink;
    CsvRecorder recorder(sink, image_, IsoTimeText);
    recorder.DeliveryJudged(Accepted(1, 0));
    const std::vector<std::string> fields = testing::CsvFields(sink.lines.at(0));
    const std::vector<std::string> block1(fields.begin() + 16, fields.begin() + 22);
    EXPECT_EQ(block1, (std::vector<std::string>{"100", "101", "102", "103", "104", "105"}));
    EXPECT_EQ(std::count(fields.begin() + 6, fields.end(), ""), 31 - 6) << sink.lines.at(0);
}

TEST_F(CsvTest, ACommandThatNeverWentOnTheLineIsNotSentWithNoValue) {
    MemorySink sink;
    CsvRecorder recorder(sink, image_, IsoTimeText);
    recorder.WriteEnded(Written(4, 800, WriteOutcome::NotSent, 0));
    recorder.WriteEnded({4, 800, WriteOutcome::Superseded, 0, 0, testing::At(1)}); // replaced while held back
    recorder.WriteEnded({4, 800, WriteOutcome::Unconfirmed, 0, 3, testing::At(2)});
    testing::MasterRig rig; // the master's own report of a command given with "通讯" unticked
    rig.master.AddObserver(recorder);
    rig.view.ticked = false;
    rig.master.IssueWrite(4, 800);
    std::vector<std::string> ends;
    for (const std::string& line : sink.lines) {
        const std::vector<std::string> f = testing::CsvFields(line); // register, value, outcome
        ends.push_back(f.at(3) + "," + f.at(4) + "," + f.at(5));
    }
    EXPECT_EQ(ends,
              (std::vector<std::string>{"4,,not-sent", "4,,not-sent", "4,800,unconfirmed", "4,,not-sent"}));
}

class CsvFileTest : public CsvTest {
  protected:
    void SetUp() override {
        CsvTest::SetUp();
        dir_ = fs::path(::testing::TempDir()) / ("csv-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    static std::string Contents(const fs::path& path) {
        std::ifstream in(path);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    fs::path dir_;
};

TEST_F(CsvFileTest, AnEmptyFileGetsTheHeaderAnExistingOneIsAppendedTo) {
    const fs::path path = dir_ / "run.csv";
    {
        CsvRecording first(path, image_);
        first.Recorder().DeliveryJudged(Accepted(0, 0));
    }
    {
        CsvRecording second(path, image_);
        second.Recorder().DeliveryJudged(Accepted(1, 500));
    }
    std::istringstream lines(Contents(path));
    std::string line;
    std::vector<std::string> events;
    while (std::getline(lines, line))
        events.push_back(line.substr(0, line.find(',', line.find(',') + 1)));
    const std::vector<std::string> expected{"time,event", "2026-03-05T14:07:09.000+08:00,read",
                                            "2026-03-05T14:07:09.500+08:00,read"};
    EXPECT_EQ(events, expected);
}

TEST_F(CsvFileTest, ARecordingStartsOnALineOfItsOwnWithTheHeaderWhereTheFileHasNoLine) {
    const std::string h = kHeader + "\n", mark = "\xEF\xBB\xBF", cut = "2026-03-05T14:07:09.0";
    const std::string longLine = std::string(5000, 'x') + "\n"; // longer than one read of the file's top
    // The file as found (none: no file), and what must come before the recording's one row.
    const std::vector<std::pair<std::optional<std::string>, std::string>> cases{
        {std::nullopt, h},
        {"", h},
        {mark, mark + h},
        {h + "x\n", h + "x\n"},
        {h + cut, h + cut + "\n"},
        {cut, cut + "\n" + h},
        {longLine + cut, longLine + cut + "\n"}};
    for (const auto& [before, kept] : cases) {
        const fs::path path = dir_ / "run.csv";
        fs::remove(path);
        if (before) std::ofstream(path, std::ios::binary) << *before;
        CsvRecording(path, image_).Recorder().DeliveryJudged(Accepted(0, 0));
        const std::string all = Contents(path), row = all.substr(std::min(kept.size(), all.size()));
        EXPECT_EQ(all.substr(0, kept.size()), kept);
        EXPECT_EQ(row.find('\n'), row.size() - 1) << all;
        EXPECT_EQ(testing::CsvFields(row.substr(0, row.size() - 1)).size(), 37u) << all;
    }
}

TEST_F(CsvFileTest, AFileThatCannotBeWrittenStopsAtOnceWithTheSystemsReason) {
    struct Case {
        fs::path path;
        std::string reason;
    };
    // /dev/full refuses every write with ENOSPC: a full disk without filling one.
    for (const Case& c : {Case{dir_ / "missing" / "run.csv", "No such file or directory"},
                          Case{"/dev/full", "No space left on device"}}) {
        CsvRecording recording(c.path, image_);
        EXPECT_TRUE(recording.Stopped()) << c.path;
        EXPECT_EQ(recording.Error(), c.reason) << c.path;
        recording.Recorder().DeliveryJudged(Accepted(0, 0)); // ignored, no crash
    }
}

TEST_F(CsvFileTest, AKillMidRunLeavesEveryRowWrittenWhole) {
    const fs::path path = dir_ / "killed.csv";
    int running[2];
    ASSERT_EQ(::pipe(running), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        CsvRecording recording(path, image_);
        for (std::uint16_t n = 0; n < 60000; ++n) {
            if (n == 1000) (void)!::write(running[1], "x", 1);
            StoreCounting(image_, 0, n);
            recording.Recorder().DeliveryJudged(Accepted(0, n));
        }
        for (;;)
            ::pause();
    }
    // Killed while it goes on writing rows, wherever it is.
    char byte;
    ASSERT_EQ(::read(running[0], &byte, 1), 1);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const std::string all = Contents(path);
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.back(), '\n') << "the last row is cut off";
    std::istringstream lines(all);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, kHeader);
    int rows = 0;
    while (std::getline(lines, line)) {
        const std::vector<std::string> fields = testing::CsvFields(line);
        ASSERT_EQ(fields.size(), 37u) << line;
        // Column r0 counts the rows, r9 is r0 + 9: a row cut short or run into the next one breaks either.
        EXPECT_EQ(fields[6], std::to_string(rows)) << line;
        EXPECT_EQ(fields[15], std::to_string(rows + 9)) << line;
        ++rows;
    }
    EXPECT_GE(rows, 1000);
}

} // namespace
} // namespace lq
