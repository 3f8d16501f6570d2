// The Modbus TCP conversion both ways, as a gateway's replies arrive on a connection.
#include "modbus/crc16.h"
#include "serial/mbap.h"
#include "serial/mbap_stream.h"

#include <gtest/gtest.h>

namespace lq {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes WithCrc(Bytes frame) {
    const std::uint16_t crc = CalcCRC16(frame.data(), static_cast<std::int32_t>(frame.size()));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    return frame;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// Read of two registers from slave 1, and its replies.
const Bytes kRequest = WithCrc({0x01, 0x03, 0x00, 0x00, 0x00, 0x02});
const Bytes kReplyPdu = {0x01, 0x03, 0x04, 0x00, 0x2A, 0x01, 0x00};

Bytes Adu(std::uint16_t transaction, const Bytes& unitAndPdu, int lengthDelta = 0,
          std::uint8_t protocol = 0) {
    const auto length = static_cast<std::uint16_t>(unitAndPdu.size() + lengthDelta);
    Bytes adu{
        static_cast<std::uint8_t>(transaction >> 8), static_cast<std::uint8_t>(transaction), 0, protocol,
        static_cast<std::uint8_t>(length >> 8),      static_cast<std::uint8_t>(length)};
    adu.insert(adu.end(), unitAndPdu.begin(), unitAndPdu.end());
    return adu;
}

TEST(MbapRequest, LosesTheCrcAndCarriesTheAddressAsUnitId) {
    EXPECT_EQ(MbapFromRtu(kRequest, 0x1234), Join({{0x12, 0x34, 0, 0, 0, 6}, {0x01, 0x03, 0, 0, 0, 2}}));
    EXPECT_TRUE(MbapFromRtu(Bytes{0x01, 0x03, 0x00}, 1).empty());
}

TEST(MbapRequest, TransactionIdsCountUp) {
    TMbapStream stream;
    EXPECT_EQ(stream.Request(kRequest)[1], 1);
    EXPECT_EQ(stream.Request(kRequest)[1], 2);
}

struct ReplyCase {
    const char* name;
    std::vector<Bytes> segments; // as they arrive on the connection, after the request with id 1
    Bytes delivered;
    std::uint32_t dropped;
};
void PrintTo(const ReplyCase& c, std::ostream* os) {
    *os << c.name;
}

class MbapReplies : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(MbapReplies, ArriveAsAnRtuLineWouldDeliverThem) {
    TMbapStream stream;
    stream.Request(kRequest);
    Bytes delivered;
    for (const Bytes& segment : GetParam().segments)
        stream.Receive(segment, delivered);
    EXPECT_EQ(delivered, GetParam().delivered);
    EXPECT_EQ(stream.Dropped(), GetParam().dropped);
}

const Bytes kGood = Adu(1, kReplyPdu);
const Bytes kException = Adu(1, {0x01, 0x83, 0x02});

INSTANTIATE_TEST_SUITE_P(
    Table, MbapReplies,
    ::testing::Values(
        ReplyCase{"GoodReply", {kGood}, WithCrc(kReplyPdu), 0},
        ReplyCase{"Exception", {kException}, WithCrc({0x01, 0x83, 0x02}), 0},
        ReplyCase{"WrongTransaction", {Adu(7, kReplyPdu)}, {}, 1},
        ReplyCase{"LateReplyThenTheRightOne", {Join({Adu(0, kReplyPdu), kGood})}, WithCrc(kReplyPdu), 1},
        ReplyCase{"LengthDisagreesWithByteCount", {Adu(1, kReplyPdu, -1)}, {}, 1},
        ReplyCase{"LengthOutOfRange", {Adu(1, {0x01}, 0)}, {}, 1},
        ReplyCase{"ProtocolNotModbus", {Adu(1, kReplyPdu, 0, 1)}, {}, 1},
        ReplyCase{"TwoRepliesInOneSegment",
                  {Join({kGood, kException})},
                  Join({WithCrc(kReplyPdu), WithCrc({0x01, 0x83, 0x02})}),
                  0},
        ReplyCase{"OneReplyInTwoSegments",
                  {Bytes(kGood.begin(), kGood.begin() + 4), Bytes(kGood.begin() + 4, kGood.end())},
                  WithCrc(kReplyPdu),
                  0},
        ReplyCase{"SplitAfterItsHeader",
                  {Bytes(kGood.begin(), kGood.begin() + 9), Bytes(kGood.begin() + 9, kGood.end())},
                  WithCrc(kReplyPdu),
                  0},
        ReplyCase{"HeaderAloneIsNotYetAReply", {Bytes(kGood.begin(), kGood.begin() + 7)}, {}, 0}));

TEST(MbapReplies, ABadHeaderDropsWhatFollowsInTheSameBuffer) {
    const MbapScan scan = ScanMbapReplies(Join({Adu(1, kReplyPdu, 0, 9), kGood}), 1);
    EXPECT_TRUE(scan.rtu.empty());
    EXPECT_EQ(scan.dropped, 1u);
    EXPECT_EQ(scan.consumed, kGood.size() * 2);
}

} // namespace
} // namespace lq
