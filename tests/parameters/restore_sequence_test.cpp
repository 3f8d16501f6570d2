#include <gtest/gtest.h>

#include "controller_on_rig.h"
#include "parameters/restore_sequence.h"

namespace {

using lq::RestoreResult;
using lq::RestoreSequence;
using lq::testing::ControllerOnRig;
using lq::testing::MasterRig;
using State = RestoreSequence::State;

struct SequenceRig {
    explicit SequenceRig(const std::vector<lq::PlannedWrite>& writes)
        : sequence(writes, rig.master.Registers(), rig.clock, [this](std::uint8_t reg, std::int32_t value) {
              return rig.master.IssueWrite(reg, value);
          }) {
        rig.master.AddObserver(sequence);
        controller.registers[36] = 650;
        controller.registers[41] = 90;
        controller.registers[42] = 10;
    }
    // The panel's timers as they come: the sequence's own tick, the poll tick, the refresh tick.
    void Run(int ticks = 60) {
        for (int tick = 0; tick < ticks && !sequence.Finished(); ++tick) {
            sequence.Tick();
            controller.Answer();
            controller.TickAndAnswer();
            rig.master.AgeWriteRequest();
        }
    }

    MasterRig rig;
    ControllerOnRig controller{rig};
    RestoreSequence sequence;
};

const std::vector<lq::PlannedWrite> kThreeWrites{{36, 650, 600}, {41, 90, 120}, {42, 10, 30}};

TEST(RestoreSequence, NothingIsWrittenBeforeTheListIsConfirmed) {
    SequenceRig r(kThreeWrites);
    r.Run(10);
    EXPECT_EQ(lq::testing::WritesSent(r.rig.sender), 0u);
    EXPECT_EQ(r.sequence.Current(), State::AwaitingConfirmation);
    r.sequence.Confirm();
    EXPECT_EQ(lq::testing::WritesSent(r.rig.sender), 1u) << "the first write goes at the confirmation";
}

TEST(RestoreSequence, WritesEachDifferenceInTurnAndChecksItByReadingItBack) {
    SequenceRig r(kThreeWrites);
    r.sequence.Confirm();
    r.Run();
    ASSERT_EQ(r.sequence.Current(), State::Done);
    EXPECT_EQ(r.controller.written,
              (std::vector<std::pair<int, std::uint16_t>>{{36, 600}, {41, 120}, {42, 30}}));
    for (const lq::RestoreStep& step : r.sequence.Steps()) {
        EXPECT_EQ(step.result, RestoreResult::Written) << step.write.reg;
        EXPECT_EQ(step.readBack, step.write.to) << step.write.reg;
    }
}

TEST(RestoreSequence, AWriteRefusedMidwayStopsIt) {
    SequenceRig r(kThreeWrites);
    r.controller.refuseWritesTo = 41;
    r.sequence.Confirm();
    r.Run();
    ASSERT_EQ(r.sequence.Current(), State::Failed);
    const auto& steps = r.sequence.Steps();
    EXPECT_EQ(steps[0].result, RestoreResult::Written);
    EXPECT_EQ(steps[1].result, RestoreResult::Refused);
    EXPECT_EQ(steps[2].result, RestoreResult::Pending);
    for (const auto& [reg, value] : r.controller.written)
        EXPECT_NE(reg, 42) << "nothing is written after the refused write";
}

TEST(RestoreSequence, AReadBackThatDisagreesFailsIt) {
    SequenceRig r(kThreeWrites);
    r.controller.ignoreWritesTo = 36; // echoes, and keeps its value
    r.sequence.Confirm();
    r.Run();
    ASSERT_EQ(r.sequence.Current(), State::Failed);
    EXPECT_EQ(r.sequence.Steps()[0].result, RestoreResult::ReadBackDiffers);
    EXPECT_EQ(r.sequence.Steps()[0].readBack, 650);
    EXPECT_EQ(r.controller.written.size(), 1u);
}

TEST(RestoreSequence, ACancelLetsTheWriteOnTheLineEndAndSendsNoMore) {
    SequenceRig r(kThreeWrites);
    r.sequence.Confirm();
    r.sequence.Cancel();
    r.Run();
    ASSERT_EQ(r.sequence.Current(), State::Cancelled);
    EXPECT_EQ(r.sequence.Steps()[0].result, RestoreResult::Written);
    EXPECT_EQ(r.sequence.Steps()[1].result, RestoreResult::Pending);
    EXPECT_EQ(r.controller.written.size(), 1u);
}

TEST(RestoreSequence, AWriteRefusedBeforeSendingFailsAtOnce) {
    SequenceRig r(kThreeWrites);
    r.rig.view.ticked = false;
    r.sequence.Confirm();
    EXPECT_EQ(r.sequence.Current(), State::Failed);
    EXPECT_EQ(r.sequence.Steps()[0].result, RestoreResult::NotSent);
}

} // namespace
