#include "sim/controller_model.h"

#include <algorithm>
#include <cmath>

namespace lq::sim {

namespace {

constexpr double kStepSeconds = std::chrono::duration<double>(ControllerModel::kStep).count();
constexpr double kAmbient = 25.0;          // 'C
constexpr double kHeatSinkRise = 20.0;     // 'C above ambient at full output
constexpr double kHeatSinkSeconds = 20.0;  // time constant
constexpr double kHeaterRise = 150.0;      // 'C above ambient that the heater reaches at full power
constexpr double kProcessSeconds = 90.0;   // time constant of the heated process
constexpr double kDerivativeFilter = 10.0; // derivative time / filter time
constexpr int kRampPerStep = 10;           // 0.1 % units per step: 10 % per second
constexpr int kFullOutput = 1000;          // 100.0 %
constexpr int kRatedCurrent = 500;         // 50.0 A per phase at full output
constexpr int kOverCurrent = 480;          // 48.0 A
constexpr int kNominalVoltage = 3800;      // 380.0 V
constexpr int kPhaseImbalance[3] = {0, -3, 2};

struct NamedFault {
    std::string_view name;
    std::uint16_t alarm;
};

constexpr NamedFault kFaults[] = {{"power", kAlarmPower},
                                  {"phase-loss-r", kAlarmPhaseR},
                                  {"phase-loss-s", kAlarmPhaseS},
                                  {"phase-loss-t", kAlarmPhaseT},
                                  {"phase-loss", kAlarmPhaseT},
                                  {"temp-loa", kAlarmTemperatureLoa},
                                  {"current-plo", kAlarmCurrentPlo},
                                  {"current-sho", kAlarmCurrentSho}};

std::uint16_t ToRegister(double value) {
    return static_cast<std::uint16_t>(std::clamp(std::lround(value), 0L, 65535L));
}

} // namespace

bool AddFault(std::string_view name, ModelFaults& faults) {
    for (const NamedFault& fault : kFaults)
        if (fault.name == name) {
            faults.alarms |= fault.alarm;
            return true;
        }
    return false;
}

std::string_view FaultNames() {
    return "power, phase-loss-r, phase-loss-s, phase-loss (T), temp-loa, current-plo, current-sho";
}

ControllerModel::ControllerModel(ModelFaults faults)
    : faults_(faults), heatSink_(kAmbient), processTemp_(kAmbient), lastProcessTemp_(kAmbient) {
    regs_[kInputLevel] = 5000;
    regs_[kRunState] = 1;
    regs_[kOutputMax] = 1000;
    regs_[kOutputMin] = 0;
    regs_[kFullScale] = 4000;
    regs_[kSetValue] = 600;
    regs_[kAlarm1] = 800;
    regs_[kProportionalBand] = 100;
    regs_[kIntegralTime] = 120;
    regs_[kDerivativeTime] = 30;

    // Start settled, so that the panel shows a plant that has been running for a while.
    regs_[kOutputAmount] = 500;
    heatSink_ = kAmbient + kHeatSinkRise * regs_[kOutputAmount] / kFullOutput;
    regs_[kHeatSinkTemp] = ToRegister(heatSink_);
    regs_[kProcessValue] = ToRegister(processTemp_ * 10.0);
    PublishElectrical(nullptr);
    PublishAlarms();
}

ControllerModel::WriteResult ControllerModel::Write(int reg, std::uint16_t value) {
    if (reg == kRunState) {
        // 1 is the stop command and 0 the run command; the register itself reads 1 while running.
        if (value > 1) return WriteResult::IllegalValue;
        regs_[kRunState] = value == 1 ? 0 : 1;
        if (!Running()) {
            regs_[kOutputAmount] = 0;
            PublishElectrical(nullptr);
            PublishAlarms();
        }
        return WriteResult::Accepted;
    }
    regs_[static_cast<std::size_t>(reg)] = value;
    return WriteResult::Accepted;
}

void ControllerModel::ForceAlarm(int bit, bool on) {
    const auto mask = static_cast<std::uint16_t>(1U << bit);
    faults_.alarms = static_cast<std::uint16_t>(on ? faults_.alarms | mask : faults_.alarms & ~mask);
    PublishAlarms();
}

void ControllerModel::Step(RandomSource& noise) {
    StepOutput();
    StepHeatSink();
    StepTemperatureLoop();
    PublishElectrical(&noise);
    regs_[kCounter] = static_cast<std::uint16_t>(regs_[kCounter] + 1);
    PublishAlarms();
}

void ControllerModel::StepOutput() {
    if (!Running()) {
        regs_[kOutputAmount] = 0;
        return;
    }
    const int high = std::min<int>(regs_[kOutputMax], kFullOutput);
    const int low = std::min<int>(regs_[kOutputMin], high);
    const int target = std::clamp((regs_[kInputLevel] + 5) / 10, low, high);
    const int now = regs_[kOutputAmount];
    const int next =
        target > now ? std::min(target, now + kRampPerStep) : std::max(target, now - kRampPerStep);
    regs_[kOutputAmount] = static_cast<std::uint16_t>(next);
}

void ControllerModel::StepHeatSink() {
    const double target = kAmbient + kHeatSinkRise * regs_[kOutputAmount] / kFullOutput;
    heatSink_ += (target - heatSink_) * kStepSeconds / kHeatSinkSeconds;
    regs_[kHeatSinkTemp] = ToRegister(heatSink_);
}

void ControllerModel::StepTemperatureLoop() {
    const double setValue = regs_[kSetValue] / 10.0;
    const double band = regs_[kProportionalBand] / 10.0;
    const double integralTime = regs_[kIntegralTime];
    const double derivativeTime = regs_[kDerivativeTime];
    const double error = setValue - processTemp_;

    if (!Running()) {
        heater_ = 0.0;
        integral_ = 0.0;
        derivative_ = 0.0;
    } else if (band <= 0.0) {
        // A zero band is on/off control; dividing by it would poison the loop.
        heater_ = error > 0.0 ? 1.0 : 0.0;
        integral_ = 0.0;
        derivative_ = 0.0;
    } else {
        // Derivative on the measurement, low-pass filtered, so a new SV gives no kick and a step of
        // one sample cannot set the loop ringing.
        const double filterTime = derivativeTime / kDerivativeFilter;
        derivative_ = (filterTime * derivative_ - derivativeTime * (processTemp_ - lastProcessTemp_)) /
                      (filterTime + kStepSeconds);
        const double integralStep = integralTime > 0.0 ? error * kStepSeconds / integralTime : 0.0;
        if (integralTime <= 0.0) integral_ = 0.0;
        const double demand = (error + integral_ + integralStep + derivative_) / band;
        // Integrate only while the heater is not saturated in the direction the error pushes.
        if ((demand < 1.0 || integralStep < 0.0) && (demand > 0.0 || integralStep > 0.0))
            integral_ += integralStep;
        heater_ = std::clamp((error + integral_ + derivative_) / band, 0.0, 1.0);
    }
    lastProcessTemp_ = processTemp_;
    const double target = kAmbient + kHeaterRise * heater_;
    processTemp_ += (target - processTemp_) * kStepSeconds / kProcessSeconds;
    regs_[kProcessValue] = ToRegister(processTemp_ * 10.0);
    regs_[kHeaterOutput] = ToRegister(heater_ * kFullOutput);
}

void ControllerModel::PublishElectrical(RandomSource* noise) {
    const int output = regs_[kOutputAmount];
    for (int phase = 0; phase < 3; ++phase) {
        int current = 0;
        if (Running() && output > 0 && !faults_.PhaseLost(phase)) {
            current = kRatedCurrent * output / kFullOutput + kPhaseImbalance[phase];
            if (noise != nullptr) current += noise->Between(-2, 2);
        }
        regs_[static_cast<std::size_t>(kCurrentR) + static_cast<std::size_t>(phase)] =
            static_cast<std::uint16_t>(std::max(current, 0));
    }
    int voltage = kNominalVoltage;
    if (noise != nullptr) voltage += noise->Between(-8, 8);
    regs_[kLineVoltage] = static_cast<std::uint16_t>(voltage);
}

void ControllerModel::PublishAlarms() {
    std::uint16_t bits = faults_.alarms;
    if (regs_[kProcessValue] > regs_[kAlarm1]) bits |= kAlarmTemperatureMax;
    if (std::max({regs_[kCurrentR], regs_[kCurrentS], regs_[kCurrentT]}) > kOverCurrent)
        bits |= kAlarmCurrentMax;
    regs_[kAlarmBits] = bits;
}

} // namespace lq::sim
