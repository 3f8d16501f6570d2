#include "sim/slave_protocol.h"

#include <gtest/gtest.h>

namespace lq::sim {
namespace {

enum class Outcome { Silence, Data, Echo, Exception };

struct ProtocolCase {
    const char* name;
    Frame body; // request without CRC
    Outcome outcome;
    std::uint8_t exception = 0;
    bool damageCrc = false;
    bool failEveryRead = false;
};

Frame WithCrc(Frame body, bool damage) {
    AppendCrc(body);
    if (damage) body.back() ^= 0x01;
    return body;
}

Frame Read(std::uint8_t slave, int start, int quantity) {
    return {slave,
            0x03,
            std::uint8_t(start >> 8),
            std::uint8_t(start),
            std::uint8_t(quantity >> 8),
            std::uint8_t(quantity)};
}

Frame Write(std::uint8_t slave, int reg, int value) {
    return {slave,
            0x06,
            std::uint8_t(reg >> 8),
            std::uint8_t(reg),
            std::uint8_t(value >> 8),
            std::uint8_t(value)};
}

class SlaveProtocolTest : public ::testing::TestWithParam<ProtocolCase> {};

TEST_P(SlaveProtocolTest, AnswersAsARealSlave) {
    const ProtocolCase& c = GetParam();
    ControllerModel model;
    const RegisterFile before = model.Registers();
    SlaveProtocol slave({.address = 1, .failEveryRead = c.failEveryRead}, model);
    const Frame request = WithCrc(c.body, c.damageCrc);

    const Frame reply = slave.HandleFrame(request);

    switch (c.outcome) {
    case Outcome::Silence:
        EXPECT_TRUE(reply.empty());
        break;
    case Outcome::Exception:
        ASSERT_EQ(reply.size(), 5u);
        EXPECT_TRUE(HasValidCrc(reply));
        EXPECT_EQ(reply[0], 1);
        EXPECT_EQ(reply[1], c.body[1] | 0x80);
        EXPECT_EQ(reply[2], c.exception);
        break;
    case Outcome::Echo:
        EXPECT_EQ(reply, request);
        break;
    case Outcome::Data: {
        const int start = c.body[2] << 8 | c.body[3];
        const int quantity = c.body[4] << 8 | c.body[5];
        ASSERT_EQ(reply.size(), 5u + 2u * quantity);
        EXPECT_TRUE(HasValidCrc(reply));
        EXPECT_EQ(reply[0], 1);
        EXPECT_EQ(reply[1], 0x03);
        EXPECT_EQ(reply[2], 2 * quantity);
        for (int k = 0; k < quantity; ++k)
            EXPECT_EQ(reply[3 + 2 * k] << 8 | reply[4 + 2 * k], model.Get(start + k))
                << "register " << start + k;
        break;
    }
    }
    if (c.outcome != Outcome::Echo) {
        EXPECT_EQ(model.Registers(), before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Requests, SlaveProtocolTest,
    ::testing::Values(ProtocolCase{"PanelBlock0", Read(1, 0, 10), Outcome::Data},
                      ProtocolCase{"PanelBlock1", Read(1, 10, 10), Outcome::Data},
                      ProtocolCase{"PanelBlock2", Read(1, 20, 10), Outcome::Data},
                      ProtocolCase{"PanelBlock3", Read(1, 35, 10), Outcome::Data},
                      ProtocolCase{"LastRegister", Read(1, 63, 1), Outcome::Data},
                      ProtocolCase{"AllRegisters", Read(1, 0, 64), Outcome::Data},
                      ProtocolCase{"RangePastEnd", Read(1, 60, 5), Outcome::Exception, 0x02},
                      ProtocolCase{"StartPastEnd", Read(1, 64, 1), Outcome::Exception, 0x02},
                      ProtocolCase{"StartAtTopOfAddressSpace", Read(1, 0xFFFF, 1), Outcome::Exception, 0x02},
                      ProtocolCase{"QuantityZero", Read(1, 0, 0), Outcome::Exception, 0x03},
                      ProtocolCase{"QuantityOverMaximum", Read(1, 0, 126), Outcome::Exception, 0x03},
                      ProtocolCase{"ReadInputRegisters", {1, 0x04, 0, 0, 0, 1}, Outcome::Exception, 0x01},
                      ProtocolCase{
                          "WriteMultipleRegisters", {1, 0x10, 0, 0, 0, 1, 2, 0, 5}, Outcome::Exception, 0x01},
                      ProtocolCase{"ReportSlaveId", {1, 0x11}, Outcome::Exception, 0x01},
                      ProtocolCase{"OtherSlaveRead", Read(2, 0, 10), Outcome::Silence},
                      ProtocolCase{"OtherSlaveWrite", Write(2, 36, 700), Outcome::Silence},
                      ProtocolCase{"BadCrcRead", Read(1, 0, 10), Outcome::Silence, 0, true},
                      ProtocolCase{"BadCrcWrite", Write(1, 36, 700), Outcome::Silence, 0, true},
                      ProtocolCase{"TooShort", {1, 0x03}, Outcome::Silence},
                      ProtocolCase{"ReadWithTrailingByte", {1, 0x03, 0, 0, 0, 10, 0}, Outcome::Silence},
                      ProtocolCase{"BroadcastRead", Read(0, 0, 10), Outcome::Silence},
                      ProtocolCase{"WriteSetValue", Write(1, 36, 750), Outcome::Echo},
                      ProtocolCase{"WriteLastRegister", Write(1, 63, 0xFFFF), Outcome::Echo},
                      ProtocolCase{"WritePastEnd", Write(1, 64, 1), Outcome::Exception, 0x02},
                      ProtocolCase{"StopCommand", Write(1, 3, 1), Outcome::Echo},
                      ProtocolCase{"RunStateOtherValue", Write(1, 3, 2), Outcome::Exception, 0x03},
                      ProtocolCase{"FailingRead", Read(1, 0, 10), Outcome::Exception, 0x04, false, true},
                      ProtocolCase{"WriteWhileReadsFail", Write(1, 36, 750), Outcome::Echo, 0, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SlaveProtocolWrites, LandInTheModelAndShowInTheNextRead) {
    struct WriteCase {
        int reg;
        int value;
    };
    for (const WriteCase& w :
         {WriteCase{0, 7300}, WriteCase{4, 800}, WriteCase{5, 150}, WriteCase{36, 655}, WriteCase{39, 900},
          WriteCase{40, 25}, WriteCase{41, 60}, WriteCase{42, 0xFFFF}}) {
        ControllerModel model;
        SlaveProtocol slave({}, model);
        slave.HandleFrame(WithCrc(Write(1, w.reg, w.value), false));
        const Frame reply = slave.HandleFrame(WithCrc(Read(1, w.reg, 1), false));
        ASSERT_EQ(reply.size(), 7u) << "register " << w.reg;
        EXPECT_EQ(reply[3] << 8 | reply[4], w.value) << "register " << w.reg;
    }
}

TEST(SlaveProtocolWrites, BroadcastWriteActsWithoutReply) {
    ControllerModel model;
    SlaveProtocol slave({}, model);
    EXPECT_TRUE(slave.HandleFrame(WithCrc(Write(0, 36, 444), false)).empty());
    EXPECT_EQ(model.Get(kSetValue), 444);
}

TEST(SlaveProtocolWrites, AnUnechoedRegisterTakesTheWriteAndStaysSilent) {
    ControllerModel model;
    SlaveProtocol slave({.unechoedWriteRegister = 36}, model);
    EXPECT_TRUE(slave.HandleFrame(WithCrc(Write(1, 36, 444), false)).empty());
    EXPECT_EQ(model.Get(kSetValue), 444);
    EXPECT_FALSE(slave.HandleFrame(WithCrc(Write(1, 39, 900), false)).empty()) << "other registers echo";
}

TEST(SlaveProtocolAddress, AnswersOnlyItsOwnAddress) {
    for (int address : {1, 17, 247}) {
        ControllerModel model;
        SlaveProtocol slave({.address = static_cast<std::uint8_t>(address)}, model);
        for (int asked : {1, 2, 17, 247}) {
            const Frame reply = slave.HandleFrame(WithCrc(Read(std::uint8_t(asked), 0, 1), false));
            EXPECT_EQ(reply.empty(), asked != address) << "slave " << address << " asked as " << asked;
            if (!reply.empty()) {
                EXPECT_EQ(reply[0], address);
            }
        }
    }
}

} // namespace
} // namespace lq::sim
