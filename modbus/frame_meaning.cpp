#include "modbus/frame_meaning.h"

#include <array>
#include <span>

#include "modbus/crc16.h"
#include "modbus/display_text.h"
#include "modbus/register_image.h"
#include "modbus/reply_shape.h"
#include "modbus/request_frames.h"
#include "modbus/text_helpers.h"

namespace lq {

namespace {

constexpr const char* kContext = "FrameMeaning";

std::string Number(unsigned value) {
    return std::to_string(value);
}

unsigned Word(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<unsigned>(bytes[at] << 8 | bytes[at + 1]);
}

std::string SizeText(std::size_t n) {
    return Number(static_cast<unsigned>(n));
}

// A whole pattern per kind of frame, so that a translation may order its parts as its language does.
std::string Said(const char* pattern, std::initializer_list<std::string_view> arguments) {
    return Substitute(Translated(kContext, pattern), arguments);
}

// The register and value of a write or its echo (8 bytes at least).
std::string Said(const char* pattern, std::span<const std::uint8_t> write) {
    return Said(pattern, {Number(Word(write, 2)), Number(Word(write, 4))});
}

std::string ExceptionText(std::uint8_t code) {
    return Said(LQ_TR_NOOP("FrameMeaning", "异常 %1 %2"),
                {HexText(std::span(&code, 1)), ExceptionName(code)});
}

// The check bytes as they came and as the first 23 bytes say they should be, both in line order.
std::string CrcMismatchText(std::span<const std::uint8_t> bytes) {
    const std::uint16_t crc = CalcCRC16(bytes.data(), static_cast<std::int32_t>(kReadReplyLength - 2));
    const std::array<std::uint8_t, 2> expected{static_cast<std::uint8_t>(crc >> 8),
                                               static_cast<std::uint8_t>(crc)};
    return Said(LQ_TR_NOOP("FrameMeaning", "CRC 错误 (CRC error)：校验 %1，应为 %2"),
                {HexText(bytes.subspan(kReadReplyLength - 2, 2)), HexText(expected)});
}

std::string BlockReplyText(const Delivery& delivery) {
    const unsigned start = delivery.block < kPollBlockStarts.size() ? kPollBlockStarts[delivery.block] : 0;
    // The master stores ten registers from every accepted reply, whatever its byte count says.
    const unsigned count = kPollQuantity;
    return Said(LQ_TR_NOOP("FrameMeaning", "读块 %1 的应答（寄存器 %2–%3）"),
                {Number(delivery.block), Number(start), Number(start + count - 1)});
}

// A delivery nobody asked for, said as precisely as its shape allows.
std::string UnaskedText(std::span<const std::uint8_t> bytes) {
    const ReplyShapeInfo shape = ClassifyReply(bytes, nullptr);
    if (shape.shape == ReplyShape::Exception)
        return Said(LQ_TR_NOOP("FrameMeaning", "未请求的应答 (unsolicited reply)：从站 %1，%2"),
                    {Number(shape.slave), ExceptionText(shape.exceptionCode)});
    return Said(LQ_TR_NOOP("FrameMeaning", "未请求的应答 (unsolicited reply)：从站 %1，读应答，%2 字节"),
                {Number(shape.slave), SizeText(bytes.size())});
}

} // namespace

std::string ExceptionName(std::uint8_t code) {
    static const std::array<const char*, 12> kNames{
        LQ_TR_NOOP("FrameMeaning", "未知代码 (unknown)"),
        LQ_TR_NOOP("FrameMeaning", "非法功能 (Illegal Function)"),
        LQ_TR_NOOP("FrameMeaning", "非法数据地址 (Illegal Data Address)"),
        LQ_TR_NOOP("FrameMeaning", "非法数据值 (Illegal Data Value)"),
        LQ_TR_NOOP("FrameMeaning", "从站设备故障 (Slave Device Failure)"),
        LQ_TR_NOOP("FrameMeaning", "确认 (Acknowledge)"),
        LQ_TR_NOOP("FrameMeaning", "从站设备忙 (Slave Device Busy)"),
        LQ_TR_NOOP("FrameMeaning", "否定确认 (Negative Acknowledge)"),
        LQ_TR_NOOP("FrameMeaning", "存储奇偶校验错误 (Memory Parity Error)"),
        LQ_TR_NOOP("FrameMeaning", "未定义的代码 (undefined)"),
        LQ_TR_NOOP("FrameMeaning", "网关路径不可用 (Gateway Path Unavailable)"),
        LQ_TR_NOOP("FrameMeaning", "网关目标设备无响应 (Gateway Target Device Failed to Respond)"),
    };
    return Translated(kContext, code < kNames.size() ? kNames[code] : kNames[0]);
}

std::string DescribeRequest(const SentRequest& request) {
    const std::span<const std::uint8_t> frame = request.frame;
    if (frame.size() < 8) return Said(LQ_TR_NOOP("FrameMeaning", "请求，%1 字节"), {SizeText(frame.size())});
    const std::string slave = Number(frame[0]);
    const std::string address = Number(Word(frame, 2));
    const std::string value = Number(Word(frame, 4));
    switch (request.kind) {
    case RequestKind::Read:
        return Said(LQ_TR_NOOP("FrameMeaning", "从站 %1 读块 %2（起始 %3，数量 %4）"),
                    {slave, Number(request.block), address, value});
    case RequestKind::Write:
        return Said(LQ_TR_NOOP("FrameMeaning", "从站 %1 写寄存器 %2 = %3"), {slave, address, value});
    case RequestKind::WriteRepeat:
        return Said(LQ_TR_NOOP("FrameMeaning", "从站 %1 写寄存器 %2 = %3（重发）"), {slave, address, value});
    }
    return {};
}

std::string DescribeDelivery(const Delivery& delivery) {
    const std::span<const std::uint8_t> bytes = delivery.bytes;
    const std::string size = SizeText(bytes.size());
    switch (delivery.verdict) {
    case DeliveryVerdict::Accepted:
        return BlockReplyText(delivery);
    case DeliveryVerdict::WriteConfirmed:
        return Said(LQ_TR_NOOP("FrameMeaning", "写寄存器 %1 = %2 的回显"), bytes);
    case DeliveryVerdict::WriteRefused:
        return Said(LQ_TR_NOOP("FrameMeaning", "写入被拒绝：%1"), {ExceptionText(delivery.exceptionCode)});
    case DeliveryVerdict::ReadRefused:
        return Said(LQ_TR_NOOP("FrameMeaning", "读块 %1 被拒绝：%2"),
                    {Number(delivery.block), ExceptionText(delivery.exceptionCode)});
    case DeliveryVerdict::BadCrc:
        return CrcMismatchText(bytes);
    case DeliveryVerdict::ShortOrSplit:
        return Said(LQ_TR_NOOP("FrameMeaning", "短帧或分段 (short or split frame)：%1 字节"), {size});
    case DeliveryVerdict::StrayEcho:
        return Said(LQ_TR_NOOP("FrameMeaning", "过期的回显 (stray echo)：写寄存器 %1 = %2"), bytes);
    case DeliveryVerdict::Unasked:
        return UnaskedText(bytes);
    case DeliveryVerdict::FramesRunTogether:
        return Said(LQ_TR_NOOP("FrameMeaning", "多帧粘连 (frames run together)：%1 字节"), {size});
    case DeliveryVerdict::BeforeRequest:
        return Said(LQ_TR_NOOP("FrameMeaning", "请求前到达 (arrived before its request)：%1 字节"), {size});
    case DeliveryVerdict::SecondReply:
        return LQ_TR("FrameMeaning", "同一请求的第二个应答 (second reply)：上一块可能来自迟到的应答");
    }
    return {};
}

std::string DescribeNoReply(const NoReply& noReply) {
    return Said(LQ_TR_NOOP("FrameMeaning", "无应答 (no reply)：读块 %1"), {Number(noReply.block)});
}

bool IsFault(DeliveryVerdict verdict) {
    return verdict != DeliveryVerdict::Accepted && verdict != DeliveryVerdict::WriteConfirmed;
}

} // namespace lq
