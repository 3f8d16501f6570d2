#include "monitor/link_statistics_text.h"

#include <cstdio>

#include "modbus/display_text.h"
#include "modbus/frame_meaning.h"
#include "monitor/traffic_line.h"

namespace lq {

namespace {

std::string Count(std::uint64_t value) {
    return std::to_string(value);
}

std::string Milliseconds(const std::optional<std::chrono::microseconds>& value) {
    return value ? RoundTripMilliseconds(value) + " ms" : "—";
}

std::string Share(const std::optional<double>& share) {
    if (!share) return "—";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %%", *share * 100.0);
    return text;
}

std::string SinceLastGood(const std::optional<LinkTime>& last, std::chrono::steady_clock::time_point now) {
    if (!last) return "—";
    const double seconds = std::chrono::duration<double>(now - last->steady).count();
    char text[48];
    std::snprintf(text, sizeof text, "%.1f", seconds < 0 ? 0.0 : seconds);
    return Substitute(LQ_TR("LinkStatisticsText", "%1 秒前"), {text});
}

StatisticsItem Fault(std::string label, std::uint64_t count) {
    return {std::move(label), Count(count), count != 0};
}

// A line that counts part of the line above it.
std::string Indented(const std::string& label) {
    return "　" + label;
}

} // namespace

std::vector<StatisticsItem> DescribeStatistics(const LinkStatistics& s,
                                               std::chrono::steady_clock::time_point now) {
    std::vector<StatisticsItem> items{
        {LQ_TR("LinkStatisticsText", "请求"), Count(s.RequestsSent())},
        {Indented(LQ_TR("LinkStatisticsText", "读请求")), Count(s.readsSent)},
        {Indented(LQ_TR("LinkStatisticsText", "写请求（含重发）")), Count(s.writesSent)},
        {LQ_TR("LinkStatisticsText", "正常应答"), Count(s.repliesAccepted)},
        Fault(LQ_TR("LinkStatisticsText", "CRC 错误 (CRC error)"), s.badCrc),
        Fault(LQ_TR("LinkStatisticsText", "短帧或分段 (short/split)"), s.shortOrSplit),
        Fault(LQ_TR("LinkStatisticsText", "无应答 (no reply)"), s.unanswered),
        Fault(LQ_TR("LinkStatisticsText", "多余或未请求的帧"), s.strayOrUnasked),
        Fault(LQ_TR("LinkStatisticsText", "多帧粘连 (frames run together)"), s.framesRunTogether),
        Fault(LQ_TR("LinkStatisticsText", "请求前到达 (before request)"), s.beforeRequest),
        Fault(LQ_TR("LinkStatisticsText", "一次请求两个应答 (second reply)"), s.secondReplies),
        Fault(LQ_TR("LinkStatisticsText", "异常应答 (exception)"), s.Exceptions()),
    };
    for (unsigned code = 0; code < s.exceptionsByCode.size(); ++code) {
        if (s.exceptionsByCode[code] == 0) continue;
        const auto byte = static_cast<std::uint8_t>(code);
        items.push_back(Fault(Indented(HexText(std::span(&byte, 1)) + " " + ExceptionName(byte)),
                              s.exceptionsByCode[code]));
    }
    items.insert(
        items.end(),
        {
            {LQ_TR("LinkStatisticsText", "写入已确认"), Count(s.writesConfirmed)},
            Fault(LQ_TR("LinkStatisticsText", "写入被拒绝"), s.writesRefused),
            Fault(LQ_TR("LinkStatisticsText", "写入未确认"), s.writesUnconfirmed),
            {LQ_TR("LinkStatisticsText", "写入被取代"), Count(s.writesSuperseded)},
            {LQ_TR("LinkStatisticsText", "写入未发送 (not sent)"), Count(s.writesNotSent)},
            {LQ_TR("LinkStatisticsText", "上次应答用时 (answer time)"), Milliseconds(s.lastAnswerTime)},
            {LQ_TR("LinkStatisticsText", "平均应答用时"), Milliseconds(s.MeanAnswerTime())},
            {LQ_TR("LinkStatisticsText", "正常应答率"), Share(s.GoodReplyShare())},
            {LQ_TR("LinkStatisticsText", "上次往返"), Milliseconds(s.lastRoundTrip)},
            {LQ_TR("LinkStatisticsText", "平均往返"), Milliseconds(s.MeanRoundTrip())},
            {LQ_TR("LinkStatisticsText", "上次应答"), SinceLastGood(s.lastAccepted, now)},
        });
    return items;
}

} // namespace lq
