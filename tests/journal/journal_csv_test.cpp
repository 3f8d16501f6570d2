#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "journal/journal_csv.h"
#include "journal/journal_store.h"

namespace lq {
namespace {

// A fixed zone, so that the local time in the line is known.
class JournalCsv : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("TZ", "Asia/Shanghai", 1);
        tzset();
    }
};

// 2026-12-08T14:03:05.123+08:00
const std::chrono::system_clock::time_point kAt =
    std::chrono::system_clock::time_point(std::chrono::seconds(1796709785)) + std::chrono::milliseconds(123);

TEST_F(JournalCsv, LineHasTheColumnsInOrder) {
    const JournalEntry entry{kAt, EntryKind::Write, "36", 800, "confirmed", "SV 80.0"};
    EXPECT_EQ(JournalCsvLine(entry), "2026-12-08T14:03:05.123+08:00,write,36,800,confirmed,SV 80.0");
    EXPECT_EQ(JournalCsvHeader(), "time,kind,subject,value,outcome,text");
    EXPECT_EQ(LocalDay(kAt), "2026-12-08");
}

TEST_F(JournalCsv, FieldsWithCommasQuotesAndLineEndsAreQuoted) {
    struct Case {
        std::string text;
        std::string field;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\r", "\"cr\r\""},
        {"报警 PWER", "报警 PWER"},
    };
    for (const Case& c : cases) {
        const JournalEntry entry{kAt, EntryKind::PortLost, "ttyUSB0", std::nullopt, "", c.text};
        EXPECT_EQ(JournalCsvLine(entry), "2026-12-08T14:03:05.123+08:00,port-lost,ttyUSB0,,," + c.field);
    }
}

TEST(JournalStore, KeepsTheNewestUpToItsBoundAndCountsEveryOne) {
    JournalStore store(3);
    for (int i = 0; i < 5; ++i)
        store.Add({kAt, EntryKind::LinkLost, std::to_string(i), {}, {}, {}});
    ASSERT_EQ(store.Size(), 3u);
    EXPECT_EQ(store[0].subject, "2");
    EXPECT_EQ(store[2].subject, "4");
    EXPECT_EQ(store.Total(), 5u);
}

} // namespace
} // namespace lq
