#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "modbus/link_events.h"
#include "trend/trend_ring.h"

namespace lq {

class RegisterImage;

// One plotted quantity: its register, shown in the panel's units.
struct TrendQuantity {
    int reg;
    std::string_view name;
    std::string_view unit;
};

struct TrendPoint {
    double timeMs;      // chart time: milliseconds since the epoch, see TrendSeries::ChartTime
    float value;        // in the panel's units
    bool startsSegment; // the link was down between the point before and this one
};

// A confirmed operator write of a setting, for a marked line on the plot.
struct WriteMarker {
    double timeMs;
    int reg;
    double value;     // in the panel's units
    std::string text; // "SV 65.5"
};

// What the trend window draws, learnt from the master: each accepted read reply adds a point to every
// quantity of its block, read from the register image; each confirmed write of a setting adds a marker.
// Points and markers older than two hours before the newest are dropped, and no quantity holds more than
// `capacity` points (two hours at 2 Hz), so memory is fixed from the start.
//
// The link counts as down, and the plotted line is broken, when no reply at all was accepted for longer than
// kLinkDownAfter, six poll ticks. On a live line the longest wait between accepted replies is a block the
// master gives up after its three tries with a write sent in between: five ticks, 2.5 s; that keeps the line
// whole. A closed port, an unticked "通讯", a silent controller or a pulled cable break it.
class TrendSeries final : public ILinkObserver {
  public:
    static constexpr std::size_t kCapacity = 14400;
    static constexpr std::chrono::milliseconds kKeep = std::chrono::hours(2);
    static constexpr std::chrono::milliseconds kLinkDownAfter{3000};
    static constexpr std::size_t kQuantityCount = 8;
    static constexpr std::size_t kMarkerCapacity = 1024;

    explicit TrendSeries(const RegisterImage& registers, std::size_t capacity = kCapacity);

    static std::span<const TrendQuantity, kQuantityCount> Quantities();
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

    void DeliveryJudged(const Delivery& delivery) override;
    void WriteEnded(const WriteEnd& end) override;

  private:
    void Add(std::size_t quantity, double timeMs, float value, bool newSegment);
    void DropOlderThan(double timeMs);

    const RegisterImage& registers_;
    std::vector<TrendRing<TrendPoint>> series_;
    std::array<std::uint64_t, kQuantityCount> lastSpell_{};
    TrendRing<WriteMarker> markers_;
    std::optional<LinkTime> origin_;
    std::optional<std::chrono::steady_clock::time_point> lastAccepted_;
    std::uint64_t spell_ = 0; // counts the spells of a live link; a new one starts after the link was down
    std::uint64_t revision_ = 0;
    std::optional<double> latest_;
};

} // namespace lq
