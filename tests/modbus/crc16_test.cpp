#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "modbus/crc16.h"

namespace lq {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The bit-wise CRC-16/MODBUS, written independently of the tables.
std::uint16_t BitwiseModbusCrc(const Bytes& data) {
    std::uint16_t crc = 0xFFFF;
    for (std::uint8_t b : data) {
        crc ^= b;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
    }
    return crc;
}

std::uint16_t ShiftedEightTimes(unsigned i) {
    std::uint16_t r = static_cast<std::uint16_t>(i);
    for (int bit = 0; bit < 8; ++bit)
        r = (r & 1) ? (r >> 1) ^ 0xA001 : r >> 1;
    return r;
}

std::uint16_t Calc(const Bytes& data) {
    return CalcCRC16(data.data(), static_cast<std::int32_t>(data.size()));
}

TEST(CrcTables, MatchTheGeneratingRule) {
    for (unsigned i = 0; i < 256; ++i) {
        EXPECT_EQ(CRCHiTable[i], ShiftedEightTimes(i) & 0xFF) << "hi " << i;
        EXPECT_EQ(CRCLoTable[i], ShiftedEightTimes(i) >> 8) << "lo " << i;
    }
}

struct WorkedExample {
    const char* what;
    Bytes content;
    std::uint16_t result;
};

class CrcWorkedExamples : public ::testing::TestWithParam<WorkedExample> {};

TEST_P(CrcWorkedExamples, GiveTheResultAndTheWireOrder) {
    const auto& ex = GetParam();
    EXPECT_EQ(Calc(ex.content), ex.result) << ex.what;
    // The result is the standard CRC with its bytes swapped.
    const std::uint16_t standard = BitwiseModbusCrc(ex.content);
    EXPECT_EQ(ex.result, static_cast<std::uint16_t>((standard << 8) | (standard >> 8)));
    Bytes frame = ex.content;
    frame.push_back(static_cast<std::uint8_t>(ex.result >> 8));
    frame.push_back(static_cast<std::uint8_t>(ex.result & 0xFF));
    EXPECT_EQ(BitwiseModbusCrc(frame), 0) << "a whole frame checks to 0";
}

Bytes RegistersOneToTen() {
    Bytes reply{0x01, 0x03, 0x14};
    for (int v = 1; v <= 10; ++v) {
        reply.push_back(0);
        reply.push_back(static_cast<std::uint8_t>(v));
    }
    return reply;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, CrcWorkedExamples,
    ::testing::Values(WorkedExample{"digits 1-9", {'1', '2', '3', '4', '5', '6', '7', '8', '9'}, 0x374B},
                      WorkedExample{"read 0", {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A}, 0xC5CD},
                      WorkedExample{"read 10", {0x01, 0x03, 0x00, 0x0A, 0x00, 0x0A}, 0xE5CF},
                      WorkedExample{"read 20", {0x01, 0x03, 0x00, 0x14, 0x00, 0x0A}, 0x85C9},
                      WorkedExample{"read 35", {0x01, 0x03, 0x00, 0x23, 0x00, 0x0A}, 0x3407},
                      WorkedExample{"write 3=1", {0x01, 0x06, 0x00, 0x03, 0x00, 0x01}, 0xB80A},
                      WorkedExample{"write 3=0", {0x01, 0x06, 0x00, 0x03, 0x00, 0x00}, 0x79CA},
                      WorkedExample{"read reply 1..10", RegistersOneToTen(), 0x8F16}));

TEST(CalcCRC16, EmptyOrNegativeCountGivesAllOnes) {
    const std::uint8_t byte = 0x55;
    for (std::int32_t count : {0, -1, -1000})
        EXPECT_EQ(CalcCRC16(&byte, count), 0xFFFF) << count;
}

TEST(CalcCRC16, AgreesWithBitwiseOnRandomBlocks) {
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        Bytes data(rng() % 300);
        for (auto& b : data)
            b = static_cast<std::uint8_t>(rng());
        const std::uint16_t standard = BitwiseModbusCrc(data);
        EXPECT_EQ(Calc(data), static_cast<std::uint16_t>((standard << 8) | (standard >> 8)));
    }
}

TEST(CalcCRC16, EverySingleBitFlipOfAReadReplyFailsTheCheck) {
    Bytes reply = RegistersOneToTen();
    const std::uint16_t crc = Calc(reply);
    reply.push_back(static_cast<std::uint8_t>(crc >> 8));
    reply.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    ASSERT_EQ(reply.size(), 25u);
    for (std::size_t byte = 0; byte < reply.size(); ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            Bytes damaged = reply;
            damaged[byte] ^= static_cast<std::uint8_t>(1 << bit);
            EXPECT_NE(CalcCRC16(damaged.data(), 23), damaged[23] * 256 + damaged[24]) << byte << ":" << bit;
        }
    }
}

} // namespace
} // namespace lq
