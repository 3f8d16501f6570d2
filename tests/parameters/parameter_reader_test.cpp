#include <gtest/gtest.h>

#include "controller_on_rig.h"
#include "parameters/parameter_reader.h"

namespace {

using lq::ReadOutcome;
using lq::testing::ControllerOnRig;
using lq::testing::MasterRig;

struct ReaderRig {
    MasterRig rig;
    ControllerOnRig controller{rig};
    lq::ParameterReader reader{rig.master, rig.clock};

    ReaderRig() {
        rig.master.AddObserver(reader);
        controller.registers[4] = 1000;
        controller.registers[5] = 50;
        controller.registers[36] = 600;
        controller.registers[39] = 800;
        controller.registers[40] = 100;
        controller.registers[41] = 120;
        controller.registers[42] = 30;
    }
    void RunUntilEnded() {
        for (int tick = 0; tick < 40 && reader.Outcome() == ReadOutcome::Reading; ++tick) {
            controller.TickAndAnswer();
            reader.Tick();
        }
    }
};

TEST(ParameterReader, ReadsTheSevenParametersFromThePoll) {
    ReaderRig r;
    r.reader.Start();
    r.RunUntilEnded();
    ASSERT_EQ(r.reader.Outcome(), ReadOutcome::Done);
    EXPECT_EQ(r.reader.Values(),
              (lq::ParameterSet{{4, 1000}, {5, 50}, {36, 600}, {39, 800}, {40, 100}, {41, 120}, {42, 30}}));
}

TEST(ParameterReader, AReplyToAReadAskedBeforeTheStartIsNotTaken) {
    ReaderRig r;
    r.rig.Tick(); // the read of block 0 goes out before the set is asked for
    r.reader.Start();
    r.controller.Answer(); // its reply, with the limit as it was then
    r.controller.registers[4] = 900;
    r.RunUntilEnded();
    ASSERT_EQ(r.reader.Outcome(), ReadOutcome::Done);
    EXPECT_EQ(r.reader.Values().at(4), 900);
}

TEST(ParameterReader, ASilentControllerFailsTheReadOnceTheTimeAllowedHasPassed) {
    ReaderRig r;
    r.controller.silent = true;
    r.reader.Start();
    int ticks = 0;
    for (; ticks < 40 && r.reader.Outcome() == ReadOutcome::Reading; ++ticks) {
        r.controller.TickAndAnswer();
        r.reader.Tick();
    }
    EXPECT_EQ(r.reader.Outcome(), ReadOutcome::NoAnswer);
    EXPECT_EQ(ticks * MasterRig::kTick, lq::ParameterReader::kTimeAllowed);
    EXPECT_TRUE(r.reader.Values().size() < lq::Parameters().size());
}

TEST(ParameterReader, NothingSentWhileCommunicationIsUntickedSaysSo) {
    ReaderRig r;
    r.rig.view.ticked = false;
    r.reader.Start();
    r.RunUntilEnded();
    EXPECT_EQ(r.reader.Outcome(), ReadOutcome::NothingSent);
}

} // namespace
