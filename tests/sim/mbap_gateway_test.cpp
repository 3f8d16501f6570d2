// The simulator's gateway side: what it hands the controller, and what it sends back on the connection.
#include "modbus/crc16.h"
#include "sim/mbap_gateway.h"
#include "sim/sim_options.h"

#include <gtest/gtest.h>

namespace lq::sim {
namespace {

Frame WithCrc(Frame frame) {
    const std::uint16_t crc = CalcCRC16(frame.data(), static_cast<std::int32_t>(frame.size()));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    return frame;
}

TEST(MbapGateway, GivesTheControllerTheRequestWithItsCrc) {
    MbapGateway gateway;
    EXPECT_TRUE(gateway.FromNetwork(Frame{0, 7, 0, 0, 0, 6, 1, 3}).empty());
    EXPECT_EQ(gateway.FromNetwork(Frame{0, 0, 0, 2}), WithCrc({1, 3, 0, 0, 0, 2}));
}

TEST(MbapGateway, AnswersWithTheLatestTransactionAndDropsAGarbledReply) {
    MbapGateway gateway;
    gateway.FromNetwork(Frame{0, 7, 0, 0, 0, 6, 1, 3, 0, 0, 0, 1});
    const Frame reply = WithCrc({1, 3, 2, 0x12, 0x34});
    Frame garbled = reply;
    garbled[3] ^= 0x01;
    EXPECT_TRUE(gateway.FromController(garbled).empty());
    const Frame half(reply.begin(), reply.begin() + 3);
    EXPECT_TRUE(gateway.FromController(half).empty());
    EXPECT_EQ(gateway.FromController(Frame(reply.begin() + 3, reply.end())),
              (Frame{0, 7, 0, 0, 0, 5, 1, 3, 2, 0x12, 0x34}));
}

TEST(NetworkOptions, ListenOnLoopbackUnlessToldOtherwise) {
    const auto tcp = ParseSimOptions({"--tcp", "4001"}).options;
    ASSERT_TRUE(tcp && tcp->network);
    EXPECT_EQ(tcp->network->address, "127.0.0.1");
    EXPECT_FALSE(tcp->network->modbusTcp);
    const auto gateway = ParseSimOptions({"--listen", "::1", "--modbus-tcp", "502"}).options;
    ASSERT_TRUE(gateway && gateway->network);
    EXPECT_EQ(gateway->network->address, "::1");
    EXPECT_TRUE(gateway->network->modbusTcp);
    EXPECT_EQ(gateway->network->port, 502);
    EXPECT_FALSE(ParseSimOptions({"--listen", "::1"}).options);
    EXPECT_FALSE(ParseSimOptions({"--tcp", "1", "--modbus-tcp", "2"}).options);
    EXPECT_FALSE(ParseSimOptions({"--tcp", "65536"}).options);
}

} // namespace
} // namespace lq::sim
