#pragma once

#include "sim/fault_injector.h"
#include "sim/sim_clock.h"
#include "sim/slave_protocol.h"

#include <cstdint>
#include <fstream>
#include <istream>
#include <string>
#include <vector>

namespace lq::sim {

// A request frame the simulator heard, numbered from 1, and the reply it made (empty when it made none:
// the request was lost on the way, was another slave's or damaged, or was a broadcast).
struct HeardRequest {
    std::uint64_t number = 0;
    SimTime firstByte{};
    Frame request;
    Frame reply;

    bool operator==(const HeardRequest&) const = default;
};

// Bytes of one request's reply that went on the line together.
struct SentBytes {
    std::uint64_t request = 0;
    SimTime at{}; // just before they were written
    Sending how = Sending::OnTime;
    Frame bytes;

    bool operator==(const SentBytes&) const = default;
};

class ReplyLogSink {
  public:
    virtual ~ReplyLogSink() = default;
    virtual void Heard(const HeardRequest& heard) = 0;
    virtual void Sent(const SentBytes& sent) = 0;
};

// The simulator's own account of which reply answered which request and when it went out, so that a test
// can tell what each delivery its master took really was. One line per event, hex without spaces, times in
// microseconds of the monotonic clock (on Linux the steady clock of every process on the machine):
//   heard <n> <first byte µs> <request> <reply, or ->
//   sent <n> <µs> <on-time|late|copy> <bytes>
class ReplyLogFile final : public ReplyLogSink {
  public:
    // Throws std::runtime_error if the file cannot be created.
    explicit ReplyLogFile(const std::string& path);
    void Heard(const HeardRequest& heard) override;
    void Sent(const SentBytes& sent) override;

  private:
    std::ofstream out_;
};

struct ReplyLog {
    std::vector<HeardRequest> heard; // in the order heard: heard[n - 1] is request n
    std::vector<SentBytes> sent;     // in the order sent
};

// Complete lines only: the simulator may still be writing the last one.
ReplyLog ReadReplyLog(std::istream& in);

} // namespace lq::sim
