#include "journal/alarm_board.h"

#include <algorithm>

namespace lq {

AlarmState AfterCondition(AlarmState state, bool conditionActive) {
    switch (state) {
    case AlarmState::Normal:
    case AlarmState::ReturnedUnacknowledged:
        return conditionActive ? AlarmState::ActiveUnacknowledged : state;
    case AlarmState::ActiveUnacknowledged:
        return conditionActive ? state : AlarmState::ReturnedUnacknowledged;
    case AlarmState::ActiveAcknowledged:
        return conditionActive ? state : AlarmState::Normal;
    }
    return state;
}

AlarmState AfterAcknowledge(AlarmState state) {
    switch (state) {
    case AlarmState::ActiveUnacknowledged:
        return AlarmState::ActiveAcknowledged;
    case AlarmState::ReturnedUnacknowledged:
        return AlarmState::Normal;
    case AlarmState::Normal:
    case AlarmState::ActiveAcknowledged:
        break;
    }
    return state;
}

bool IsActive(AlarmState state) {
    return state == AlarmState::ActiveUnacknowledged || state == AlarmState::ActiveAcknowledged;
}

bool WaitsForAcknowledge(AlarmState state) {
    return state == AlarmState::ActiveUnacknowledged || state == AlarmState::ReturnedUnacknowledged;
}

std::string_view AlarmName(int bit) {
    static constexpr std::array<std::string_view, kAlarmCount> kNames{
        "PWER", "R", "S", "T", "TEMP MAX", "TEMP LOA", "CUUR MAX", "CUUR PLO", "CUUR SHO"};
    return bit >= 0 && bit < kAlarmCount ? kNames[static_cast<std::size_t>(bit)] : std::string_view{};
}

std::vector<AlarmBoard::Change> AlarmBoard::Observe(std::uint16_t bits,
                                                    std::chrono::system_clock::time_point at) {
    std::vector<Change> changes;
    for (int bit = 0; bit < kAlarmCount; ++bit) {
        Alarm& alarm = alarms_[static_cast<std::size_t>(bit)];
        const AlarmState next = AfterCondition(alarm.state, ((bits >> bit) & 1U) != 0);
        if (next == alarm.state) continue;
        changes.push_back({bit, alarm.state, next});
        alarm = {next, at};
    }
    return changes;
}

std::optional<AlarmBoard::Change> AlarmBoard::Acknowledge(int bit, std::chrono::system_clock::time_point at) {
    if (bit < 0 || bit >= kAlarmCount) return std::nullopt;
    Alarm& alarm = alarms_[static_cast<std::size_t>(bit)];
    const AlarmState next = AfterAcknowledge(alarm.state);
    if (next == alarm.state) return std::nullopt;
    const Change change{bit, alarm.state, next};
    alarm = {next, at};
    return change;
}

std::vector<AlarmBoard::Change> AlarmBoard::AcknowledgeAll(std::chrono::system_clock::time_point at) {
    std::vector<Change> changes;
    for (int bit = 0; bit < kAlarmCount; ++bit)
        if (const auto change = Acknowledge(bit, at)) changes.push_back(*change);
    return changes;
}

int AlarmBoard::Unacknowledged() const {
    return static_cast<int>(std::count_if(alarms_.begin(), alarms_.end(),
                                          [](const Alarm& a) { return WaitsForAcknowledge(a.state); }));
}

} // namespace lq
