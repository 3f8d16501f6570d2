#include <gtest/gtest.h>

#include "master_fakes.h"

namespace lq::testing {
namespace {

const std::vector<std::uint16_t> kZeros(10, 0);

// Start registers of the read requests sent since `from`.
std::vector<int> ReadStarts(const MasterRig& rig, std::size_t from = 0)
{
    std::vector<int> starts;
    for (std::size_t i = from; i < rig.sender.sent.size(); ++i)
        if (rig.sender.sent[i][1] == 0x03) starts.push_back(rig.sender.sent[i][3]);
    return starts;
}

TEST(PollCycle, AnAnsweringControllerIsReadInRotation)
{
    MasterRig rig;
    for (int tick = 0; tick < 5; ++tick) {
        rig.master.Timer1Timer();
        rig.Deliver(ReadReply(kZeros));
    }
    EXPECT_EQ(ReadStarts(rig), (std::vector<int>{0, 10, 20, 35, 0}));
    EXPECT_EQ(rig.pause.pauses, std::vector<unsigned>(5, 5));
}

TEST(PollCycle, SilenceRepeatsTheSameBlockAndLeavesTheLampAlone)
{
    MasterRig rig;
    rig.master.Timer1Timer();
    rig.Deliver(ReadReply(kZeros)); // block 0 answered, lamp lit
    for (int tick = 0; tick < 4; ++tick) rig.master.Timer1Timer();
    EXPECT_EQ(ReadStarts(rig), (std::vector<int>{0, 10, 10, 10, 10}));
    EXPECT_TRUE(rig.master.LinkLampLit());
}

TEST(PollCycle, ABadReplyRepeatsTheBlock)
{
    MasterRig rig;
    rig.master.Timer1Timer();
    Bytes bad = ReadReply(kZeros);
    bad[10] ^= 1;
    rig.Deliver(bad);
    rig.master.Timer1Timer();
    EXPECT_EQ(ReadStarts(rig), (std::vector<int>{0, 0}));
}

TEST(PollCycle, AnUncheckedBoxSendsNothingDarkensTheLampButStillMovesOn)
{
    MasterRig rig;
    rig.master.Timer1Timer();
    rig.Deliver(ReadReply(kZeros)); // answered, lamp lit
    rig.view.ticked = false;
    rig.master.Timer1Timer();
    EXPECT_EQ(rig.master.PollIndex(), 1);
    EXPECT_FALSE(rig.master.LinkLampLit());
    EXPECT_FALSE(rig.view.lampShownLit);
    rig.master.Timer1Timer();
    EXPECT_EQ(rig.master.PollIndex(), 1);
    EXPECT_EQ(ReadStarts(rig), std::vector<int>{0});
    rig.view.ticked = true;
    rig.master.CheckBox2Click();
    rig.master.Timer1Timer();
    EXPECT_EQ(ReadStarts(rig), (std::vector<int>{0, 10}));
}

TEST(PollCycle, AtStartTheFirstTickRequestsBlockZero)
{
    MasterRig rig;
    EXPECT_FALSE(rig.master.LinkLampLit());
    rig.master.Timer1Timer();
    EXPECT_EQ(ReadStarts(rig), std::vector<int>{0});
}

TEST(WriteAge, AnUnechoedWriteBlocksPollingUntilTheFourthRefreshTick)
{
    MasterRig rig;
    rig.master.IssueWrite(4, 800);
    const std::size_t afterWrite = rig.sender.sent.size();
    for (int refresh = 1; refresh <= 4; ++refresh) {
        rig.master.Timer1Timer();
        EXPECT_FALSE(rig.master.LinkLampLit());
        EXPECT_EQ(rig.master.Write().pending, 1) << refresh;
        rig.master.AgeWriteRequest();
        EXPECT_EQ(rig.master.Write().pending, refresh < 4 ? 1 : 0) << refresh;
    }
    EXPECT_TRUE(ReadStarts(rig, afterWrite).empty());
    EXPECT_EQ(rig.master.WriteAge(), 0);
    rig.master.Timer1Timer();
    EXPECT_EQ(ReadStarts(rig, afterWrite), std::vector<int>{0});
}

TEST(WriteAge, TheEchoEndsTheWriteAndPollingResumesAtTheSameIndex)
{
    MasterRig rig;
    rig.master.Timer1Timer();
    rig.Deliver(ReadReply(kZeros));
    rig.master.Timer1Timer(); // reads block 1, no reply yet
    rig.master.IssueWrite(0, 5000);
    rig.master.Timer1Timer();
    rig.Deliver({0x01, 0x06, 0x00, 0x00, 0x13, 0x88, 0x00, 0x00});
    EXPECT_EQ(rig.master.Write().pending, 0);
    rig.master.Timer1Timer();
    EXPECT_EQ(ReadStarts(rig), (std::vector<int>{0, 10, 10}));
}

TEST(WriteAge, AWriteSetSoonAfterAnEchoedOneStartsFromItsCount)
{
    MasterRig rig;
    rig.view.ticked = false;
    rig.master.IssueWrite(4, 1);
    rig.master.AgeWriteRequest();
    rig.master.AgeWriteRequest();
    rig.Deliver({0x01}); // echo
    rig.master.IssueWrite(5, 2); // before the next refresh tick
    EXPECT_EQ(rig.master.WriteAge(), 2);
    rig.master.AgeWriteRequest();
    EXPECT_EQ(rig.master.Write().pending, 1);
    rig.master.AgeWriteRequest();
    EXPECT_EQ(rig.master.Write().pending, 0) << "expires on the 2nd tick, not the 4th";
}

TEST(WriteAge, ARefreshTickWithNoWriteResetsTheCount)
{
    MasterRig rig;
    rig.view.ticked = false;
    rig.master.IssueWrite(4, 1);
    rig.master.AgeWriteRequest();
    rig.Deliver({0x01});
    rig.master.AgeWriteRequest();
    EXPECT_EQ(rig.master.WriteAge(), 0);
}

TEST(WriteAge, TwoWritesWithinOneEchoTimeShareTheSlot)
{
    MasterRig rig;
    rig.master.IssueWrite(4, 800);
    rig.master.IssueWrite(5, 100);
    rig.Deliver({0x01, 0x06, 0x00, 0x04, 0x03, 0x20, 0x00, 0x00});
    EXPECT_EQ(rig.master.Write().pending, 0);
    EXPECT_EQ(rig.master.Write().registerAddress, 5);
}

} // namespace
} // namespace lq::testing
