#include "journal/link_journal.h"

#include <cstdio>

#include "journal/journal_events.h"
#include "modbus/display_text.h"

namespace lq {

namespace {

constexpr int kRunStateRegister = 3;

// A register's value in an accepted reply of the block that holds it.
std::optional<std::uint16_t> RegisterIn(const Delivery& delivery, int reg) {
    if (delivery.block >= kPollBlockStarts.size()) return std::nullopt;
    const int offset = reg - kPollBlockStarts[delivery.block];
    if (offset < 0 || offset >= kPollQuantity) return std::nullopt;
    const std::size_t at = 3 + 2 * static_cast<std::size_t>(offset);
    if (delivery.bytes.size() < at + 2) return std::nullopt;
    return static_cast<std::uint16_t>(delivery.bytes[at] << 8 | delivery.bytes[at + 1]);
}

std::string Hex2(std::uint8_t code) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X", code);
    return text;
}

} // namespace

LinkJournal::LinkJournal(const RegisterImage& registers, AlarmBoard& alarms, const JournalWording& wording,
                         Sink sink)
    : registers_(registers), alarms_(alarms), wording_(wording), sink_(std::move(sink)) {}

void LinkJournal::PortClosed() {
    linkUp_ = false;
}

void LinkJournal::RequestSent(const SentRequest& request) {
    if (request.kind == RequestKind::Read) return;
    if (request.kind == RequestKind::Write) shownBefore_ = registers_[request.registerAddress];
    if (request.registerAddress == kRunStateRegister) {
        runCommanded_ = true;
        runWritePending_ = true;
    }
}

void LinkJournal::DeliveryJudged(const Delivery& delivery) {
    switch (delivery.verdict) {
    case DeliveryVerdict::Accepted:
        Accepted(delivery);
        return;
    case DeliveryVerdict::BadCrc:
    case DeliveryVerdict::FramesRunTogether:
        Failure("crc", wording_.badCrc, delivery.at.wall);
        return;
    case DeliveryVerdict::ReadRefused:
        Failure("exception-" + Hex2(delivery.exceptionCode),
                Substitute(wording_.exception, {Hex2(delivery.exceptionCode)}), delivery.at.wall);
        return;
    case DeliveryVerdict::ShortOrSplit:
        Failure("short-reply", wording_.shortReply, delivery.at.wall);
        return;
    default:
        return;
    }
}

void LinkJournal::ReadUnanswered(const NoReply& noReply) {
    Failure("no-reply", wording_.noReply, noReply.at.wall);
}

void LinkJournal::WriteEnded(const WriteEnd& end) {
    const std::int32_t before = shownBefore_.value_or(registers_[end.registerAddress]);
    shownBefore_.reset();
    if (end.registerAddress == kRunStateRegister) runWritePending_ = false;
    sink_(WriteEntry(wording_, end, before));
}

void LinkJournal::Accepted(const Delivery& delivery) {
    const auto wall = delivery.at.wall;
    if (linkLost_) sink_(LinkRestoredEntry(wording_, wall));
    linkUp_ = true;
    linkLost_ = false;
    if (const auto bits = RegisterIn(delivery, kAlarmRegister)) SeeAlarms(*bits, wall);
    if (const auto run = RegisterIn(delivery, kRunStateRegister)) SeeRunState(*run, wall);
}

void LinkJournal::SeeAlarms(std::uint16_t bits, std::chrono::system_clock::time_point at) {
    for (const AlarmBoard::Change& change : alarms_.Observe(bits, at))
        sink_(AlarmEntry(wording_, change, bits, at));
}

void LinkJournal::SeeRunState(std::uint16_t value, std::chrono::system_clock::time_point at) {
    const bool running = (value & 1U) != 0;
    if (running_ && *running_ != running && !runCommanded_)
        sink_(RunStateEntry(wording_, running, value, at));
    running_ = running;
    // A command still waiting for its echo may yet show in a later reply.
    if (!runWritePending_) runCommanded_ = false;
}

void LinkJournal::Failure(const std::string& outcome, const std::string& failure,
                          std::chrono::system_clock::time_point at) {
    if (!linkUp_) return;
    linkUp_ = false;
    linkLost_ = true;
    sink_(LinkLostEntry(wording_, outcome, failure, at));
}

} // namespace lq
