#include "sim/controller_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace lq::sim {
namespace {

constexpr int kStepsPerSecond = 1000 / ControllerModel::kStep.count();

class ModelTest : public ::testing::Test {
  protected:
    explicit ModelTest(std::uint64_t seed = 42) : noise(seed) {}

    void Run(int seconds) {
        for (int i = 0; i < seconds * kStepsPerSecond; ++i)
            model.Step(noise);
    }
    int Reg(int reg) const { return model.Get(reg); }
    void Set(int reg, int value) { model.Write(reg, static_cast<std::uint16_t>(value)); }

    ControllerModel model;
    RandomSource noise;
};

TEST_F(ModelTest, StopCommandZeroesOutputAndCurrentsAndRunCommandRampsBack) {
    ASSERT_TRUE(model.Running());
    ASSERT_GT(Reg(kOutputAmount), 0);

    model.Write(kRunState, 1);
    EXPECT_FALSE(model.Running());
    EXPECT_EQ(Reg(kOutputAmount), 0);
    Run(1);
    EXPECT_EQ(Reg(kOutputAmount), 0);
    EXPECT_EQ(Reg(kCurrentR) + Reg(kCurrentS) + Reg(kCurrentT), 0);

    model.Write(kRunState, 0);
    ASSERT_TRUE(model.Running());
    const int target = Reg(kInputLevel) / 10;
    int previous = 0;
    int stepsToTarget = 0;
    while (Reg(kOutputAmount) != target && stepsToTarget < 60 * kStepsPerSecond) {
        model.Step(noise);
        ++stepsToTarget;
        EXPECT_GE(Reg(kOutputAmount), previous) << "the ramp only climbs towards a higher target";
        previous = Reg(kOutputAmount);
    }
    EXPECT_EQ(Reg(kOutputAmount), target);
    EXPECT_GT(stepsToTarget, 1) << "the output ramps, it does not jump";
    EXPECT_GT(Reg(kCurrentR), 0);
}

TEST_F(ModelTest, RampIsGradualInBothDirections) {
    for (const int input : {10000, 0, 4200}) {
        model.Write(kInputLevel, static_cast<std::uint16_t>(input));
        int previous = Reg(kOutputAmount);
        model.Step(noise);
        const int firstStep = std::abs(Reg(kOutputAmount) - previous);
        EXPECT_GT(firstStep, 0);
        EXPECT_LT(firstStep, std::abs(input / 10 - previous)) << "input " << input;
        Run(30);
        EXPECT_EQ(Reg(kOutputAmount), input / 10);
    }
}

struct LimitCase {
    int input; // 0.01 %
    int max;   // 0.1 %
    int min;   // 0.1 %
};

class OutputLimitTest : public ModelTest, public ::testing::WithParamInterface<LimitCase> {
  protected:
    OutputLimitTest() : ModelTest(7) {}
};

TEST_P(OutputLimitTest, OutputSettlesOnInputClampedBetweenTheLimits) {
    const LimitCase c = GetParam();
    Set(kInputLevel, c.input);
    Set(kOutputMax, c.max);
    Set(kOutputMin, c.min);
    Run(30);

    const int high = std::min(c.max, 1000);
    const int low = std::min(c.min, high);
    const int expected = std::clamp((c.input + 5) / 10, low, high);
    EXPECT_EQ(Reg(kOutputAmount), expected);
    EXPECT_EQ(Reg(kOutputMax), c.max) << "limits are kept as written";
}

INSTANTIATE_TEST_SUITE_P(Limits, OutputLimitTest,
                         ::testing::Values(LimitCase{5000, 1000, 0}, LimitCase{9000, 800, 0},
                                           LimitCase{500, 1000, 200}, LimitCase{10000, 5000, 0},
                                           LimitCase{3000, 100, 400}, LimitCase{0, 0, 0},
                                           LimitCase{65535, 1000, 0}, LimitCase{1234, 1000, 0}));

// The panel's nine alarm lamps from left to right; lamp n shows bit n of register 13. Each condition the
// model has sets the bit of the lamp that names it.
enum Lamp { PWER, R, S, T, TEMP_MAX, TEMP_LOA, CUUR_MAX, CUUR_PLO, CUUR_SHO };
int LampBit(Lamp lamp) {
    return 1 << lamp;
}

TEST_F(ModelTest, PvAboveAl1LightsTempMax) {
    Run(60);
    ASSERT_EQ(Reg(kAlarmBits), 0);
    model.Write(kAlarm1, static_cast<std::uint16_t>(Reg(kProcessValue) - 50));
    model.Step(noise);
    EXPECT_EQ(Reg(kAlarmBits), LampBit(TEMP_MAX));
    model.Write(kAlarm1, static_cast<std::uint16_t>(Reg(kProcessValue) + 50));
    model.Step(noise);
    EXPECT_EQ(Reg(kAlarmBits), 0);
}

TEST_F(ModelTest, APhaseAboveTheCurrentLimitLightsCuurMaxAtFullOutputOnly) {
    Run(1);
    EXPECT_EQ(Reg(kAlarmBits), 0);
    model.Write(kInputLevel, 10000);
    Run(10);
    EXPECT_EQ(Reg(kAlarmBits), LampBit(CUUR_MAX));
    model.Write(kRunState, 1);
    model.Step(noise);
    EXPECT_EQ(Reg(kAlarmBits), 0);
}

struct FaultCase {
    const char* name;
    Lamp lamp;
    int deadPhase; // -1: every phase carries current
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class FaultLampTest : public ::testing::TestWithParam<FaultCase> {};

// Each --fault lights exactly its lamp from the first step on, running or not; a lost phase carries no
// current while the others do.
TEST_P(FaultLampTest, LightsItsLampOnly) {
    const FaultCase& c = GetParam();
    ModelFaults faults;
    ASSERT_TRUE(AddFault(c.name, faults));
    ControllerModel model(faults);
    RandomSource noise(3);
    EXPECT_EQ(model.Get(kAlarmBits), LampBit(c.lamp));
    for (int i = 0; i < 20; ++i)
        model.Step(noise);
    EXPECT_EQ(model.Get(kAlarmBits), LampBit(c.lamp));
    for (int phase = 0; phase < 3; ++phase) {
        if (phase == c.deadPhase)
            EXPECT_EQ(model.Get(kCurrentR + phase), 0) << "phase " << phase;
        else
            EXPECT_GT(model.Get(kCurrentR + phase), 0) << "phase " << phase;
    }
    model.Write(kRunState, 1);
    model.Step(noise);
    EXPECT_EQ(model.Get(kAlarmBits), LampBit(c.lamp)) << "stopped";
}

INSTANTIATE_TEST_SUITE_P(EveryFault, FaultLampTest,
                         ::testing::Values(FaultCase{"power", PWER, -1}, FaultCase{"phase-loss-r", R, 0},
                                           FaultCase{"phase-loss-s", S, 1}, FaultCase{"phase-loss-t", T, 2},
                                           FaultCase{"phase-loss", T, 2}, FaultCase{"temp-loa", TEMP_LOA, -1},
                                           FaultCase{"current-plo", CUUR_PLO, -1},
                                           FaultCase{"current-sho", CUUR_SHO, -1}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST(ModelFaultNames, UnknownNamesAreRefusedAndFaultsAddUp) {
    ModelFaults faults;
    EXPECT_FALSE(AddFault("fire", faults));
    EXPECT_FALSE(AddFault("", faults));
    EXPECT_FALSE(AddFault("Phase-Loss", faults));
    ASSERT_TRUE(AddFault("phase-loss-r", faults));
    ASSERT_TRUE(AddFault("current-sho", faults));
    ControllerModel model(faults);
    EXPECT_EQ(model.Get(kAlarmBits), LampBit(R) | LampBit(CUUR_SHO));
}

TEST(ModelAlarms, OnlyTheLampBitsAreEverSet) {
    ModelFaults faults;
    for (const char* name : {"power", "phase-loss", "temp-loa", "current-plo", "current-sho"})
        ASSERT_TRUE(AddFault(name, faults));
    ControllerModel model(faults);
    RandomSource noise(5);
    model.Write(kInputLevel, 10000);
    model.Write(kAlarm1, 0);
    for (int i = 0; i < 600; ++i) {
        model.Step(noise);
        ASSERT_EQ(model.Get(kAlarmBits) & ~0x1FF, 0);
    }
}

struct LoopCase {
    const char* name;
    int setValue;   // 0.1 'C
    int band;       // 0.1 'C
    int integral;   // s
    int derivative; // s
    int tolerance;  // 0.1 'C
};

class TemperatureLoopTest : public ModelTest, public ::testing::WithParamInterface<LoopCase> {
  protected:
    TemperatureLoopTest() : ModelTest(11) {}
};

TEST_P(TemperatureLoopTest, PvSettlesOnSv) {
    const LoopCase c = GetParam();
    Set(kSetValue, c.setValue);
    Set(kProportionalBand, c.band);
    Set(kIntegralTime, c.integral);
    Set(kDerivativeTime, c.derivative);
    Run(20 * 60);
    int worst = 0;
    for (int i = 0; i < 60 * kStepsPerSecond; ++i) {
        model.Step(noise);
        worst = std::max(worst, std::abs(Reg(kProcessValue) - c.setValue));
    }
    EXPECT_LE(worst, c.tolerance);
    EXPECT_LE(Reg(kHeaterOutput), 1000);
}

INSTANTIATE_TEST_SUITE_P(Tunings, TemperatureLoopTest,
                         ::testing::Values(LoopCase{"Defaults", 600, 100, 120, 30, 2},
                                           LoopCase{"HotterSv", 1200, 100, 120, 30, 2},
                                           LoopCase{"NoDerivative", 900, 100, 120, 0, 2},
                                           LoopCase{"WideBand", 700, 500, 60, 10, 2},
                                           LoopCase{"OnOffWhenBandIsZero", 600, 0, 120, 30, 10},
                                           LoopCase{"NoIntegralStillNearSv", 600, 100, 0, 30, 30}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModelTest, StoppedHeaterLetsPvFallTowardsAmbient) {
    Run(120);
    const int warm = Reg(kProcessValue);
    model.Write(kRunState, 1);
    Run(120);
    EXPECT_EQ(Reg(kHeaterOutput), 0);
    EXPECT_LT(Reg(kProcessValue), warm);
}

TEST_F(ModelTest, CounterAdvancesOncePerStepAndWraps) {
    const int start = Reg(kCounter);
    Run(3);
    EXPECT_EQ(Reg(kCounter), start + 3 * kStepsPerSecond);
    model.Write(kCounter, 0xFFFF);
    model.Step(noise);
    EXPECT_EQ(Reg(kCounter), 0);
}

TEST_F(ModelTest, LineVoltageIsNoisyButStaysNearNominal) {
    const int nominal = Reg(kLineVoltage);
    int lowest = nominal;
    int highest = nominal;
    for (int i = 0; i < 200; ++i) {
        model.Step(noise);
        lowest = std::min(lowest, Reg(kLineVoltage));
        highest = std::max(highest, Reg(kLineVoltage));
    }
    EXPECT_LT(lowest, highest);
    EXPECT_GE(lowest, nominal - 10);
    EXPECT_LE(highest, nominal + 10);
    EXPECT_LE(highest, Reg(kFullScale)) << "the voltage gauge never runs off its scale";
}

TEST(ModelDefaults, ReadAsALiveControllerOnThePanel) {
    const ControllerModel model;
    EXPECT_TRUE(model.Running());
    EXPECT_GT(model.Get(kOutputAmount), 0);
    EXPECT_GT(model.Get(kOutputMax), model.Get(kOutputMin));
    EXPECT_LE(model.Get(kInputLevel), 10000) << "inside the input knob's range";
    EXPECT_GT(model.Get(kFullScale), model.Get(kLineVoltage));
    EXPECT_GT(model.Get(kSetValue), model.Get(kProcessValue)) << "PV has somewhere to go";
    EXPECT_GT(model.Get(kAlarm1), model.Get(kSetValue)) << "no alarm at the set point";
    EXPECT_EQ(model.Get(kAlarmBits), 0);
}

} // namespace
} // namespace lq::sim
