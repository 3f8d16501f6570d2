#pragma once

#include "sim/random_source.h"
#include "sim/registers.h"
#include "sim/sim_clock.h"

#include <cstdint>
#include <string_view>

namespace lq::sim {

// Alarms the model cannot reach by itself, forced on from the start (AlarmBit values). A lost phase
// also carries no current.
struct ModelFaults {
    std::uint16_t alarms = 0;

    bool PhaseLost(int phase) const { return (alarms & (kAlarmPhaseR << phase)) != 0; }
};

// Adds the fault named as on the command line ("phase-loss" is phase T); false for an unknown name.
bool AddFault(std::string_view name, ModelFaults& faults);
// The fault names, for the usage text.
std::string_view FaultNames();

// The process behind the registers: a three-phase power controller whose output ramps towards the
// input level between its limits, a heat sink warming with the output, phase currents and line voltage,
// and a temperature loop whose PV follows SV through a PID acting on a heater. Time advances only
// through Step(), one fixed step at a time, so tests run it without waiting.
class ControllerModel {
  public:
    static constexpr milliseconds kStep{100};

    enum class WriteResult { Accepted, IllegalValue };

    explicit ControllerModel(ModelFaults faults = {});

    const RegisterFile& Registers() const { return regs_; }
    std::uint16_t Get(int reg) const { return regs_[static_cast<std::size_t>(reg)]; }
    bool Running() const { return (regs_[kRunState] & 1u) != 0; }

    // reg must be inside 0 .. kRegisterCount - 1 (the protocol layer rejects the rest).
    WriteResult Write(int reg, std::uint16_t value);

    // Advances the process by kStep. Noise is drawn only from the given source.
    void Step(RandomSource& noise);

    // Holds an alarm bit set from now on, or lets it go (the model's own conditions still set theirs).
    void ForceAlarm(int bit, bool on);

  private:
    void StepOutput();
    void StepHeatSink();
    void StepTemperatureLoop();
    void PublishElectrical(RandomSource* noise);
    void PublishAlarms();

    ModelFaults faults_;
    RegisterFile regs_{};
    double heatSink_;     // 'C
    double processTemp_;  // 'C
    double heater_ = 0.0; // 0 .. 1
    double integral_ = 0.0;
    double derivative_ = 0.0;
    double lastProcessTemp_;
};

} // namespace lq::sim
