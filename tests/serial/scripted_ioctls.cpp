#include "tests/serial/scripted_ioctls.h"

namespace lq::test {

void ScriptedIoctls::Wedge() {
    std::lock_guard lock(mutex_);
    wedgeArmed_ = true;
}

void ScriptedIoctls::Release() {
    std::lock_guard lock(mutex_);
    wedgeArmed_ = false;
    changed_.notify_all();
}

bool ScriptedIoctls::WaitUntilWedged(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return wedged_; });
}

bool ScriptedIoctls::WaitForCounterCalls(int calls, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return counterCalls_ >= calls; });
}

int ScriptedIoctls::GetCounters(int, serial_icounter_struct& counts) {
    std::unique_lock lock(mutex_);
    ++counterCalls_;
    changed_.notify_all();
    if (wedgeArmed_) {
        wedged_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return !wedgeArmed_; });
        wedged_ = false;
    }
    counts = {};
    return 0;
}

int ScriptedIoctls::GetModemLines(int, int& lines) {
    lines = 0;
    return 0;
}

int ScriptedIoctls::GetRs485(int, serial_rs485& settings) {
    std::lock_guard lock(mutex_);
    if (rs485Error != 0) return rs485Error;
    settings = rs485;
    return 0;
}

int ScriptedIoctls::SetRs485(int, serial_rs485& settings) {
    std::lock_guard lock(mutex_);
    if (rs485Error != 0) return rs485Error;
    rs485Written.push_back(settings);
    if (dropsRs485) settings.flags &= ~static_cast<__u32>(SER_RS485_ENABLED);
    rs485 = settings;
    return 0;
}

} // namespace lq::test
