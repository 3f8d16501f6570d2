#pragma once

#include <chrono>
#include <functional>
#include <optional>

#include "modbus/master_ports.h"
#include "modbus/modbus_master.h"
#include "parameters/fresh_reads.h"
#include "parameters/parameter_table.h"

namespace lq {

enum class ReadOutcome : std::uint8_t {
    Reading,
    Done,
    NothingSent, // no read went on the line in the time allowed: the port closed or "通讯" unticked
    NoAnswer,    // reads went out, and no accepted reply to one of them came in the time allowed
};

// Reads the controller's parameter set from the master's poll: each value from a reply to a read sent after
// Start, taken while the link lamp is lit. Listens to the master (add it as an observer); Tick gives up once
// the time allowed has passed.
class ParameterReader final : public ILinkObserver {
  public:
    static constexpr std::chrono::seconds kTimeAllowed{10};

    ParameterReader(const ModbusMaster& master, const IClock& clock,
                    std::chrono::milliseconds allowed = kTimeAllowed);

    void Start();
    void Tick();
    ReadOutcome Outcome() const { return outcome_; }
    // The set read, when Done.
    const ParameterSet& Values() const { return values_; }
    // Called once when the outcome is no longer Reading.
    std::function<void()> onEnded;

    void RequestSent(const SentRequest& request) override;
    void DeliveryJudged(const Delivery& delivery) override;

  private:
    void End(ReadOutcome outcome);

    const ModbusMaster& master_;
    const IClock& clock_;
    std::chrono::milliseconds allowed_;
    std::chrono::steady_clock::time_point startedAt_{};
    FreshReads fresh_;
    bool anySent_ = false;
    ReadOutcome outcome_ = ReadOutcome::Reading;
    bool started_ = false;
    ParameterSet values_;
};

} // namespace lq
