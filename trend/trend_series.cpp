#include "trend/trend_series.h"

#include <cstdio>

#include "modbus/display_text.h"
#include "modbus/register_image.h"
#include "modbus/register_labels.h"

namespace lq {

namespace {

constexpr std::array<TrendQuantity, TrendSeries::kQuantityCount> kQuantities{{
    {35, "PV", "'C"},
    {36, "SV", "'C"},
    {12, LQ_TR_NOOP("Registers", "温度"), "'C"},
    {11, LQ_TR_NOOP("Registers", "输出量"), "%"},
    {20, "R_C", "A"},
    {21, "S_C", "A"},
    {22, "T_C", "A"},
    {23, "Volt", "V"},
}};

bool InBlock(int reg, std::uint8_t block) {
    const int start = kPollBlockStarts[block];
    return reg >= start && reg < start + RegisterImage::KeptCount(block);
}

std::string MarkerText(int reg, double value) {
    const auto label = LabelOf(reg);
    const int decimals = !label ? 0 : label->divisor == 100 ? 2 : label->divisor == 10 ? 1 : 0;
    char number[32];
    std::snprintf(number, sizeof number, "%.*f", decimals, value);
    return (label ? ShownCaption(label->label) : "r" + std::to_string(reg)) + " " + number;
}

} // namespace

TrendSeries::TrendSeries(const RegisterImage& registers, std::size_t capacity)
    : registers_(registers), series_(kQuantityCount, TrendRing<TrendPoint>(capacity)),
      markers_(kMarkerCapacity) {}

std::span<const TrendQuantity, TrendSeries::kQuantityCount> TrendSeries::Quantities() {
    return kQuantities;
}

std::string TrendSeries::ShownName(std::size_t quantity) {
    return ShownCaption(kQuantities[quantity].name);
}

bool TrendSeries::IsMarkedSetting(int reg) {
    switch (reg) {
    case 4:
    case 5:
    case 36:
    case 39:
    case 40:
    case 41:
    case 42:
        return true;
    default:
        return false;
    }
}

double TrendSeries::ChartTime(const LinkTime& at) {
    using namespace std::chrono;
    if (!origin_) origin_ = at;
    const double wallMs = duration<double, std::milli>(origin_->wall.time_since_epoch()).count();
    return wallMs + duration<double, std::milli>(at.steady - origin_->steady).count();
}

bool TrendSeries::StartsNewLine(const SinceAccepted& since) {
    return since.missedTurns >= kTurnsBeforeBreak || since.roundMissed || since.pollStopped ||
           since.portClosed;
}

void TrendSeries::LineActive(std::chrono::steady_clock::time_point at) {
    if (lastActive_ && at - *lastActive_ > kPollStoppedAfter)
        for (SinceAccepted& since : since_)
            since.pollStopped = true;
    lastActive_ = at;
}

void TrendSeries::RequestSent(const SentRequest& request) {
    LineActive(request.at.steady);
    if (request.kind != RequestKind::Read || request.block >= since_.size() || request.block == turnOf_)
        return;
    // The poll moved on to another block: the one before had its turn.
    if (turnOf_ && !turnAccepted_) {
        ++since_[*turnOf_].missedTurns;
        if (++turnsMissedRunning_ >= since_.size())
            for (SinceAccepted& since : since_)
                since.roundMissed = true;
    }
    turnOf_ = request.block;
    turnAccepted_ = false;
}

void TrendSeries::DeliveryJudged(const Delivery& delivery) {
    if (delivery.verdict != DeliveryVerdict::Accepted || delivery.block >= kPollBlockStarts.size()) return;
    LineActive(delivery.at.steady);
    if (delivery.block == turnOf_) turnAccepted_ = true;
    turnsMissedRunning_ = 0;
    const bool newLine = StartsNewLine(since_[delivery.block]);
    since_[delivery.block] = {};
    const double at = ChartTime(delivery.at);
    for (std::size_t q = 0; q < kQuantityCount; ++q) {
        const int reg = kQuantities[q].reg;
        if (!InBlock(reg, delivery.block)) continue;
        Add(q, at, static_cast<float>(InPanelUnits(reg, registers_[reg])), newLine);
    }
}

void TrendSeries::PortClosed() {
    for (SinceAccepted& since : since_)
        since.portClosed = true;
}

void TrendSeries::WriteEnded(const WriteEnd& end) {
    if (end.outcome != WriteOutcome::Confirmed || !IsMarkedSetting(end.registerAddress)) return;
    const double at = ChartTime(end.at);
    const double value = InPanelUnits(end.registerAddress, end.value);
    markers_.PushBack({at, end.registerAddress, value, MarkerText(end.registerAddress, value)});
    if (!latest_ || at > *latest_) latest_ = at;
    DropOlderThan(*latest_ - static_cast<double>(kKeep.count()));
    ++revision_;
}

void TrendSeries::Add(std::size_t quantity, double timeMs, float value, bool newSegment) {
    TrendRing<TrendPoint>& series = series_[quantity];
    series.PushBack({timeMs, value, newSegment || series.Empty()});
    if (!latest_ || timeMs > *latest_) latest_ = timeMs;
    DropOlderThan(*latest_ - static_cast<double>(kKeep.count()));
    ++revision_;
}

void TrendSeries::DropOlderThan(double timeMs) {
    for (TrendRing<TrendPoint>& series : series_)
        while (!series.Empty() && series.Front().timeMs < timeMs)
            series.PopFront();
    while (!markers_.Empty() && markers_.Front().timeMs < timeMs)
        markers_.PopFront();
}

} // namespace lq
