// The traffic record's rows as the master's own events make them.
#include "monitor/traffic_row.h"

#include <gtest/gtest.h>

#include "master_fakes.h"
#include "modbus/frame_meaning.h"

namespace lq {
namespace {

// The rows the master's own events make: direction, fault and round trip as the master judged them.
class RowCollector final : public TrafficObserver {
  public:
    std::vector<TrafficRow> rows;

  protected:
    void AddRow(TrafficRow row) override { rows.push_back(std::move(row)); }
};

TEST(TrafficRows, TheMastersEventsBecomeRowsWithDirectionFaultAndRoundTrip) {
    testing::MasterRig rig;
    RowCollector rows;
    rig.master.AddObserver(rows);
    rig.Tick(); // read of block 0
    rig.clock.Advance(std::chrono::milliseconds(40));
    rig.Deliver(testing::ReadReply(std::vector<std::uint16_t>(10, 1)));
    rig.Tick(); // read of block 1
    rig.Tick(); // no reply to it
    ASSERT_EQ(rows.rows.size(), 4u);
    EXPECT_EQ(rows.rows[0].direction, TrafficDirection::Sent);
    EXPECT_EQ(rows.rows[0].bytes, rig.sender.sent[0]);
    EXPECT_FALSE(rows.rows[0].fault);
    EXPECT_EQ(rows.rows[1].direction, TrafficDirection::Received);
    EXPECT_EQ(rows.rows[1].roundTrip, std::chrono::microseconds(40'000));
    EXPECT_FALSE(rows.rows[1].fault);
    EXPECT_EQ(rows.rows[3].direction, TrafficDirection::Missing);
    EXPECT_TRUE(rows.rows[3].fault);
    EXPECT_TRUE(rows.rows[3].bytes.empty());
    EXPECT_EQ(rows.rows[3].meaning, DescribeNoReply(NoReply{1, {}}));
}

} // namespace
} // namespace lq
