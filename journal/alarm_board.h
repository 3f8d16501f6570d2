#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace lq {

// The four states an alarm passes through: an operator has to see each alarm, also one that has already
// gone, before it drops out of the list.
enum class AlarmState : std::uint8_t {
    Normal,
    ActiveUnacknowledged,
    ActiveAcknowledged,
    ReturnedUnacknowledged,
};

AlarmState AfterCondition(AlarmState state, bool conditionActive);
AlarmState AfterAcknowledge(AlarmState state);
bool IsActive(AlarmState state);
bool WaitsForAcknowledge(AlarmState state);

// The register whose bits 0..8 are the controller's alarms, one per lamp of the panel.
inline constexpr int kAlarmRegister = 13;
inline constexpr int kAlarmCount = 9;

// The lamps' own labels, bit 0 first.
std::string_view AlarmName(int bit);

struct Alarm {
    AlarmState state = AlarmState::Normal;
    std::chrono::system_clock::time_point since{}; // of the last change of state
};

// The nine alarms of register 13. A change is taken from a reply the master accepted, at that reply's time;
// while no reply comes nothing changes, whatever the link does.
class AlarmBoard {
  public:
    struct Change {
        int bit;
        AlarmState from;
        AlarmState to;
    };

    // The register's value in an accepted reply; the changes it makes, lowest bit first.
    std::vector<Change> Observe(std::uint16_t bits, std::chrono::system_clock::time_point at);
    // None when the alarm has nothing to acknowledge.
    std::optional<Change> Acknowledge(int bit, std::chrono::system_clock::time_point at);
    std::vector<Change> AcknowledgeAll(std::chrono::system_clock::time_point at);

    const Alarm& At(int bit) const { return alarms_[static_cast<std::size_t>(bit)]; }
    int Unacknowledged() const;

  private:
    std::array<Alarm, kAlarmCount> alarms_{};
};

} // namespace lq
