#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "modbus/block_ages.h"
#include "modbus/link_events.h"
#include "trend/trend_ring.h"

namespace lq {

class RegisterImage;

// One plotted quantity: its register, shown in the panel's units.
struct TrendQuantity {
    int reg;
    std::string_view name; // the panel's caption, in Chinese: TrendSeries::ShownName gives it translated
    std::string_view unit;
};

struct TrendPoint {
    double timeMs;      // chart time: milliseconds since the epoch, see TrendSeries::ChartTime
    float value;        // in the panel's units
    bool startsSegment; // the line is broken between the point before and this one
};

// A confirmed operator write of a setting, for a marked line on the plot.
struct WriteMarker {
    double timeMs;
    int reg;
    double value;     // in the panel's units
    std::string text; // "SV 65.5", the caption in the interface's language when the write ended
};

// What the trend window draws, learnt from the master: each accepted read reply adds a point to every
// quantity of its block, read from the register image; each confirmed write of a setting adds a marker.
// Points and markers older than two hours before the newest are dropped, and no quantity holds more than
// `capacity` points (two hours at 2 Hz), so memory is fixed from the start.
//
// A quantity's line is broken where its own block missed kTurnsBeforeBreak turns of the poll running, where
// no block was answered for a whole round, where the poll stood still, or where the port was closed in
// between (see StartsNewLine).
class TrendSeries final : public ILinkObserver {
  public:
    static constexpr std::size_t kCapacity = 14400;
    static constexpr std::chrono::milliseconds kKeep = std::chrono::hours(2);
    // A lost reply costs its block a read (given up after 1.2 s, three ticks) and a damaged one a tick, and
    // the master tries a block three times before it moves on, so on a poor line a turn of the poll can take
    // far longer than 2 s: counted in turns, noise never breaks a line. A block that misses three turns
    // running is refused, silent or cut off (as BlockAges::kTurnsBeforeOld reasons).
    static constexpr int kTurnsBeforeBreak = BlockAges::kTurnsBeforeOld;
    // No request and no reply for this long (three turns of four 500 ms ticks) means the poll stood still:
    // "通讯" unticked or no valid address. A working poll is never silent for more than a read's 1.5 s.
    static constexpr std::chrono::milliseconds kPollStoppedAfter{6000};
    static constexpr std::size_t kQuantityCount = 8;
    static constexpr std::size_t kMarkerCapacity = 1024;

    explicit TrendSeries(const RegisterImage& registers, std::size_t capacity = kCapacity);

    static std::span<const TrendQuantity, kQuantityCount> Quantities();
    // The quantity's name in the interface's language, for the legend and the read-out.
    static std::string ShownName(std::size_t quantity);
    // The registers whose confirmed writes are marked: SV, AL1, P, I, D and the two output limits.
    static bool IsMarkedSetting(int reg);

    const TrendRing<TrendPoint>& Series(std::size_t quantity) const { return series_[quantity]; }
    const TrendRing<WriteMarker>& Markers() const { return markers_; }
    // Changes whenever a point or a marker is added, so a view redraws only when there is something new.
    std::uint64_t Revision() const { return revision_; }
    // The newest chart time of anything held.
    std::optional<double> Latest() const { return latest_; }
    // Chart time of an event: the wall clock at the first event, advanced by the monotonic clock from there,
    // so the time axis reads as clock time and never runs backwards when the clock is set.
    double ChartTime(const LinkTime& at);

    // What happened to a block between two of its accepted replies.
    struct SinceAccepted {
        int missedTurns = 0; // turns of the poll that asked for the block and moved on without it
        bool roundMissed =
            false; // every block missed its turn, one after the other: the controller is silent
        bool pollStopped = false; // no request went out nor reply came for longer than kPollStoppedAfter
        bool portClosed = false;  // however briefly: the line never joins values across a reconnection
    };
    // Whether the block's next reply starts a new stretch of its quantities' lines.
    static bool StartsNewLine(const SinceAccepted& since);

    void RequestSent(const SentRequest& request) override;
    void DeliveryJudged(const Delivery& delivery) override;
    void WriteEnded(const WriteEnd& end) override;
    // The port was closed or lost: the next reply of every block starts a new stretch.
    void PortClosed();

  private:
    // A request or an accepted reply at `at`: after a long enough silence, the poll had stood still.
    void LineActive(std::chrono::steady_clock::time_point at);
    void Add(std::size_t quantity, double timeMs, float value, bool newSegment);
    void DropOlderThan(double timeMs);

    const RegisterImage& registers_;
    std::vector<TrendRing<TrendPoint>> series_;
    TrendRing<WriteMarker> markers_;
    std::optional<LinkTime> origin_;
    std::array<SinceAccepted, kPollBlockStarts.size()> since_{};
    std::optional<std::uint8_t> turnOf_; // the block the reads go to at present
    bool turnAccepted_ = false;          // and whether one of them was accepted
    std::size_t turnsMissedRunning_ = 0; // by any block, since the last accepted reply
    std::optional<std::chrono::steady_clock::time_point> lastActive_; // the last request or accepted reply
    std::uint64_t revision_ = 0;
    std::optional<double> latest_;
};

} // namespace lq
