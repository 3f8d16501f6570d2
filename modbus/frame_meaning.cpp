#include "modbus/frame_meaning.h"

#include <array>
#include <span>

#include "modbus/crc16.h"
#include "modbus/register_image.h"
#include "modbus/reply_shape.h"
#include "modbus/request_frames.h"
#include "modbus/text_helpers.h"

namespace lq {

namespace {

std::string Number(unsigned value) {
    return std::to_string(value);
}

unsigned Word(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<unsigned>(bytes[at] << 8 | bytes[at + 1]);
}

// "写寄存器 36 = 750" from the bytes of a write or its echo (8 bytes at least).
std::string WriteText(std::span<const std::uint8_t> frame) {
    return "写寄存器 " + Number(Word(frame, 2)) + " = " + Number(Word(frame, 4));
}

std::string ExceptionText(std::uint8_t code) {
    return "异常 " + HexText(std::span(&code, 1)) + " " + ExceptionName(code);
}

std::string ByteCount(std::size_t n) {
    return Number(static_cast<unsigned>(n)) + " 字节";
}

// The check bytes as they came and as the first 23 bytes say they should be, both in line order.
std::string CrcMismatchText(std::span<const std::uint8_t> bytes) {
    const std::uint16_t crc = CalcCRC16(bytes.data(), static_cast<std::int32_t>(kReadReplyLength - 2));
    const std::array<std::uint8_t, 2> expected{static_cast<std::uint8_t>(crc >> 8),
                                               static_cast<std::uint8_t>(crc)};
    return "CRC 错误 (CRC error)：校验 " + HexText(bytes.subspan(kReadReplyLength - 2, 2)) + "，应为 " +
           HexText(expected);
}

std::string BlockReplyText(const Delivery& delivery) {
    const unsigned start = delivery.block < kPollBlockStarts.size() ? kPollBlockStarts[delivery.block] : 0;
    // The master stores ten registers from every accepted reply, whatever its byte count says.
    const unsigned count = kPollQuantity;
    return "读块 " + Number(delivery.block) + " 的应答（寄存器 " + Number(start) + "–" +
           Number(start + count - 1) + "）";
}

// A delivery nobody asked for, said as precisely as its shape allows.
std::string UnaskedText(std::span<const std::uint8_t> bytes) {
    const ReplyShapeInfo shape = ClassifyReply(bytes, nullptr);
    std::string text = "未请求的应答 (unsolicited reply)：从站 " + Number(shape.slave);
    if (shape.shape == ReplyShape::Exception) return text + "，" + ExceptionText(shape.exceptionCode);
    return text + "，读应答，" + ByteCount(bytes.size());
}

} // namespace

std::string ExceptionName(std::uint8_t code) {
    static const std::array<const char*, 12> kNames{
        "未知代码 (unknown)",
        "非法功能 (Illegal Function)",
        "非法数据地址 (Illegal Data Address)",
        "非法数据值 (Illegal Data Value)",
        "从站设备故障 (Slave Device Failure)",
        "确认 (Acknowledge)",
        "从站设备忙 (Slave Device Busy)",
        "否定确认 (Negative Acknowledge)",
        "存储奇偶校验错误 (Memory Parity Error)",
        "未定义的代码 (undefined)",
        "网关路径不可用 (Gateway Path Unavailable)",
        "网关目标设备无响应 (Gateway Target Device Failed to Respond)",
    };
    return code < kNames.size() ? kNames[code] : kNames[0];
}

std::string DescribeRequest(const SentRequest& request) {
    const std::span<const std::uint8_t> frame = request.frame;
    if (frame.size() < 8) return "请求，" + ByteCount(frame.size());
    const std::string slave = "从站 " + Number(frame[0]) + " ";
    switch (request.kind) {
    case RequestKind::Read:
        return slave + "读块 " + Number(request.block) + "（起始 " + Number(Word(frame, 2)) + "，数量 " +
               Number(Word(frame, 4)) + "）";
    case RequestKind::Write:
        return slave + WriteText(frame);
    case RequestKind::WriteRepeat:
        return slave + WriteText(frame) + "（重发）";
    }
    return {};
}

std::string DescribeDelivery(const Delivery& delivery) {
    const std::span<const std::uint8_t> bytes = delivery.bytes;
    switch (delivery.verdict) {
    case DeliveryVerdict::Accepted:
        return BlockReplyText(delivery);
    case DeliveryVerdict::WriteConfirmed:
        return WriteText(bytes) + " 的回显";
    case DeliveryVerdict::WriteRefused:
        return "写入被拒绝：" + ExceptionText(delivery.exceptionCode);
    case DeliveryVerdict::ReadRefused:
        return "读块 " + Number(delivery.block) + " 被拒绝：" + ExceptionText(delivery.exceptionCode);
    case DeliveryVerdict::BadCrc:
        return CrcMismatchText(bytes);
    case DeliveryVerdict::ShortOrSplit:
        return "短帧或分段 (short or split frame)：" + ByteCount(bytes.size());
    case DeliveryVerdict::StrayEcho:
        return "过期的回显 (stray echo)：" + WriteText(bytes);
    case DeliveryVerdict::Unasked:
        return UnaskedText(bytes);
    case DeliveryVerdict::FramesRunTogether:
        return "多帧粘连 (frames run together)：" + ByteCount(bytes.size());
    case DeliveryVerdict::BeforeRequest:
        return "请求前到达 (arrived before its request)：" + ByteCount(bytes.size());
    case DeliveryVerdict::SecondReply:
        return "同一请求的第二个应答 (second reply)：上一块可能来自迟到的应答";
    }
    return {};
}

std::string DescribeNoReply(const NoReply& noReply) {
    return "无应答 (no reply)：读块 " + Number(noReply.block);
}

bool IsFault(DeliveryVerdict verdict) {
    return verdict != DeliveryVerdict::Accepted && verdict != DeliveryVerdict::WriteConfirmed;
}

} // namespace lq
