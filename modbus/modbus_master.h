#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "modbus/link_events.h"
#include "modbus/link_statistics.h"
#include "modbus/master_ports.h"
#include "modbus/register_image.h"
#include "modbus/reply_shape.h"
#include "modbus/request_frames.h"
#include "modbus/slave_address.h"

namespace lq {

// The single write slot shared by every operator command; a new command overwrites it.
struct WriteRequest {
    int pending = 0; // 1 while a write waits for its echo or its expiry
    std::uint8_t registerAddress = 0;
    std::uint8_t valueHi = 0;
    std::uint8_t valueLo = 0;
    int sends = 0;        // how often this command went on the line
    bool waiting = false; // held back until the read in flight has had its delivery or the next poll tick
    RequestFrame frame{}; // as first sent; repeats send the same bytes, and only these bytes are its echo
    std::chrono::steady_clock::time_point firstSent{};
    std::chrono::steady_clock::time_point lastSent{};

    std::uint16_t Value() const { return static_cast<std::uint16_t>(valueHi << 8 | valueLo); }
};

// How long the master waits on the controller.
struct LinkTiming {
    // A read with no delivery is given up after this long. Longer than the slowest controller's answer (up to
    // about 1.1 s after the request at 4800 bit/s, the 100 ms end-of-frame silence included), so that no
    // reply can arrive once its read is given up and be taken for the next one.
    std::chrono::milliseconds responseTimeout{1200};
    // A write with no echo is sent again at a poll tick at least this long after its last send.
    std::chrono::milliseconds repeatAfter{250};
    int maxSends = 3;
    int triesPerBlock = 3; // requests of one block without an accepted reply before the poll moves on
};

// The Modbus RTU master of the panel: request frames, reply handling, register image, poll cycle and write
// ageing. Every handler runs on the GUI thread, one at a time, so nothing here is locked.
//
// At most one read is in flight: a reply is stored only under the block its read asked for, and a reply that
// comes after its read was given up is never stored at all. A write goes on the line only when no read reply
// is due, counts as done only when its own echo comes back, and is repeated at poll ticks until it does.
class ModbusMaster {
  public:
    static constexpr unsigned kPauseAfterRead = 5;   // ms
    static constexpr unsigned kPauseAfterWrite = 40; // ms
    static constexpr std::size_t kReceiveBufferSize = 255;
    static constexpr std::size_t kReadReplyLength = lq::kReadReplyLength;
    static constexpr std::uint8_t kLowestSlave = kLowestSlaveAddress;
    static constexpr std::uint8_t kHighestSlave = kHighestSlaveAddress;

    ModbusMaster(IFrameSender& sender, IPause& pause, IMasterView& view,
                 const IClock& clock = SystemClockRef(), LinkTiming timing = {});

    // Builds the read frame for the slave in the address box, hands it to the sender, pauses.
    void SendReadRequest(std::uint8_t startRegister, std::uint8_t quantity);
    // Builds the write frame from the write request, hands it to the sender, pauses.
    void SendWriteRequest();

    // One delivery from the serial component: the echo of the pending write, an exception to it, or else a
    // reply to the read in flight. firstByteAt, where the port tells it, is when the delivery's first byte
    // came: one that began before the request in flight went on the line cannot be its answer.
    void ReceiveDelivery(const std::uint8_t* Buffer, std::uint16_t BufferLength,
                         std::optional<std::chrono::steady_clock::time_point> firstByteAt = std::nullopt);

    // The poll tick: settles the read in flight, moves on, then sends the write or the next read.
    void Timer1Timer();
    // The write age step, once per refresh tick: an unechoed write expires on the 4th tick.
    void AgeWriteRequest();
    // The port was closed (by the operator or because the device went away): no reply can come, so the
    // link lamp goes dark at once instead of staying lit over values that are no longer read.
    void PortClosed();

    // An operator command: when the communication box is ticked and the address is one a controller can
    // have, fill the write request (pending, register, low 16 bits of value) and send it, or hold it back
    // until the read in flight has had its delivery. False when it was refused before sending (unticked, no
    // valid address, the port closed): it ends as not sent, and a command already pending keeps its place.
    bool IssueWrite(std::uint8_t registerAddress, std::int32_t value);

    // The slave address in the box: TextToInt of its text when that is 1..247, else none (0 would be the
    // broadcast every controller obeys, 256 would wrap round to it); with none, nothing is sent.
    std::optional<std::uint8_t> SlaveAddress() const;

    void AddObserver(ILinkObserver& observer);
    void RemoveObserver(ILinkObserver& observer);

    const RegisterImage& Registers() const { return registers_; }
    RegisterImage& Registers() { return registers_; }
    std::uint8_t PollIndex() const { return pollIndex_; }
    bool Answered() const { return answered_; }
    const WriteRequest& Write() const { return write_; }
    std::uint8_t WriteAge() const { return writeAge_; }
    bool LinkLampLit() const { return linkLampLit_; }
    bool ReadInFlight() const { return read_.has_value(); }
    int FailedTries() const { return failedTries_; }
    const LinkStatistics& Statistics() const { return statistics_; }
    LinkStatistics& Statistics() { return statistics_; }
    const LinkTiming& Timing() const { return timing_; }

  private:
    struct InFlightRead {
        std::uint8_t block = 0;
        std::chrono::steady_clock::time_point sentAt{};
        std::uint8_t slave = 0;
        // Something that may hold part of its reply came (a fragment, or an earlier delivery the reply ran
        // into): no later reply can be trusted to be its own, and the read ends at the next tick.
        bool hadDelivery = false;
        bool reportedUnanswered = false;
    };

    static const IClock& SystemClockRef();

    bool Send(const RequestFrame& frame, unsigned pauseMs);
    void SendRead();
    bool SendWrite(RequestKind kind);
    void NoteRequestStart(std::chrono::steady_clock::time_point at);
    bool BeganBefore(std::optional<std::chrono::steady_clock::time_point> start) const;
    bool BeganBeforeRequest() const;
    void SetAsideEarlyDelivery(std::span<const std::uint8_t> bytes, const ReplyShapeInfo& shape,
                               const LinkTime& now);
    void SetLinkLamp(bool lit);
    LinkTime Now() const;

    void SettleReadAtTick(const LinkTime& now);
    void MoveOn();
    void EndRead(bool accepted);
    void EndWrite(WriteOutcome outcome, std::uint8_t exceptionCode, const LinkTime& now);
    bool HandleWriteDelivery(std::span<const std::uint8_t> bytes, const ReplyShapeInfo& shape,
                             const LinkTime& now);
    void HandleReadDelivery(std::span<const std::uint8_t> bytes, const ReplyShapeInfo& shape,
                            const LinkTime& now);
    void StoreReply(std::span<const std::uint8_t> bytes, const LinkTime& now);
    Delivery Judged(std::span<const std::uint8_t> bytes, DeliveryVerdict verdict, std::uint8_t block,
                    std::uint8_t exceptionCode, std::optional<std::chrono::steady_clock::time_point> sent,
                    const LinkTime& now) const;

    template <class Event, class Method> void Notify(Method method, const Event& event) {
        (statistics_.*method)(event);
        for (ILinkObserver* observer : observers_)
            (observer->*method)(event);
    }

    IFrameSender& sender_;
    IPause& pause_;
    IMasterView& view_;
    const IClock& clock_;
    LinkTiming timing_;

    RegisterImage registers_;
    std::array<std::uint8_t, kReceiveBufferSize> receiveBuffer_{};
    std::uint8_t pollIndex_ = 0;
    bool answered_ = false;
    int failedTries_ = 0;
    std::optional<InFlightRead> read_;
    // The send that opened what is awaited now (a read, or a write's first send) and the one before it, which
    // a delivery that began before the newer one follows.
    std::optional<std::chrono::steady_clock::time_point> requestStart_;
    std::optional<std::chrono::steady_clock::time_point> previousRequestStart_;
    std::optional<std::chrono::steady_clock::time_point> firstByteAt_; // of the delivery being judged
    bool storedSinceRequest_ = false; // a reply was stored, and no request has gone out since
    WriteRequest write_;
    std::uint8_t writeAge_ = 0;
    bool linkLampLit_ = false;
    LinkStatistics statistics_;
    std::vector<ILinkObserver*> observers_;
};

} // namespace lq
