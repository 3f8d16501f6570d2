#pragma once

#include <functional>
#include <optional>

#include "journal/alarm_board.h"
#include "journal/journal_entry.h"
#include "journal/journal_wording.h"
#include "modbus/link_events.h"
#include "modbus/register_image.h"

namespace lq {

// What the master's reports mean for the journal: the alarms of register 13 and the controller's run state
// from the replies it accepted, the link lost at the first failure after a reply and restored at the next
// reply, and every write through its write path when it ends, whoever issued it.
class LinkJournal final : public ILinkObserver {
  public:
    using Sink = std::function<void(JournalEntry)>;

    LinkJournal(const RegisterImage& registers, AlarmBoard& alarms, const JournalWording& wording, Sink sink);

    // No reply can come on a closed port: the link is down without a failure of its own.
    void PortClosed();

    void RequestSent(const SentRequest& request) override;
    void DeliveryJudged(const Delivery& delivery) override;
    void ReadUnanswered(const NoReply& noReply) override;
    void WriteEnded(const WriteEnd& end) override;

  private:
    void Accepted(const Delivery& delivery);
    void SeeAlarms(std::uint16_t bits, std::chrono::system_clock::time_point at);
    void SeeRunState(std::uint16_t value, std::chrono::system_clock::time_point at);
    void Failure(const std::string& outcome, const std::string& failure,
                 std::chrono::system_clock::time_point at);

    const RegisterImage& registers_;
    AlarmBoard& alarms_;
    const JournalWording& wording_;
    Sink sink_;
    bool linkUp_ = false;
    bool linkLost_ = false; // a loss was recorded and no reply has come since
    std::optional<bool> running_;
    bool runCommanded_ = false; // a command to register 3 went out since the run state was last read
    bool runWritePending_ = false;
    std::optional<std::int32_t> shownBefore_; // the written register as shown at the command's first send
};

} // namespace lq
