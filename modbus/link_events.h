#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>

namespace lq {

// When something happened on the link: monotonic for differences, wall clock for people.
struct LinkTime {
    std::chrono::steady_clock::time_point steady;
    std::chrono::system_clock::time_point wall;
};

enum class RequestKind : std::uint8_t {
    Read,        // a poll of one block
    Write,       // the first send of an operator command
    WriteRepeat, // the same write again, its echo not yet seen
};

struct SentRequest {
    RequestKind kind;
    std::span<const std::uint8_t> frame; // valid during the call only
    std::uint8_t block;                  // Read: the poll index asked for
    std::uint8_t registerAddress;        // writes
    std::uint16_t value;                 // writes
    LinkTime at;
};

// What the master made of one delivery from the serial port.
enum class DeliveryVerdict : std::uint8_t {
    Accepted,       // a read reply, stored under `block`
    WriteConfirmed, // the pending write's own echo
    WriteRefused,   // an exception reply to the pending write
    ReadRefused,    // an exception reply to the read in flight
    BadCrc,         // a full-length reply whose check bytes do not match
    ShortOrSplit,   // shorter than a read reply and no frame of its own: a split or cut-off reply, or noise
    StrayEcho,      // the echo of a write that is no longer pending, such as a repeat's second echo
    Unasked,        // a well-formed reply or exception that no request in flight can have asked for
    FramesRunTogether, // longer than one frame: two transmissions run together, an answer to nothing
    BeforeRequest,     // its first byte came before the request in flight went on the line
    // A read reply after something of the same request's reply had come (stored, damaged or cut short): one
    // of them came late. After a stored one, that block may hold another block's values, which no master can
    // tell apart; the second is named, never stored.
    SecondReply,
};

struct Delivery {
    std::span<const std::uint8_t> bytes; // valid during the call only
    DeliveryVerdict verdict;
    std::uint8_t block;         // Accepted, ReadRefused: the poll index of the read it answered
    std::uint8_t exceptionCode; // WriteRefused, ReadRefused
    // From the send of the request it followed to the frame's end (the end-of-frame silence included).
    std::optional<std::chrono::microseconds> roundTrip;
    LinkTime at; // when the delivery was complete
    // From that send to the delivery's first byte: how long the controller took to answer. Empty where the
    // port does not say when the first byte came.
    std::optional<std::chrono::microseconds> answerTime{};
};

// A read that had no delivery by the poll tick after it was sent.
struct NoReply {
    std::uint8_t block;
    LinkTime at;
};

enum class WriteOutcome : std::uint8_t {
    Confirmed,   // its echo came back
    Refused,     // the controller answered with an exception
    Unconfirmed, // it was sent and expired without an echo
    Superseded,  // a new command took its place before its echo came
    NotSent,     // refused before sending: no valid address, "通讯" unticked or the port closed
};

struct WriteEnd {
    std::uint8_t registerAddress;
    std::uint16_t value;
    WriteOutcome outcome;
    std::uint8_t exceptionCode; // Refused
    int sends;                  // how often it went on the line
    LinkTime at;
};

// Told of every frame the master sends and every delivery it judges, on the thread that runs the master.
// Spans point into the master's own buffers, so an observer copies what it keeps.
class ILinkObserver {
  public:
    virtual ~ILinkObserver() = default;
    virtual void RequestSent(const SentRequest&) {}
    virtual void DeliveryJudged(const Delivery&) {}
    virtual void ReadUnanswered(const NoReply&) {}
    virtual void WriteEnded(const WriteEnd&) {}
};

} // namespace lq
