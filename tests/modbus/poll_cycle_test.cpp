#include <gtest/gtest.h>

#include "master_fakes.h"

namespace lq::testing {
namespace {

const std::vector<std::uint16_t> kZeros(10, 0);

TEST(PollCycle, AnAnsweringControllerIsReadInRotation) {
    MasterRig rig;
    for (int tick = 0; tick < 5; ++tick) {
        rig.Tick();
        rig.Deliver(ReadReply(kZeros));
    }
    EXPECT_EQ(ReadStarts(rig.sender), (std::vector<int>{0, 10, 20, 35, 0}));
    EXPECT_EQ(rig.pause.pauses, std::vector<unsigned>(5, 5));
}

TEST(PollCycle, ABadReplyRepeatsTheBlockAtTheNextTick) {
    MasterRig rig;
    rig.Tick();
    Bytes bad = ReadReply(kZeros);
    bad[10] ^= 1;
    rig.Deliver(bad);
    rig.Tick();
    EXPECT_EQ(ReadStarts(rig.sender), (std::vector<int>{0, 0}));
}

TEST(PollCycle, AnUncheckedBoxSendsNothingDarkensTheLampButStillMovesOn) {
    MasterRig rig;
    rig.Tick();
    rig.Deliver(ReadReply(kZeros)); // answered, lamp lit
    rig.view.ticked = false;
    rig.Tick();
    EXPECT_EQ(rig.master.PollIndex(), 1);
    EXPECT_FALSE(rig.master.LinkLampLit());
    EXPECT_FALSE(rig.view.lampShownLit);
    rig.Tick();
    EXPECT_EQ(rig.master.PollIndex(), 1);
    EXPECT_EQ(ReadStarts(rig.sender), std::vector<int>{0});
    rig.view.ticked = true;
    rig.Tick();
    EXPECT_EQ(ReadStarts(rig.sender), (std::vector<int>{0, 10}));
}

TEST(PollCycle, AtStartTheFirstTickRequestsBlockZero) {
    MasterRig rig;
    EXPECT_FALSE(rig.master.LinkLampLit());
    rig.Tick();
    EXPECT_EQ(ReadStarts(rig.sender), std::vector<int>{0});
}

TEST(WriteAge, AnUnechoedWriteBlocksPollingUntilTheFourthRefreshTick) {
    MasterRig rig;
    rig.master.IssueWrite(4, 800);
    const std::size_t afterWrite = rig.sender.sent.size();
    for (int refresh = 1; refresh <= 4; ++refresh) {
        rig.Tick();
        EXPECT_FALSE(rig.master.LinkLampLit());
        EXPECT_EQ(rig.master.Write().pending, 1);
        rig.master.AgeWriteRequest();
        EXPECT_EQ(rig.master.Write().pending, refresh < 4 ? 1 : 0) << refresh;
    }
    EXPECT_TRUE(ReadStarts(rig.sender, afterWrite).empty());
    EXPECT_EQ(rig.master.WriteAge(), 0);
    rig.Tick();
    EXPECT_EQ(ReadStarts(rig.sender, afterWrite), std::vector<int>{0});
}

TEST(WriteAge, TheEchoEndsTheWriteAndPollingResumesAtTheSameIndex) {
    MasterRig rig;
    rig.Tick();
    rig.Deliver(ReadReply(kZeros));
    rig.Tick(); // reads block 1
    rig.Deliver(ReadReply(kZeros));
    rig.master.IssueWrite(0, 5000);
    rig.Tick();
    rig.Deliver(WriteEcho(0, 5000));
    EXPECT_EQ(rig.master.Write().pending, 0);
    rig.Tick();
    EXPECT_EQ(ReadStarts(rig.sender), (std::vector<int>{0, 10, 20}));
}

TEST(WriteAge, AWriteSetSoonAfterAnEchoedOneStartsFromItsCount) {
    MasterRig rig;
    rig.master.IssueWrite(4, 1);
    rig.master.AgeWriteRequest();
    rig.master.AgeWriteRequest();
    rig.Deliver(WriteEcho(4, 1));
    rig.master.IssueWrite(5, 2); // before the next refresh tick
    EXPECT_EQ(rig.master.WriteAge(), 2);
    rig.master.AgeWriteRequest();
    EXPECT_EQ(rig.master.Write().pending, 1);
    rig.master.AgeWriteRequest();
    EXPECT_EQ(rig.master.Write().pending, 0) << "expires on the 2nd tick, not the 4th";
}

TEST(WriteAge, ARefreshTickWithNoWriteResetsTheCount) {
    MasterRig rig;
    rig.master.IssueWrite(4, 1);
    rig.master.AgeWriteRequest();
    rig.Deliver(WriteEcho(4, 1));
    rig.master.AgeWriteRequest();
    EXPECT_EQ(rig.master.WriteAge(), 0);
}

} // namespace
} // namespace lq::testing
