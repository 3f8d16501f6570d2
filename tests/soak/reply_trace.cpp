#include "tests/soak/reply_trace.h"

#include "modbus/register_image.h"
#include "modbus/request_frames.h"

#include <algorithm>

namespace lq::soak {

namespace {

using sim::HeardRequest;
using sim::ReplyLog;
using sim::Sending;
using sim::SentBytes;

// The process's steady clock and the simulator's log share the monotonic clock; the master's own figures
// are rounded to whole microseconds.
constexpr auto kRounding = std::chrono::microseconds(2);

std::optional<std::uint8_t> BlockAsked(const sim::Frame& request) {
    const auto& starts = kPollBlockStarts;
    if (request.size() != 8 || request[1] != kReadHoldingRegisters || request[2] != 0) return std::nullopt;
    const auto found = std::find(starts.begin(), starts.end(), request[3]);
    if (found == starts.end() || request[4] != 0 || request[5] != kPollQuantity) return std::nullopt;
    return static_cast<std::uint8_t>(found - starts.begin());
}

// Bytes sent in one piece that make the delivery: all of it, or all but a stray 00 or FF after the frame,
// which the master lets pass as a converter's glitch and which may be the start of another transmission.
bool Makes(const sim::Frame& piece, const std::vector<std::uint8_t>& delivery) {
    if (piece == delivery) return true;
    const bool glitch = !delivery.empty() && (delivery.back() == 0x00 || delivery.back() == 0xFF);
    return glitch && piece.size() + 1 == delivery.size() &&
           std::equal(piece.begin(), piece.end(), delivery.begin());
}

// The last such piece that went out before the delivery began, or the first of a reply's pieces that went out
// back to back and so reached the master as one delivery (a split whose pause a busy simulator did not keep).
const SentBytes* SentAs(const AcceptedBlock& block, const ReplyLog& log) {
    const auto began = block.firstByte.value_or(block.complete) + kRounding;
    const auto end = std::upper_bound(log.sent.begin(), log.sent.end(), began,
                                      [](auto t, const SentBytes& sent) { return t < sent.at; });
    for (auto first = end; first != log.sent.begin();) {
        --first;
        sim::Frame joined;
        for (auto piece = first; piece != end; ++piece) {
            if (piece->request != first->request) continue;
            joined.insert(joined.end(), piece->bytes.begin(), piece->bytes.end());
            if (Makes(joined, block.bytes)) return &*first;
        }
    }
    return nullptr;
}

// The request the simulator heard for the read the block was stored under: the first heard after it was sent.
const HeardRequest* ReadInFlight(const AcceptedBlock& block, const ReplyLog& log) {
    const auto found =
        std::partition_point(log.heard.begin(), log.heard.end(),
                             [&](const HeardRequest& heard) { return heard.firstByte < block.readSent; });
    return found == log.heard.end() || BlockAsked(found->request) != block.pollIndex ? nullptr : &*found;
}

// Whether any of the reply the controller made to that read (whole, damaged or part of it) had gone out
// before the block's delivery began.
bool OwnReplyCame(const AcceptedBlock& block, const HeardRequest& read, const ReplyLog& log) {
    const auto sentBefore = [&](auto t) {
        return std::partition_point(log.sent.begin(), log.sent.end(),
                                    [&](const SentBytes& sent) { return sent.at < t; });
    };
    const auto from = sentBefore(read.firstByte);
    const auto to = sentBefore(block.firstByte.value_or(block.complete));
    return from < to &&
           std::any_of(from, to, [&](const SentBytes& sent) { return sent.request == read.number; });
}

long long MsAfter(std::chrono::steady_clock::time_point t, std::chrono::steady_clock::time_point from) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(t - from).count();
}

// Every piece the simulator sent from shortly before the read to the delivery, and what each answered.
std::string Account(const AcceptedBlock& block, const ReplyLog& log) {
    static constexpr const char* kHow[] = {"on time", "late", "copy"};
    const auto began = block.firstByte.value_or(block.complete);
    std::string text =
        "first byte " + (block.firstByte ? std::to_string(MsAfter(*block.firstByte, block.readSent)) : "?") +
        " ms after the read went out; sent around it (ms, request, block, how, bytes, whole if as made):";
    for (const SentBytes& sent : log.sent) {
        if (sent.at < block.readSent - std::chrono::milliseconds(100) || sent.at > began) continue;
        const bool known = sent.request >= 1 && sent.request <= log.heard.size();
        const auto source = known ? BlockAsked(log.heard[sent.request - 1].request) : std::nullopt;
        const bool asMade = known && sent.bytes == log.heard[sent.request - 1].reply;
        text += " [" + std::to_string(MsAfter(sent.at, block.readSent)) + " #" +
                std::to_string(sent.request) + " " + (source ? std::to_string(*source) : "-") + " " +
                kHow[static_cast<int>(sent.how)] + " " + std::to_string(sent.bytes.size()) +
                (asMade ? " whole" : "") + "]";
    }
    text += "; heard (ms, request, block, reply bytes):";
    for (const HeardRequest& heard : log.heard) {
        if (heard.firstByte < block.readSent - std::chrono::milliseconds(100) || heard.firstByte > began)
            continue;
        const auto asked = BlockAsked(heard.request);
        text += " [" + std::to_string(MsAfter(heard.firstByte, block.readSent)) + " #" +
                std::to_string(heard.number) + " " + (asked ? std::to_string(*asked) : "-") + " " +
                std::to_string(heard.reply.size()) + "]";
    }
    return text;
}

TracedBlock Trace(const AcceptedBlock& block, const ReplyLog& log) {
    const SentBytes* sent = SentAs(block, log);
    if (sent == nullptr || sent->request == 0 || sent->request > log.heard.size())
        return {Origin::Untraced, std::nullopt, false,
                std::to_string(block.bytes.size()) + " bytes; " + Account(block, log)};
    const auto source = BlockAsked(log.heard[sent->request - 1].request);
    const bool stale = sent->how != Sending::OnTime;
    TracedBlock traced{Origin::AnotherBlock, source, stale, {}};
    if (source == block.pollIndex) {
        traced.origin = stale ? Origin::RightBlockLate : Origin::RightBlock;
        return traced;
    }
    // A read the simulator never heard as one (lost, or run into the next request on a busy line) had no
    // reply of its own at all.
    const HeardRequest* read = ReadInFlight(block, log);
    if (stale && block.firstByte) {
        if (read == nullptr || !OwnReplyCame(block, *read, log)) {
            traced.origin = sent->how == Sending::Late ? Origin::HeldBackAlone : Origin::CopyAlone;
            return traced;
        }
        traced.origin = Origin::AfterOwnReply;
    }
    traced.account = Account(block, log);
    return traced;
}

} // namespace

std::vector<TracedBlock> TraceBlocks(const std::vector<AcceptedBlock>& blocks, const sim::ReplyLog& log) {
    std::vector<TracedBlock> traced;
    traced.reserve(blocks.size());
    for (const AcceptedBlock& block : blocks)
        traced.push_back(Trace(block, log));
    return traced;
}

} // namespace lq::soak
