#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "modbus/master_ports.h"
#include "modbus/modbus_master.h"
#include "parameters/fresh_reads.h"
#include "parameters/parameter_diff.h"

namespace lq {

// What became of one planned write.
enum class RestoreResult : std::uint8_t {
    Pending,         // not reached (yet)
    Written,         // echoed, and read back with the file's value
    NotSent,         // refused before sending: port closed, "通讯" unticked, no valid address
    Refused,         // the controller answered with an exception
    Unconfirmed,     // sent, repeated, and no echo came
    Superseded,      // another command took the write slot before the echo came
    ReadBackDiffers, // echoed, but the register then read back another value
    ReadBackMissing, // echoed, and no fresh read of its register came in the time allowed
};

struct RestoreStep {
    PlannedWrite write;
    RestoreResult result = RestoreResult::Pending;
    std::optional<std::uint16_t> readBack;
};

// Puts the differences back one write at a time, each through the operator's write path, and checks each by
// reading its register back. Nothing is written before Confirm: the list is shown first. A write that fails,
// or reads back another value, stops the sequence there; Cancel stops it once the write on the line has
// ended and been checked. Listens to the master (add it as an observer). Tick sends each write after the
// first, as an operator's click would come, never from inside the master's report of the reply that checked
// the one before; it also gives up a read-back that does not come.
class RestoreSequence final : public ILinkObserver {
  public:
    enum class State : std::uint8_t {
        AwaitingConfirmation,
        Writing,     // the write is on the line or waits for its turn
        ReadingBack, // echoed; waiting for a read of its register asked after the echo
        NextDue,     // checked; the next write goes at the next tick
        Done,
        Failed,
        Cancelled,
    };
    // An operator command: true when it went on the line or waits for its turn, false when refused.
    using Writer = std::function<bool(std::uint8_t reg, std::int32_t value)>;
    static constexpr std::chrono::seconds kReadBackAllowed{10};

    RestoreSequence(const std::vector<PlannedWrite>& writes, const RegisterImage& image, const IClock& clock,
                    Writer writer, std::chrono::milliseconds readBackAllowed = kReadBackAllowed);

    // The operator has seen the list and agrees: the first write goes.
    void Confirm();
    void Cancel();
    void Tick();

    State Current() const { return state_; }
    bool Finished() const {
        return state_ == State::Done || state_ == State::Failed || state_ == State::Cancelled;
    }
    const std::vector<RestoreStep>& Steps() const { return steps_; }
    // How many steps have their result.
    std::size_t Completed() const { return next_; }
    // Called after every change of state or step.
    std::function<void()> onChanged;

    void RequestSent(const SentRequest& request) override;
    void DeliveryJudged(const Delivery& delivery) override;
    void WriteEnded(const WriteEnd& end) override;

  private:
    void WriteNext();
    void Finish(RestoreResult result);
    void Changed();

    std::vector<RestoreStep> steps_;
    const RegisterImage& image_;
    const IClock& clock_;
    Writer writer_;
    std::chrono::milliseconds readBackAllowed_;
    std::chrono::steady_clock::time_point readBackFrom_{};
    FreshReads fresh_;
    State state_ = State::AwaitingConfirmation;
    std::size_t next_ = 0; // the step on the line, or the next one
    bool cancelAsked_ = false;
};

} // namespace lq
