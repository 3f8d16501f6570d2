#include "sim/alarm_schedule.h"
#include "sim/sim_engine.h"
#include "sim/sim_options.h"
#include "tests/sim/fake_clock.h"

#include <gtest/gtest.h>

namespace lq::sim {
namespace {

using namespace std::chrono_literals;

TEST(AlarmSchedule, ReadsRaisesAndClearsInTimeOrder) {
    const auto schedule = ParseAlarmSchedule("6.5-1,2+1,2+8");
    ASSERT_TRUE(schedule);
    ASSERT_EQ(schedule->size(), 3u);
    EXPECT_EQ((*schedule)[0].at, 2000ms);
    EXPECT_EQ((*schedule)[0].bit, 1);
    EXPECT_TRUE((*schedule)[0].on);
    EXPECT_EQ((*schedule)[1].bit, 8) << "a tie keeps the order given";
    EXPECT_EQ((*schedule)[2].at, 6500ms);
    EXPECT_FALSE((*schedule)[2].on);
}

TEST(AlarmSchedule, RefusesWhatIsNotASchedule) {
    for (const char* bad : {"", "2", "+1", "2+9", "2*1", "-1+1", "2+1,", "x+1", "2+1x", "90000+1"})
        EXPECT_FALSE(ParseAlarmSchedule(bad)) << bad;
    EXPECT_FALSE(ParseSimOptions({"--alarm-schedule", "2+9"}).options);
    EXPECT_TRUE(ParseSimOptions({"--alarm-schedule", "2+0", "--no-echo", "36"}).options);
}

TEST(AlarmSchedule, TheEngineRaisesAndClearsEachBitAtItsTime) {
    FakeClock clock;
    EngineConfig config;
    config.alarmSchedule = *ParseAlarmSchedule("1+2,3-2");
    SimEngine engine(config, clock);
    const auto alarmsAt = [&](std::chrono::milliseconds t) {
        while (engine.NextDeadline() <= SimTime(1h + t)) {
            clock.Advance(engine.NextDeadline() - clock.Now());
            engine.Service();
        }
        return engine.Model().Get(kAlarmBits);
    };
    EXPECT_EQ(alarmsAt(999ms), 0);
    EXPECT_EQ(alarmsAt(1000ms), 1 << 2);
    EXPECT_EQ(alarmsAt(2999ms), 1 << 2);
    EXPECT_EQ(alarmsAt(3000ms), 0);
}

} // namespace
} // namespace lq::sim
