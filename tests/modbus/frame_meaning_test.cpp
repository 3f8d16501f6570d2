// What each frame and delivery means, from its bytes.
#include "modbus/frame_meaning.h"

#include <gtest/gtest.h>
#include <set>

#include "english_texts.h"
#include "master_fakes.h"
#include "modbus/request_frames.h"

namespace lq {
namespace {

using testing::Bytes;

Bytes Frame(const RequestFrame& frame) {
    return Bytes(frame.begin(), frame.end());
}

struct DeliveryCase {
    const char* name;
    Bytes bytes;
    DeliveryVerdict verdict;
    std::uint8_t block;
    std::uint8_t code;
    std::string meaning;
};

Bytes WithCrcByteChanged(Bytes reply) {
    reply[24] ^= 0xFF;
    return reply;
}

std::string Hex2(std::uint8_t b) {
    static const char* digits = "0123456789ABCDEF";
    return {digits[b >> 4], digits[b & 15]};
}

TEST(FrameMeaning, EveryKindOfRequestReadsFromItsBytes) {
    const Bytes read = Frame(BuildReadRequest(7, 35, 10));
    const Bytes write = Frame(BuildWriteRequest(3, 36, 0x02, 0xEE));
    const struct {
        RequestKind kind;
        const Bytes& bytes;
        std::uint8_t block;
        const char* meaning;
    } cases[] = {
        {RequestKind::Read, read, 3, "从站 7 读块 3（起始 35，数量 10）"},
        {RequestKind::Write, write, 0, "从站 3 写寄存器 36 = 750"},
        {RequestKind::WriteRepeat, write, 0, "从站 3 写寄存器 36 = 750（重发）"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DescribeRequest(SentRequest{c.kind, c.bytes, c.block, 0, 0, {}}), c.meaning);
}

TEST(FrameMeaning, EveryKindOfDeliveryReadsFromItsBytesAndVerdict) {
    const Bytes reply = testing::ReadReply(std::vector<std::uint16_t>(10, 0x1234));
    const Bytes damaged = WithCrcByteChanged(reply);
    const std::string crcText = "CRC 错误 (CRC error)：校验 " + Hex2(damaged[23]) + " " + Hex2(damaged[24]) +
                                "，应为 " + Hex2(reply[23]) + " " + Hex2(reply[24]);
    const DeliveryCase cases[] = {
        {"reply", reply, DeliveryVerdict::Accepted, 2, 0, "读块 2 的应答（寄存器 20–29）"},
        {"echo", testing::WriteEcho(36, 750), DeliveryVerdict::WriteConfirmed, 0, 0,
         "写寄存器 36 = 750 的回显"},
        {"write refused", testing::ExceptionReply(6, 3), DeliveryVerdict::WriteRefused, 0, 3,
         "写入被拒绝：异常 03 非法数据值 (Illegal Data Value)"},
        {"read refused", testing::ExceptionReply(3, 2), DeliveryVerdict::ReadRefused, 1, 2,
         "读块 1 被拒绝：异常 02 非法数据地址 (Illegal Data Address)"},
        {"bad crc", damaged, DeliveryVerdict::BadCrc, 0, 0, crcText},
        {"fragment", Bytes(reply.begin(), reply.begin() + 11), DeliveryVerdict::ShortOrSplit, 0, 0,
         "短帧或分段 (short or split frame)：11 字节"},
        {"stray echo", testing::WriteEcho(3, 1), DeliveryVerdict::StrayEcho, 0, 0,
         "过期的回显 (stray echo)：写寄存器 3 = 1"},
        {"unasked exception", testing::ExceptionReply(3, 4), DeliveryVerdict::Unasked, 0, 0,
         "未请求的应答 (unsolicited reply)：从站 1，异常 04 从站设备故障 (Slave Device Failure)"},
        {"unasked reply", reply, DeliveryVerdict::Unasked, 0, 0,
         "未请求的应答 (unsolicited reply)：从站 1，读应答，25 字节"},
    };
    for (const DeliveryCase& c : cases) {
        const Delivery delivery{c.bytes, c.verdict, c.block, c.code, std::nullopt, {}};
        EXPECT_EQ(DescribeDelivery(delivery), c.meaning) << c.name;
        EXPECT_EQ(IsFault(c.verdict),
                  c.verdict != DeliveryVerdict::Accepted && c.verdict != DeliveryVerdict::WriteConfirmed)
            << c.name;
    }
    EXPECT_EQ(DescribeNoReply(NoReply{3, {}}), "无应答 (no reply)：读块 3");
}

TEST(FrameMeaning, ExceptionCodesOneToElevenHaveTheirNames) {
    const char* const english[] = {"Illegal Function",
                                   "Illegal Data Address",
                                   "Illegal Data Value",
                                   "Slave Device Failure",
                                   "Acknowledge",
                                   "Slave Device Busy",
                                   "Negative Acknowledge",
                                   "Memory Parity Error",
                                   "undefined",
                                   "Gateway Path Unavailable",
                                   "Gateway Target Device Failed to Respond"};
    std::set<std::string> names;
    for (std::uint8_t code = 1; code <= 0x0B; ++code) {
        const std::string name = ExceptionName(code);
        EXPECT_NE(name.find(std::string("(") + english[code - 1] + ")"), std::string::npos) << name;
        // Chinese first: the name does not start with the English term.
        EXPECT_NE(name.front(), '(') << name;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 11u);
    for (std::uint8_t code : {0x00, 0x0C, 0xFF})
        EXPECT_EQ(ExceptionName(code), "未知代码 (unknown)");
}

// Translations that move the parts about, so that each part is seen to land where the English puts it.
constexpr testing::EnglishText kEnglish[] = {
    {"FrameMeaning", "从站 %1 读块 %2（起始 %3，数量 %4）",
     "Read block %2 of slave %1 (start %3, quantity %4)"},
    {"FrameMeaning", "从站 %1 写寄存器 %2 = %3（重发）", "Slave %1 write register %2 = %3 (repeat)"},
    {"FrameMeaning", "读块 %1 的应答（寄存器 %2–%3）", "Registers %2–%3: reply to read block %1"},
    {"FrameMeaning", "读块 %1 被拒绝：%2", "%2 refusing read block %1"},
    {"FrameMeaning", "异常 %1 %2", "%2 (exception %1)"},
    {"FrameMeaning", "非法数据地址 (Illegal Data Address)", "Illegal Data Address"},
    {"FrameMeaning", "从站设备故障 (Slave Device Failure)", "Slave Device Failure"},
    {"FrameMeaning", "CRC 错误 (CRC error)：校验 %1，应为 %2", "CRC error: expected %2, got %1"},
    {"FrameMeaning", "未请求的应答 (unsolicited reply)：从站 %1，%2", "Unsolicited reply: slave %1, %2"},
    {"FrameMeaning", "无应答 (no reply)：读块 %1", "No reply: read block %1"},
    // Another room's text of the same words: the frame's meaning must not take it.
    {"LinkStatisticsText", "写入被拒绝", "Writes refused"},
};

TEST(FrameMeaning, InEnglishEveryPartLandsWhereTheTranslationPutsIt) {
    const testing::EnglishTexts english(kEnglish);
    const Bytes read = Frame(BuildReadRequest(7, 35, 10));
    const Bytes write = Frame(BuildWriteRequest(3, 36, 0x02, 0xEE));
    const Bytes reply = testing::ReadReply(std::vector<std::uint16_t>(10, 0x1234));
    const Bytes damaged = WithCrcByteChanged(reply);
    const auto delivery = [](const Bytes& bytes, DeliveryVerdict verdict, std::uint8_t block,
                             std::uint8_t code) {
        return DescribeDelivery(Delivery{bytes, verdict, block, code, std::nullopt, {}});
    };
    const std::pair<std::string, std::string> cases[] = {
        {DescribeRequest(SentRequest{RequestKind::Read, read, 3, 0, 0, {}}),
         "Read block 3 of slave 7 (start 35, quantity 10)"},
        {DescribeRequest(SentRequest{RequestKind::WriteRepeat, write, 0, 0, 0, {}}),
         "Slave 3 write register 36 = 750 (repeat)"},
        {delivery(reply, DeliveryVerdict::Accepted, 2, 0), "Registers 20–29: reply to read block 2"},
        {delivery(testing::ExceptionReply(3, 2), DeliveryVerdict::ReadRefused, 1, 2),
         "Illegal Data Address (exception 02) refusing read block 1"},
        {delivery(damaged, DeliveryVerdict::BadCrc, 0, 0), "CRC error: expected " + Hex2(reply[23]) + " " +
                                                               Hex2(reply[24]) + ", got " +
                                                               Hex2(damaged[23]) + " " + Hex2(damaged[24])},
        {delivery(testing::ExceptionReply(3, 4), DeliveryVerdict::Unasked, 0, 0),
         "Unsolicited reply: slave 1, Slave Device Failure (exception 04)"},
        {DescribeNoReply(NoReply{4, {}}), "No reply: read block 4"},
        // A text with no English yet stays whole in Chinese, its numbers in place.
        {delivery(testing::ExceptionReply(6, 3), DeliveryVerdict::WriteRefused, 0, 3),
         "写入被拒绝：非法数据值 (Illegal Data Value) (exception 03)"},
    };
    for (const auto& [meaning, expected] : cases)
        EXPECT_EQ(meaning, expected);
}

} // namespace
} // namespace lq
