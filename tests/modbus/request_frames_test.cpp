#include <gtest/gtest.h>

#include "master_fakes.h"
#include "modbus/crc16.h"

namespace lq::testing {
namespace {

struct AddressCase {
    const char* text;
    int slave; // -1: no frame at all
};

class SlaveAddressFromText : public ::testing::TestWithParam<AddressCase> {};

TEST_P(SlaveAddressFromText, GoesIntoByteZeroWithAFreshCrcOrNothingGoesOut) {
    const auto& c = GetParam();
    MasterRig rig;
    rig.view.addressText = c.text;
    rig.master.Timer1Timer();
    rig.master.IssueWrite(4, 1);
    if (c.slave < 0) {
        EXPECT_TRUE(rig.sender.sent.empty()) << c.text;
        EXPECT_FALSE(rig.master.LinkLampLit()) << c.text;
        return;
    }
    ASSERT_EQ(rig.sender.sent.size(), 1u) << c.text; // the write waits for the read's reply
    const Bytes& frame = rig.sender.sent[0];
    ASSERT_EQ(frame.size(), 8u);
    EXPECT_EQ(frame[0], c.slave) << c.text;
    EXPECT_EQ(CalcCRC16(frame.data(), 6), frame[6] * 256 + frame[7]);
}

// Leading digits count as they always did; what gives no address from 1 to 247 (0 is the broadcast every
// controller obeys, and 256 or more used to wrap round to another slave) sends nothing.
INSTANTIATE_TEST_SUITE_P(Texts, SlaveAddressFromText,
                         ::testing::Values(AddressCase{"1", 1}, AddressCase{"247", 247},
                                           AddressCase{"12abc", 12}, AddressCase{"$10", 16},
                                           AddressCase{"0x10", 16}, AddressCase{" 7", 7}, AddressCase{"", -1},
                                           AddressCase{"abc", -1}, AddressCase{"0", -1},
                                           AddressCase{"248", -1}, AddressCase{"255", -1},
                                           AddressCase{"256", -1}, AddressCase{"257", -1},
                                           AddressCase{"300", -1}, AddressCase{"1000", -1},
                                           AddressCase{"-1", -1}));

struct FrameCase {
    const char* what;
    const char* address;
    bool write;
    std::uint8_t reg;
    std::int32_t value; // write value, or quantity for a read
    Bytes wire;
};

class ExactFrames : public ::testing::TestWithParam<FrameCase> {};

TEST_P(ExactFrames, GoOutWholeAndThenPause) {
    const auto& c = GetParam();
    MasterRig rig;
    rig.view.addressText = c.address;
    if (c.write) {
        rig.master.IssueWrite(c.reg, c.value);
    } else {
        rig.master.SendReadRequest(c.reg, static_cast<std::uint8_t>(c.value));
    }
    ASSERT_EQ(rig.sender.sent.size(), 1u) << c.what;
    EXPECT_EQ(rig.sender.sent[0], c.wire) << c.what;
    EXPECT_EQ(rig.pause.pauses, std::vector<unsigned>{c.write ? 40u : 5u}) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Frames, ExactFrames,
    ::testing::Values(
        FrameCase{"read block 0", "1", false, 0, 10, {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD}},
        FrameCase{"read block 3", "1", false, 35, 10, {0x01, 0x03, 0x00, 0x23, 0x00, 0x0A, 0x34, 0x07}},
        FrameCase{
            "zero bytes go out whole", "1", true, 0, 0, {0x01, 0x06, 0x00, 0x00, 0x00, 0x00, 0x89, 0xCA}},
        FrameCase{"write 1234 to 36", "1", true, 36, 1234, {0x01, 0x06, 0x00, 0x24, 0x04, 0xD2, 0x4B, 0x5C}},
        FrameCase{"stop command", "1", true, 3, 1, {0x01, 0x06, 0x00, 0x03, 0x00, 0x01, 0xB8, 0x0A}},
        FrameCase{"run command", "1", true, 3, 0, {0x01, 0x06, 0x00, 0x03, 0x00, 0x00, 0x79, 0xCA}}));

TEST(Requests, AClosedPortLosesTheFrameButStillPauses) {
    MasterRig rig;
    rig.sender.portOpen = false;
    rig.master.SendReadRequest(0, 10);
    rig.master.IssueWrite(3, 1);
    EXPECT_TRUE(rig.sender.sent.empty());
    EXPECT_EQ(rig.pause.pauses, (std::vector<unsigned>{5, 40}));
}

TEST(Requests, TheAddressTextIsReadAfreshForEachFrame) {
    MasterRig rig;
    rig.master.SendReadRequest(0, 10);
    rig.view.addressText = "2";
    rig.master.SendReadRequest(0, 10);
    ASSERT_EQ(rig.sender.sent.size(), 2u);
    EXPECT_EQ(rig.sender.sent[0][0], 1);
    EXPECT_EQ(rig.sender.sent[1][0], 2);
}

TEST(IssueWrite, NegativeValuesGoOutInTwosComplement) {
    MasterRig rig;
    rig.master.IssueWrite(41, -1);
    ASSERT_EQ(rig.sender.sent.size(), 1u);
    EXPECT_EQ(rig.sender.sent[0][4], 0xFF);
    EXPECT_EQ(rig.sender.sent[0][5], 0xFF);
}

TEST(IssueWrite, WithTheBoxClearSendsNothingAndLeavesNoPendingWrite) {
    MasterRig rig;
    rig.view.ticked = false;
    EXPECT_FALSE(rig.master.IssueWrite(4, 800));
    EXPECT_TRUE(rig.sender.sent.empty());
    EXPECT_TRUE(rig.pause.pauses.empty());
    EXPECT_EQ(rig.master.Write().pending, 0);
    EXPECT_EQ(rig.master.Statistics().writesNotSent, 1u);
    EXPECT_EQ(rig.master.Statistics().writesUnconfirmed, 0u);
}

TEST(IssueWrite, TwoQuickCommandsSendTwoFramesAndTheSlotHoldsTheSecond) {
    MasterRig rig;
    rig.master.IssueWrite(4, 800);
    rig.master.IssueWrite(5, 100);
    ASSERT_EQ(rig.sender.sent.size(), 2u);
    EXPECT_EQ(rig.sender.sent[1][3], 5);
    EXPECT_EQ(rig.master.Write().registerAddress, 5);
    // The first one's echo no longer ends the slot; only the second's does.
    rig.Deliver(WriteEcho(4, 800));
    EXPECT_EQ(rig.master.Write().pending, 1);
    rig.Deliver(WriteEcho(5, 100));
    EXPECT_EQ(rig.master.Write().pending, 0);
}

} // namespace
} // namespace lq::testing
