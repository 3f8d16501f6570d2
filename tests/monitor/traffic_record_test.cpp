// The bounded row store and the line format of the traffic file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "english_texts.h"
#include "monitor/traffic_line.h"
#include "monitor/traffic_rows.h"

namespace lq {
namespace {

using namespace std::chrono;

TrafficRow RowNumber(int n) {
    TrafficRow row;
    row.meaning = std::to_string(n);
    return row;
}

std::vector<std::string> Meanings(const TrafficRows& rows) {
    std::vector<std::string> meanings;
    for (const TrafficRow& row : rows)
        meanings.push_back(row.meaning);
    return meanings;
}

TEST(TrafficRowStore, KeepsTheNewestRowsInOrderUpToItsCapacity) {
    TrafficRows rows(3);
    EXPECT_EQ(rows.OverflowFor(3), 0u);
    for (int n = 1; n <= 5; ++n)
        rows.Append(RowNumber(n));
    EXPECT_EQ(Meanings(rows), (std::vector<std::string>{"3", "4", "5"}));
    EXPECT_EQ(rows.OverflowFor(1), 1u);
    EXPECT_EQ(rows.OverflowFor(10), 3u) << "never more than it holds";
    rows.DropOldest(2);
    EXPECT_EQ(Meanings(rows), (std::vector<std::string>{"5"}));
    EXPECT_EQ(TrafficRows().Capacity(), 10'000u);
}

// Local time is read in the zone of TZ; the test picks one with an offset, and one west of UTC.
class TrafficLine : public ::testing::Test {
  protected:
    void SetZone(const char* zone) {
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    void TearDown() override {
        if (saved_) {
            ::setenv("TZ", saved_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }
    // 2026-12-08 06:03:05.042 UTC
    const system_clock::time_point at_ = system_clock::time_point(seconds(1796709785)) + milliseconds(42);

  private:
    std::optional<std::string> saved_ =
        std::getenv("TZ") ? std::optional<std::string>(std::getenv("TZ")) : std::nullopt;
};

TEST_F(TrafficLine, IsIsoTimeDirectionHexMeaningRoundTripAndAnswerTimeBetweenTabs) {
    SetZone("CST-8");
    TrafficRow row{at_,
                   TrafficDirection::Received,
                   false,
                   microseconds(123'456),
                   {0x01, 0x03, 0x14, 0xAB},
                   "读块 0 的应答",
                   microseconds(2'070)};
    EXPECT_EQ(FormatTrafficLine(row),
              "2026-12-08T14:03:05.042+08:00\t收\t01 03 14 AB\t读块 0 的应答\t123.5\t2.1");
    EXPECT_EQ(ClockText(row.at), "14:03:05.042");

    row.direction = TrafficDirection::Missing;
    row.bytes.clear();
    row.roundTrip.reset();
    row.answerTime.reset();
    row.meaning = "无应答";
    EXPECT_EQ(FormatTrafficLine(row), "2026-12-08T14:03:05.042+08:00\t—\t\t无应答\t\t");
    row.direction = TrafficDirection::Sent;
    EXPECT_EQ(FormatTrafficLine(row).substr(29, 5), "\t发\t");
}

// The screen follows the interface language; the file's direction column stays as scripts read it, and its
// meaning is the meaning the screen shows.
TEST_F(TrafficLine, InEnglishTheScreenSaysTxAndRxAndTheFileKeepsItsDirections) {
    static constexpr testing::EnglishText kEnglish[] = {
        {"TrafficLine", "发", "TX"},
        {"TrafficLine", "收", "RX"},
        {"FrameMeaning", "无应答 (no reply)：读块 %1", "No reply: read block %1"},
    };
    const testing::EnglishTexts english(kEnglish);
    SetZone("UTC0");
    const std::vector<std::uint8_t> frame{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD};
    const struct {
        TrafficRow row;
        const char* shown;
        const char* inFile;
    } cases[] = {
        {MakeTrafficRow(SentRequest{RequestKind::Read, frame, 0, 0, 0, {{}, at_}}), "TX", "\t发\t"},
        {MakeTrafficRow(Delivery{frame, DeliveryVerdict::StrayEcho, 0, 0, std::nullopt, {{}, at_}}), "RX",
         "\t收\t"},
        {MakeTrafficRow(NoReply{2, {{}, at_}}), "—", "\t—\t\tNo reply: read block 2\t"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShownDirectionText(c.row.direction), c.shown);
        const std::string line = FormatTrafficLine(c.row);
        EXPECT_EQ(line.substr(line.find('\t')).rfind(c.inFile, 0), 0u) << line;
    }
}

TEST_F(TrafficLine, AZoneWestOfUtcHasANegativeOffset) {
    SetZone("NST+3:30");
    EXPECT_EQ(IsoTimeText(at_), "2026-12-08T02:33:05.042-03:30");
}

TEST_F(TrafficLine, EveryFieldKeepsItsWidthAlsoBefore1970) {
    SetZone("UTC0");
    const struct {
        system_clock::time_point at;
        const char* iso;
    } cases[] = {
        {system_clock::time_point{} - milliseconds(1), "1969-12-31T23:59:59.999+00:00"},
        {system_clock::time_point{} + milliseconds(7), "1970-01-01T00:00:00.007+00:00"},
        {system_clock::time_point{} + hours(24 * 366) + minutes(61) + milliseconds(50),
         "1971-01-02T01:01:00.050+00:00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsoTimeText(c.at), c.iso);
        EXPECT_EQ(ClockText(c.at), std::string(c.iso).substr(11, 12));
    }
}

} // namespace
} // namespace lq
