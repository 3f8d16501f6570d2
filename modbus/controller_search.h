#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "modbus/line_framing.h"
#include "modbus/request_frames.h"

namespace lq {

// The baud rates the panel offers.
inline constexpr std::array<std::uint32_t, 4> kSearchBauds{4800, 9600, 19200, 38400};

struct LineSetting {
    std::uint32_t baud = 0;
    Framing framing = Framing::N2;
    std::uint8_t slave = 1;

    bool operator==(const LineSetting&) const = default;
};

// Every rate × framing × address from 1 to lastSlave, the address changing fastest, so that the line needs
// new settings only when rate or framing changes.
std::vector<LineSetting> SearchPlan(std::uint8_t lastSlave);

// Every address from 1 to lastSlave at one rate and framing: behind a serial device server the line's
// settings are the server's, so only the address is left to find.
std::vector<LineSetting> AddressPlan(std::uint8_t lastSlave, std::uint32_t baud, Framing framing);

// How long one try waits at this rate: the request and a whole read reply on the line, the serial component's
// end-of-delivery silence and a margin for the controller's own turnaround.
std::chrono::milliseconds TryTimeout(std::uint32_t baud, std::chrono::milliseconds deliverySilence);

// Strictly a controller's answer to the search's read: exactly 25 bytes, the asked address, function 3, a
// byte count of 20 and a CRC that matches. A stray byte, line noise or an exception is none.
bool IsValidFind(std::span<const std::uint8_t> bytes, std::uint8_t slave);

// A setting where the controller gave a valid reply.
struct SearchFind {
    LineSetting setting;
    std::chrono::microseconds answerTime{}; // from its request going out to the reply's first byte
    // The reply came only after its try had ended: the controller is slower than the search waits, which a
    // wrong rate or parity does not explain.
    bool late = false;

    bool operator==(const SearchFind&) const = default;
};

// A setting where bytes came back but no valid reply: likely the right line at the wrong rate or parity.
struct DataButInvalid {
    LineSetting setting;
    std::vector<std::uint8_t> bytes; // what came back during the try, at most kKeptBytes of it
    std::size_t count = 0;           // how many bytes came back
};

// The search's progress through its plan: which setting is tried, what came back, and the results.
//
// What comes back is credited by what it is, not by the try whose window it falls in: a valid reply names its
// slave, so a slow controller's reply that arrives while a later address is tried still counts for the try
// that asked that slave at the line settings it was read at. Everything else is data of the try whose window
// its first byte came in, as a delivery that began before a request went out cannot be that request's answer.
class ControllerSearch {
  public:
    using SteadyTime = std::chrono::steady_clock::time_point;
    static constexpr std::size_t kKeptBytes = 32;

    explicit ControllerSearch(std::vector<LineSetting> plan);

    bool Finished() const { return next_ >= plan_.size(); }
    std::size_t TriesDone() const { return next_; }
    std::size_t TriesPlanned() const { return plan_.size(); }
    // The setting being tried; only while not finished.
    const LineSetting& Current() const { return plan_[next_]; }
    // The read of block 0 sent at the current setting.
    RequestFrame Request() const;
    // The current try's request went on the line at `at`; once per try, before anything it hears.
    void Sent(SteadyTime at);

    // One delivery, whose first byte came at firstByteAt. True when it completes a valid reply to the current
    // try, which ends the try at once.
    bool Received(std::span<const std::uint8_t> bytes, SteadyTime firstByteAt);
    // Ends the current try (its time is up, or it found) and keeps its result.
    void EndTry();

    const std::vector<SearchFind>& Found() const { return found_; }
    const std::vector<DataButInvalid>& Invalid() const { return invalid_; }

  private:
    static void KeepFirstBytes(std::vector<std::uint8_t>& kept, std::span<const std::uint8_t> bytes);
    std::optional<std::size_t> WindowOf(SteadyTime firstByteAt) const;
    std::optional<std::size_t> AskedBy(std::span<const std::uint8_t> bytes, std::size_t window) const;
    bool Credit(std::span<const std::uint8_t> bytes, SteadyTime firstByteAt, std::size_t window);
    void KeepInvalid(std::size_t tryIndex, std::span<const std::uint8_t> bytes, std::size_t count);

    std::vector<LineSetting> plan_;
    std::size_t next_ = 0;
    std::vector<SteadyTime> sentAt_;  // of every try sent so far, in order
    std::vector<bool> credited_;      // per try: a valid reply has been credited to it
    std::vector<std::uint8_t> heard_; // this try's bytes, up to a read reply and one more
    std::size_t heardCount_ = 0;
    SteadyTime heardFrom_{}; // the first byte of this try's bytes
    std::vector<SearchFind> found_;
    std::vector<DataButInvalid> invalid_;
    std::optional<std::size_t> lastInvalidTry_; // the try that invalid_.back() belongs to
};

} // namespace lq
