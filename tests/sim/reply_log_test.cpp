#include "sim/reply_log.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace lq::sim {
namespace {

SimTime At(long long us) {
    return SimTime(microseconds(us));
}

TEST(ReplyLogFile, ReadsBackWhatWasWritten) {
    const std::string path = ::testing::TempDir() + "/reply-log";
    const std::vector<HeardRequest> heard{
        {1, At(1'000'001), {1, 3, 0, 0, 0, 10, 0xC5, 0xCD}, {1, 0x83, 2, 0xC0, 0xF1}},
        {2, At(2'000'000), {0xFF, 0x00}, {}}};
    const std::vector<SentBytes> sent{{1, At(1'002'500), Sending::OnTime, {1, 0x83}},
                                      {1, At(1'040'000), Sending::Late, {2, 0xC0, 0xF1}},
                                      {1, At(1'300'000), Sending::Copy, {1, 0x83, 2, 0xC0, 0xF1}}};
    {
        ReplyLogFile file(path);
        file.Heard(heard[0]);
        file.Sent(sent[0]);
        file.Sent(sent[1]);
        file.Heard(heard[1]);
        file.Sent(sent[2]);
    }
    std::ifstream in(path);
    const ReplyLog log = ReadReplyLog(in);
    EXPECT_EQ(log.heard, heard);
    EXPECT_EQ(log.sent, sent);
}

TEST(ReplyLogFile, LeavesOutALineStillBeingWrittenAndLinesItNeverWrites) {
    std::istringstream in("heard 1 5 0103 -\n"
                          "sent 1 6 early 01\n"
                          "sent 1 7 copy 0g\n"
                          "heard 2 8 010\n"
                          "sent 1 9 on-time 0103\n"
                          "sent 1 10 copy 01");
    const ReplyLog log = ReadReplyLog(in);
    ASSERT_EQ(log.heard.size(), 1u);
    ASSERT_EQ(log.sent.size(), 1u);
    EXPECT_EQ(log.sent[0].at, At(9));
    EXPECT_EQ(log.sent[0].bytes, (Frame{1, 3}));
}

TEST(ReplyLogFile, RefusesAPathItCannotCreate) {
    EXPECT_THROW(ReplyLogFile("/nonexistent-folder/log"), std::runtime_error);
}

} // namespace
} // namespace lq::sim
