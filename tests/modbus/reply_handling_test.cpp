#include <gtest/gtest.h>

#include <map>

#include "master_fakes.h"
#include "modbus/crc16.h"

namespace lq::testing {
namespace {

const std::vector<std::uint16_t> kOneToTen{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

std::map<int, std::int32_t> NonZeroRegisters(const RegisterImage& image) {
    std::map<int, std::int32_t> out;
    for (int reg = 0; reg <= RegisterImage::kHighestRegister; ++reg)
        if (image[reg] != 0) out[reg] = image[reg];
    return out;
}

struct BlockCase {
    std::uint8_t pollIndex;
    std::map<int, std::int32_t> stored;
};

class ReplyAtPollIndex : public ::testing::TestWithParam<BlockCase> {};

TEST_P(ReplyAtPollIndex, StoresTheKeptRegistersOfThatBlock) {
    MasterRig rig;
    rig.PollAt(GetParam().pollIndex);
    rig.Deliver(ReadReply(kOneToTen));
    EXPECT_EQ(NonZeroRegisters(rig.master.Registers()), GetParam().stored);
    EXPECT_TRUE(rig.master.LinkLampLit());
    EXPECT_TRUE(rig.view.lampShownLit);
    EXPECT_TRUE(rig.master.Answered());
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, ReplyAtPollIndex,
    ::testing::Values(
        BlockCase{0, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}, {7, 8}, {8, 9}, {9, 10}}},
        BlockCase{1, {{10, 1}, {11, 2}, {12, 3}, {13, 4}, {14, 5}, {15, 6}}},
        BlockCase{2, {{20, 1}, {21, 2}, {22, 3}, {23, 4}, {24, 5}}},
        BlockCase{
            3, {{35, 1}, {36, 2}, {37, 3}, {38, 4}, {39, 5}, {40, 6}, {41, 7}, {42, 8}, {43, 9}, {44, 10}}}));

TEST(ReplyHandling, AllOnesIsStoredUnsigned) {
    MasterRig rig;
    rig.Tick();
    rig.Deliver(ReadReply(std::vector<std::uint16_t>(10, 0xFFFF)));
    EXPECT_EQ(rig.master.Registers()[0], 65535);
    EXPECT_EQ(rig.master.Registers()[9], 65535);
}

TEST(ReplyHandling, Memo12ShowsRegister24AfterBlockTwo) {
    MasterRig rig;
    rig.PollAt(2);
    rig.Deliver(ReadReply({0, 0, 0, 0, 65535, 9, 9, 9, 9, 9}));
    EXPECT_EQ(rig.view.memo12, "65535");
    // Other blocks leave it alone.
    rig.Tick();
    rig.Deliver(ReadReply(kOneToTen));
    EXPECT_EQ(rig.view.memo12, "65535");
}

TEST(ReplyHandling, SlaveAddressAndFunctionCodeAreNotChecked) {
    MasterRig rig;
    Bytes reply{0x07, 0x04, 0x14};
    for (int i = 0; i < 20; ++i)
        reply.push_back(0);
    reply[4] = 42;
    const std::uint16_t crc = CalcCRC16(reply.data(), 23);
    reply.push_back(static_cast<std::uint8_t>(crc >> 8));
    reply.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    rig.Tick();
    rig.Deliver(reply);
    EXPECT_EQ(rig.master.Registers()[0], 42);
}

struct RejectedCase {
    const char* what;
    Bytes delivery;
};

class RejectedDelivery : public ::testing::TestWithParam<RejectedCase> {};

TEST_P(RejectedDelivery, DarkensTheLampAndStoresNothing) {
    MasterRig rig;
    rig.PollAt(3);
    rig.Deliver(ReadReply(kOneToTen)); // lamp lit, registers 35..44 = 1..10
    ASSERT_TRUE(rig.master.LinkLampLit());
    rig.Tick(); // block 0 asked for
    rig.Deliver(GetParam().delivery);
    EXPECT_FALSE(rig.master.LinkLampLit()) << GetParam().what;
    EXPECT_FALSE(rig.view.lampShownLit) << GetParam().what;
    EXPECT_FALSE(rig.master.Answered()) << GetParam().what;
    for (int reg = 0; reg < 10; ++reg)
        EXPECT_EQ(rig.master.Registers()[reg], 0) << GetParam().what;
    for (int reg = 35; reg < 45; ++reg)
        EXPECT_EQ(rig.master.Registers()[reg], reg - 34) << GetParam().what;
}

Bytes WithFlippedBit(Bytes bytes, std::size_t at) {
    bytes[at] ^= 0x10;
    return bytes;
}

Bytes FirstBytes(const Bytes& bytes, std::size_t n) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
}

INSTANTIATE_TEST_SUITE_P(
    Deliveries, RejectedDelivery,
    ::testing::Values(RejectedCase{"bad CRC", WithFlippedBit(ReadReply({9, 9, 9, 9, 9, 9, 9, 9, 9, 9}), 5)},
                      RejectedCase{"damaged CRC byte",
                                   WithFlippedBit(ReadReply({9, 9, 9, 9, 9, 9, 9, 9, 9, 9}), 24)},
                      RejectedCase{"exception reply", {0x01, 0x83, 0x02, 0xC0, 0xF1}},
                      RejectedCase{"24 bytes", FirstBytes(ReadReply({9, 9, 9, 9, 9, 9, 9, 9, 9, 9}), 24)},
                      RejectedCase{"empty", {}}));

TEST(ReplyHandling, ASplitReplyStoresNothingInEitherHalf) {
    MasterRig rig;
    rig.Tick();
    const Bytes reply = ReadReply(kOneToTen);
    rig.Deliver(FirstBytes(reply, 12));
    rig.Deliver(Bytes(reply.begin() + 12, reply.end()));
    EXPECT_TRUE(NonZeroRegisters(rig.master.Registers()).empty());
    EXPECT_FALSE(rig.master.Answered());
    EXPECT_FALSE(rig.master.LinkLampLit());
}

TEST(ReplyHandling, ABadReplyThenAGoodOneLightsTheLampAgain) {
    MasterRig rig;
    rig.Tick();
    rig.Deliver(WithFlippedBit(ReadReply(kOneToTen), 3));
    EXPECT_FALSE(rig.master.LinkLampLit());
    rig.Tick(); // the same block again
    rig.Deliver(ReadReply(kOneToTen));
    EXPECT_TRUE(rig.master.LinkLampLit());
    EXPECT_EQ(rig.master.Registers()[0], 1);
}

TEST(ReplyHandling, RepliesAreHandledTheSameWithTheBoxClear) {
    MasterRig rig;
    rig.Tick();
    rig.view.ticked = false;
    rig.Deliver(ReadReply(kOneToTen));
    EXPECT_EQ(rig.master.Registers()[0], 1);
}

} // namespace
} // namespace lq::testing
