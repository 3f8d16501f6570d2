// What a row may hold: a number only where the controller gave one, a value only where one went on the line.
#include "recording/csv_recorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "csv_fields.h"
#include "modbus/local_time_text.h"
#include "recording_fakes.h"
#include "tests/modbus/master_fakes.h"

namespace lq {
namespace {

using testing::Accepted;
using testing::CsvFields;
using testing::MemorySink;

constexpr std::size_t kFirstRegisterField = 6;

// The register fields of a read row as they must be: the image's value for a register of a block in
// `read`, empty for every other.
std::vector<std::string> ExpectedRegisterFields(const RegisterImage& image, const std::vector<int>& read)
{
    std::vector<std::string> fields;
    for (int reg = 0; reg <= RegisterImage::kHighestRegister; ++reg) {
        if (!RegisterImage::IsKept(reg)) continue;
        int block = 0;
        while (block + 1 < int(kPollBlockStarts.size()) && reg >= kPollBlockStarts[block + 1]) ++block;
        const bool wasRead = std::find(read.begin(), read.end(), block) != read.end();
        fields.push_back(wasRead ? std::to_string(image[reg]) : "");
    }
    return fields;
}

std::vector<std::string> RegisterFields(const std::string& line)
{
    const std::vector<std::string> fields = CsvFields(line);
    return {fields.begin() + std::min(kFirstRegisterField, fields.size()), fields.end()};
}

struct UnreadCase {
    const char* what;
    bool imageFilledBefore;       // the panel had read every block before the recording began
    std::vector<Delivery> events; // what the master judged since, in order
    std::vector<int> read;        // the blocks whose registers the last row carries
    friend void PrintTo(const UnreadCase& c, std::ostream* os) { *os << c.what; }
};

class UnreadRegisters : public ::testing::TestWithParam<UnreadCase> {};

TEST_P(UnreadRegisters, AreEmptyFieldsUntilTheirBlockIsRead)
{
    const UnreadCase& c = GetParam();
    RegisterImage image;
    if (c.imageFilledBefore)
        for (std::uint8_t block = 0; block < 4; ++block)
            testing::StoreCounting(image, block, static_cast<std::uint16_t>(100 * (block + 1)));
    MemorySink sink;
    CsvRecorder recorder(sink, image, IsoTimeText);
    for (const Delivery& d : c.events) recorder.DeliveryJudged(d);
    ASSERT_FALSE(sink.lines.empty()) << c.what;
    EXPECT_EQ(CsvFields(sink.lines.back()).size(), 37u) << c.what;
    EXPECT_EQ(RegisterFields(sink.lines.back()), ExpectedRegisterFields(image, c.read)) << c.what;
}

Delivery Judged(DeliveryVerdict verdict, std::uint8_t block, std::int64_t ms)
{
    return {{}, verdict, block, 0, std::nullopt, testing::At(ms)};
}

INSTANTIATE_TEST_SUITE_P(
    Starts, UnreadRegisters,
    ::testing::Values(
        UnreadCase{"the first reply, nothing read before", false, {Accepted(2, 0)}, {2}},
        // Zeros the controller did report are numbers like any other.
        UnreadCase{"two replies, nothing read before", false, {Accepted(0, 0), Accepted(3, 500)}, {0, 3}},
        UnreadCase{"values read before the recording", true, {Accepted(1, 0)}, {1}},
        UnreadCase{"a reply that was not accepted",
                   true,
                   {Accepted(0, 0), Judged(DeliveryVerdict::BadCrc, 1, 400),
                    Judged(DeliveryVerdict::ReadRefused, 2, 450), Accepted(0, 500)},
                   {0}},
        UnreadCase{"a whole round", true, {Accepted(0, 0), Accepted(1, 1), Accepted(2, 2), Accepted(3, 3)},
                   {0, 1, 2, 3}}));

struct WriteEndCase {
    const char* what;
    WriteEnd end;
    std::vector<std::string> fields; // register, value, outcome
    friend void PrintTo(const WriteEndCase& c, std::ostream* os) { *os << c.what; }
};

class WriteRows : public ::testing::TestWithParam<WriteEndCase> {};

TEST_P(WriteRows, CarryAValueOnlyWhenItWentOnTheLine)
{
    const WriteEndCase& c = GetParam();
    RegisterImage image;
    MemorySink sink;
    CsvRecorder recorder(sink, image, IsoTimeText);
    recorder.WriteEnded(c.end);
    ASSERT_EQ(sink.lines.size(), 1u) << c.what;
    const std::vector<std::string> fields = CsvFields(sink.lines.front());
    ASSERT_EQ(fields.size(), 37u) << c.what;
    EXPECT_EQ(fields[1], "write") << c.what;
    EXPECT_EQ(std::vector<std::string>(fields.begin() + 3, fields.begin() + 6), c.fields) << c.what;
    EXPECT_EQ(RegisterFields(sink.lines.front()), std::vector<std::string>(31, "")) << c.what;
}

WriteEnd Ended(WriteOutcome outcome, int sends)
{
    return {4, 800, outcome, 0, sends, testing::At(0)};
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, WriteRows,
    ::testing::Values(WriteEndCase{"refused before sending", Ended(WriteOutcome::NotSent, 0),
                                   {"4", "", "not-sent"}},
                      WriteEndCase{"held back, then expired", Ended(WriteOutcome::Unconfirmed, 0),
                                   {"4", "", "not-sent"}},
                      WriteEndCase{"held back, then replaced", Ended(WriteOutcome::Superseded, 0),
                                   {"4", "", "not-sent"}},
                      WriteEndCase{"sent thrice, no echo", Ended(WriteOutcome::Unconfirmed, 3),
                                   {"4", "800", "unconfirmed"}},
                      WriteEndCase{"sent, then replaced", Ended(WriteOutcome::Superseded, 1),
                                   {"4", "800", "superseded"}},
                      WriteEndCase{"echoed", Ended(WriteOutcome::Confirmed, 1), {"4", "800", "confirmed"}}));

TEST(MasterRefusals, AreRecordedAsNotSentWithNoValue)
{
    struct Refusal {
        const char* what;
        std::function<void(testing::MasterRig&)> arrange;
    };
    const std::vector<Refusal> refusals{
        {"通讯 unticked", [](testing::MasterRig& r) { r.view.ticked = false; }},
        {"no valid address", [](testing::MasterRig& r) { r.view.addressText = "0"; }},
        {"the port closed", [](testing::MasterRig& r) { r.sender.portOpen = false; }},
    };
    for (const Refusal& r : refusals) {
        testing::MasterRig rig;
        MemorySink sink;
        CsvRecorder recorder(sink, rig.master.Registers(), IsoTimeText);
        rig.master.AddObserver(recorder);
        r.arrange(rig);
        rig.master.IssueWrite(4, 800);
        ASSERT_EQ(sink.lines.size(), 1u) << r.what;
        const std::vector<std::string> fields = CsvFields(sink.lines.front());
        EXPECT_EQ(std::vector<std::string>(fields.begin() + 1, fields.begin() + 6),
                  (std::vector<std::string>{"write", "", "4", "", "not-sent"}))
            << r.what;
        EXPECT_EQ(testing::WritesSent(rig.sender), 0u) << r.what;
    }
}

// The master's own reports, from a rig that drives it as the GUI thread does.
class RecordedMaster : public ::testing::Test {
protected:
    void SetUp() override { rig_.master.AddObserver(recorder_); }
    // event, block, register, value, outcome
    std::vector<std::string> LeadingFields(std::size_t line) const
    {
        const std::vector<std::string> fields = CsvFields(sink_.lines.at(line));
        return {fields.begin() + 1, fields.begin() + 6};
    }
    testing::MasterRig rig_;
    MemorySink sink_;
    CsvRecorder recorder_{sink_, rig_.master.Registers(), IsoTimeText};
};

TEST_F(RecordedMaster, ACommandHeldBackAndReplacedBeforeSendingIsNotSentTheOneSentIsRecordedAsSent)
{
    rig_.Tick(); // a read of block 0 in flight: a command waits for its reply
    rig_.master.IssueWrite(4, 800);
    rig_.master.IssueWrite(5, 100);
    rig_.Deliver(testing::ReadReply(std::vector<std::uint16_t>(10, 7))); // the reply frees the line
    rig_.Deliver(testing::WriteEcho(5, 100));
    ASSERT_EQ(sink_.lines.size(), 3u);
    EXPECT_EQ(LeadingFields(0), (std::vector<std::string>{"write", "", "4", "", "not-sent"}));
    EXPECT_EQ(LeadingFields(1), (std::vector<std::string>{"read", "0", "", "", ""}));
    EXPECT_EQ(LeadingFields(2), (std::vector<std::string>{"write", "", "5", "100", "confirmed"}));
    EXPECT_EQ(testing::WritesSent(rig_.sender), 1u);
}

TEST_F(RecordedMaster, ValuesReadBeforeTheRecordingStayOutOfIt)
{
    rig_.master.RemoveObserver(recorder_);
    rig_.PollAt(3); // blocks 0 to 2 read before the recording
    rig_.Deliver(testing::ReadReply(std::vector<std::uint16_t>(10, 9)));
    rig_.Tick();
    rig_.master.AddObserver(recorder_);
    rig_.Deliver(testing::ReadReply({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    ASSERT_EQ(sink_.lines.size(), 1u);
    EXPECT_EQ(RegisterFields(sink_.lines.front()), ExpectedRegisterFields(rig_.master.Registers(), {0}));
}

} // namespace
} // namespace lq
