#pragma once

#include <array>
#include <cstdint>

namespace lq::sim {

// The controller answers for registers 0 to 63; anything past that is an illegal data address.
inline constexpr int kRegisterCount = 64;

using RegisterFile = std::array<std::uint16_t, kRegisterCount>;

// Register numbers of the simulated PW5 three-phase power controller (zero-based protocol addresses).
enum Register : int {
    kInputLevel = 0,    // 0.01 %
    kRunState = 3,      // bit 0: running
    kOutputMax = 4,     // 0.1 %
    kOutputMin = 5,     // 0.1 %
    kOutputAmount = 11, // 0.1 %
    kHeatSinkTemp = 12, // 1 'C
    kAlarmBits = 13,
    kFullScale = 15, // 0.1 V
    kCurrentR = 20,  // 0.1 A
    kCurrentS = 21,
    kCurrentT = 22,
    kLineVoltage = 23, // 0.1 V
    kCounter = 24,
    kProcessValue = 35,     // 0.1 'C
    kSetValue = 36,         // 0.1 'C
    kHeaterOutput = 37,     // 0.1 %
    kAlarm1 = 39,           // 0.1 'C
    kProportionalBand = 40, // 0.1 'C
    kIntegralTime = 41,     // s
    kDerivativeTime = 42,   // s
};

// Bits of kAlarmBits: bit n is the panel's alarm lamp n + 1, named here after its caption.
enum AlarmBit : std::uint16_t {
    kAlarmPower = 1u << 0,          // PWER
    kAlarmPhaseR = 1u << 1,         // R: phase R lost
    kAlarmPhaseS = 1u << 2,         // S: phase S lost
    kAlarmPhaseT = 1u << 3,         // T: phase T lost
    kAlarmTemperatureMax = 1u << 4, // TEMP MAX: PV above AL1
    kAlarmTemperatureLoa = 1u << 5, // TEMP LOA
    kAlarmCurrentMax = 1u << 6,     // CUUR MAX: a phase above the current limit
    kAlarmCurrentPlo = 1u << 7,     // CUUR PLO
    kAlarmCurrentSho = 1u << 8,     // CUUR SHO
};

} // namespace lq::sim
