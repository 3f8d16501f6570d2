#include "modbus_master.h"

#include <algorithm>
#include <cstring>

#include "modbus/slave_address.h"
#include "modbus/text_helpers.h"

namespace lq {

ModbusMaster::ModbusMaster(IFrameSender& sender, IPause& pause, IMasterView& view, const IClock& clock,
                           LinkTiming timing)
    : sender_(sender), pause_(pause), view_(view), clock_(clock), timing_(timing) {}

const IClock& ModbusMaster::SystemClockRef() {
    static const SystemClock clock;
    return clock;
}

LinkTime ModbusMaster::Now() const {
    return {clock_.Now(), clock_.WallNow()};
}

std::optional<std::uint8_t> ModbusMaster::SlaveAddress() const {
    return SlaveAddressFromText(view_.AddressText());
}

bool ModbusMaster::Send(const RequestFrame& frame, unsigned pauseMs) {
    const bool queued = sender_.SendData(frame.data(), static_cast<std::uint16_t>(frame.size()));
    pause_.Sleep(pauseMs);
    return queued;
}

void ModbusMaster::SendReadRequest(std::uint8_t startRegister, std::uint8_t quantity) {
    if (const auto slave = SlaveAddress())
        Send(BuildReadRequest(*slave, startRegister, quantity), kPauseAfterRead);
}

void ModbusMaster::SendWriteRequest() {
    SendWrite(RequestKind::Write);
}

void ModbusMaster::NoteRequestStart(std::chrono::steady_clock::time_point at) {
    storedSinceRequest_ = false;
    previousRequestStart_ = requestStart_;
    requestStart_ = at;
}

void ModbusMaster::SendRead() {
    const auto slave = SlaveAddress();
    if (!slave) return;
    const RequestFrame frame = BuildReadRequest(*slave, kPollBlockStarts[pollIndex_], kPollQuantity);
    const LinkTime now = Now();
    read_ = InFlightRead{pollIndex_, now.steady, *slave};
    if (!Send(frame, kPauseAfterRead)) {
        // Not on the line (the port is closed): nothing can answer it.
        read_.reset();
        SetLinkLamp(false);
        return;
    }
    NoteRequestStart(now.steady);
    Notify(&ILinkObserver::RequestSent, SentRequest{RequestKind::Read, frame, pollIndex_, 0, 0, now});
}

bool ModbusMaster::SendWrite(RequestKind kind) {
    if (kind == RequestKind::Write) {
        const auto slave = SlaveAddress();
        if (!slave) return false;
        write_.frame = BuildWriteRequest(*slave, write_.registerAddress, write_.valueHi, write_.valueLo);
    }
    write_.waiting = false;
    const LinkTime now = Now();
    write_.lastSent = now.steady;
    if (!Send(write_.frame, kPauseAfterWrite)) {
        // Nothing reached the line (the port is closed): a first send ends as not sent, a repeat ages out.
        if (kind == RequestKind::Write) EndWrite(WriteOutcome::NotSent, 0, now);
        return false;
    }
    if (kind == RequestKind::Write) {
        write_.firstSent = now.steady;
        NoteRequestStart(now.steady);
    }
    ++write_.sends;
    Notify(&ILinkObserver::RequestSent,
           SentRequest{kind, write_.frame, pollIndex_, write_.registerAddress, write_.Value(), now});
    return true;
}

void ModbusMaster::SetLinkLamp(bool lit) {
    linkLampLit_ = lit;
    view_.ShowLinkLamp(lit);
}

Delivery ModbusMaster::Judged(std::span<const std::uint8_t> bytes, DeliveryVerdict verdict,
                              std::uint8_t block, std::uint8_t exceptionCode,
                              std::optional<std::chrono::steady_clock::time_point> sent,
                              const LinkTime& now) const {
    using std::chrono::duration_cast;
    using std::chrono::microseconds;
    Delivery delivery{bytes, verdict, block, exceptionCode, std::nullopt, now, std::nullopt};
    if (!sent) return delivery;
    delivery.roundTrip = duration_cast<microseconds>(now.steady - *sent);
    if (firstByteAt_ && *firstByteAt_ >= *sent)
        delivery.answerTime = duration_cast<microseconds>(*firstByteAt_ - *sent);
    return delivery;
}

bool ModbusMaster::BeganBefore(std::optional<std::chrono::steady_clock::time_point> start) const {
    return firstByteAt_ && start && *firstByteAt_ < *start;
}

bool ModbusMaster::BeganBeforeRequest() const {
    const bool awaiting = read_.has_value() || (write_.pending != 0 && write_.sends > 0);
    return awaiting && BeganBefore(requestStart_);
}

void ModbusMaster::ReceiveDelivery(const std::uint8_t* Buffer, std::uint16_t BufferLength,
                                   std::optional<std::chrono::steady_clock::time_point> firstByteAt) {
    const std::size_t delivered = Buffer != nullptr ? BufferLength : 0;
    // Only the first bytes fit; the rest of an over-long delivery is dropped.
    const std::size_t kept = std::min(delivered, receiveBuffer_.size());
    if (kept > 0) std::memcpy(receiveBuffer_.data(), Buffer, kept);
    const std::span<const std::uint8_t> bytes(receiveBuffer_.data(), kept);
    const LinkTime now = Now();
    firstByteAt_ = firstByteAt;

    const bool awaitingEcho = write_.pending != 0 && write_.sends > 0;
    const ReplyShapeInfo shape = ClassifyReply(bytes, awaitingEcho ? &write_.frame : nullptr);
    if (!BeganBeforeRequest()) {
        if (!HandleWriteDelivery(bytes, shape, now)) HandleReadDelivery(bytes, shape, now);
    } else if (read_ && !BeganBefore(read_->sentAt)) {
        // Begun before a write that went out while the read waited, but after the read's own request: the
        // write's answer it cannot be, the read's it may be (or a part of it).
        HandleReadDelivery(bytes, shape, now);
    } else {
        SetAsideEarlyDelivery(bytes, shape, now);
    }
    receiveBuffer_.fill(0);
    firstByteAt_.reset();

    // The line has just fallen silent: a write held back for this read's reply goes now.
    const bool readStillDue = read_ && !read_->hadDelivery;
    if (write_.pending != 0 && write_.waiting && !readStillDue && view_.CommunicationTicked())
        SendWrite(RequestKind::Write);
}

void ModbusMaster::SetAsideEarlyDelivery(std::span<const std::uint8_t> bytes, const ReplyShapeInfo& shape,
                                         const LinkTime& now) {
    // Late bytes of something earlier (a repeated or held-back reply, a split reply's rest): they neither
    // answer nor end what is awaited now, and are timed from the request they followed.
    const std::uint8_t block = read_ ? read_->block : pollIndex_;
    Notify(&ILinkObserver::DeliveryJudged,
           Judged(bytes, DeliveryVerdict::BeforeRequest, block, 0, previousRequestStart_, now));
    // More than one frame, or a damaged full-length one: the read's own reply may have run into it.
    if (read_ && (shape.shape == ReplyShape::RunTogether || shape.shape == ReplyShape::BadCrc))
        read_->hadDelivery = true;
}

bool ModbusMaster::HandleWriteDelivery(std::span<const std::uint8_t> bytes, const ReplyShapeInfo& shape,
                                       const LinkTime& now) {
    if (write_.pending == 0 || write_.sends == 0) return false;
    // Timed from the last send that came before its first byte: a repeat's echo from the repeat.
    const auto sent = firstByteAt_ && *firstByteAt_ < write_.lastSent ? write_.firstSent : write_.lastSent;
    if (shape.shape == ReplyShape::EchoOf) {
        Notify(&ILinkObserver::DeliveryJudged,
               Judged(bytes, DeliveryVerdict::WriteConfirmed, 0, 0, sent, now));
        EndWrite(WriteOutcome::Confirmed, 0, now);
        return true;
    }
    const bool refusal = shape.shape == ReplyShape::Exception && shape.function == kWriteSingleRegister &&
                         shape.slave == write_.frame[0];
    if (!refusal) return false;
    Notify(&ILinkObserver::DeliveryJudged,
           Judged(bytes, DeliveryVerdict::WriteRefused, 0, shape.exceptionCode, sent, now));
    SetLinkLamp(false);
    EndWrite(WriteOutcome::Refused, shape.exceptionCode, now);
    return true;
}

void ModbusMaster::HandleReadDelivery(std::span<const std::uint8_t> bytes, const ReplyShapeInfo& shape,
                                      const LinkTime& now) {
    const auto judge = [&](DeliveryVerdict verdict, std::uint8_t code = 0) {
        const std::uint8_t block = read_ ? read_->block : pollIndex_;
        const auto sent = read_ ? std::optional(read_->sentAt) : std::nullopt;
        Notify(&ILinkObserver::DeliveryJudged, Judged(bytes, verdict, block, code, sent, now));
    };
    switch (shape.shape) {
    case ReplyShape::ReadReply:
        // With no read in flight it is the reply to one that was given up: nothing says which block it holds.
        if (read_ && !read_->hadDelivery) {
            StoreReply(bytes, now);
        } else if (read_ || storedSinceRequest_) {
            // Something of the read's own reply has already come (stored, or damaged or cut short), so this
            // one is late or a copy.
            SetLinkLamp(false);
            judge(DeliveryVerdict::SecondReply);
        } else {
            judge(DeliveryVerdict::Unasked);
        }
        return;
    case ReplyShape::Exception:
        if (read_ && shape.function == kReadHoldingRegisters && shape.slave == read_->slave) {
            SetLinkLamp(false);
            judge(DeliveryVerdict::ReadRefused, shape.exceptionCode);
            EndRead(false);
            // The controller has said it cannot: asking again this turn would not change that, and would keep
            // the other blocks waiting. The block is asked again on its next turn.
            failedTries_ = timing_.triesPerBlock;
        } else {
            judge(DeliveryVerdict::Unasked);
        }
        return;
    case ReplyShape::EchoOf:
    case ReplyShape::WriteEcho:
        judge(DeliveryVerdict::StrayEcho);
        return;
    case ReplyShape::OtherFrame:
        judge(DeliveryVerdict::Unasked);
        return;
    case ReplyShape::RunTogether:
    case ReplyShape::BadCrc:
        // Nothing in it can be trusted as the answer: the read ends as a failure.
        SetLinkLamp(false);
        judge(shape.shape == ReplyShape::BadCrc ? DeliveryVerdict::BadCrc
                                                : DeliveryVerdict::FramesRunTogether);
        if (read_) EndRead(false);
        return;
    case ReplyShape::Fragment:
        // The rest of a split reply may still come; the read ends at the next tick.
        SetLinkLamp(false);
        judge(DeliveryVerdict::ShortOrSplit);
        if (read_) read_->hadDelivery = true;
        return;
    }
}

void ModbusMaster::StoreReply(std::span<const std::uint8_t> bytes, const LinkTime& now) {
    const std::uint8_t block = read_->block;
    SetLinkLamp(true);
    registers_.StoreBlock(block, receiveBuffer_.data());
    if (block == 2) view_.SetMemo12Text(FirstChars(IntToText(registers_[24]), 7));
    Notify(&ILinkObserver::DeliveryJudged,
           Judged(bytes, DeliveryVerdict::Accepted, block, 0, read_->sentAt, now));
    EndRead(true);
    storedSinceRequest_ = true;
}

void ModbusMaster::EndRead(bool accepted) {
    if (accepted) {
        answered_ = true;
    } else {
        ++failedTries_;
    }
    read_.reset();
}

void ModbusMaster::EndWrite(WriteOutcome outcome, std::uint8_t exceptionCode, const LinkTime& now) {
    write_.pending = 0;
    write_.waiting = false;
    Notify(&ILinkObserver::WriteEnded,
           WriteEnd{write_.registerAddress, write_.Value(), outcome, exceptionCode, write_.sends, now});
}

void ModbusMaster::SettleReadAtTick(const LinkTime& now) {
    if (!read_) return;
    if (read_->hadDelivery) {
        EndRead(false);
        return;
    }
    if (!read_->reportedUnanswered) {
        read_->reportedUnanswered = true;
        SetLinkLamp(false);
        Notify(&ILinkObserver::ReadUnanswered, NoReply{read_->block, now});
    }
    if (now.steady - read_->sentAt >= timing_.responseTimeout) EndRead(false);
}

void ModbusMaster::MoveOn() {
    // A block that keeps failing (a refused one, a silent controller) must not keep the others from being
    // read.
    if (!answered_ && failedTries_ < timing_.triesPerBlock) return;
    ++pollIndex_;
    if (pollIndex_ > 3) pollIndex_ = 0;
    answered_ = false;
    failedTries_ = 0;
}

void ModbusMaster::Timer1Timer() {
    const LinkTime now = Now();
    SettleReadAtTick(now);
    MoveOn();
    if (!view_.CommunicationTicked() || !SlaveAddress()) {
        SetLinkLamp(false);
        return;
    }
    if (write_.pending != 0) {
        SetLinkLamp(false);
        if (write_.waiting) {
            SendWrite(RequestKind::Write);
        } else if (write_.sends > 0 && write_.sends < timing_.maxSends &&
                   now.steady - write_.lastSent >= timing_.repeatAfter) {
            SendWrite(RequestKind::WriteRepeat);
        }
        return;
    }
    // At most one read in flight: another one now could be answered after the first one's late reply.
    if (!read_) SendRead();
}

void ModbusMaster::AgeWriteRequest() {
    if (write_.pending == 0) {
        writeAge_ = 0;
        return;
    }
    ++writeAge_;
    if (writeAge_ <= 3) return;
    writeAge_ = 0;
    // Ended without its echo: the operator must see that the command may not have been carried out.
    SetLinkLamp(false);
    EndWrite(WriteOutcome::Unconfirmed, 0, Now());
}

void ModbusMaster::PortClosed() {
    SetLinkLamp(false);
    read_.reset();
}

bool ModbusMaster::IssueWrite(std::uint8_t registerAddress, std::int32_t value) {
    const auto word = static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFF);
    if (!view_.CommunicationTicked() || !SlaveAddress()) {
        // Nothing goes on the line, so nothing may look sent; a command already pending keeps its place.
        Notify(&ILinkObserver::WriteEnded,
               WriteEnd{registerAddress, word, WriteOutcome::NotSent, 0, 0, Now()});
        return false;
    }
    if (write_.pending != 0) EndWrite(WriteOutcome::Superseded, 0, Now());
    write_ = WriteRequest{};
    write_.pending = 1;
    write_.registerAddress = registerAddress;
    write_.valueHi = static_cast<std::uint8_t>(word >> 8);
    write_.valueLo = static_cast<std::uint8_t>(word & 0xFF);
    // On a two-wire line a write sent while the controller answers is destroyed, and a slow line would run it
    // into the read's own frame: it waits for the reply, or for the next tick if none comes.
    if (read_ && !read_->hadDelivery) {
        write_.waiting = true;
        return true;
    }
    return SendWrite(RequestKind::Write);
}

void ModbusMaster::AddObserver(ILinkObserver& observer) {
    if (std::find(observers_.begin(), observers_.end(), &observer) == observers_.end())
        observers_.push_back(&observer);
}

void ModbusMaster::RemoveObserver(ILinkObserver& observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer), observers_.end());
}

} // namespace lq
