// The master and a real serial component against the simulator with dropped, damaged and split replies, at
// a tick fast enough for thousands of exchanges. LQ_SOAK_EXCHANGES sets the length (short by default so the
// normal test run stays quick); LQ_SOAK_SEED picks the simulator's fault sequence.
#include "modbus/register_image.h"
#include "tests/serial/pty_pair.h"
#include "tests/sim/sim_process.h"
#include "tests/soak/register_history.h"
#include "tests/soak/soak_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <span>
#include <string>
#include <vector>

namespace lq::soak {
namespace {

long EnvNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && std::atol(text) > 0 ? std::atol(text) : fallback;
}

// Ticks without any accepted block that a live poll cycle cannot plausibly reach: a split reply costs about
// its 150 ms pause in ticks, and one in four replies fails; a run of this many lost ticks is astronomically
// unlikely unless the cycle is stuck.
constexpr long kStuckTicks = 120;

struct BlockCheck {
    long faithful = 0;
    long fromAnotherBlock = 0;
    long corrupted = 0;
    std::string firstCorrupted;
};

BlockCheck CheckBlocks(const std::vector<AcceptedBlock>& blocks, const RegisterHistory& history) {
    BlockCheck check;
    std::size_t searchFrom = 0;
    for (const AcceptedBlock& block : blocks) {
        if (const auto at = history.FindBlock(searchFrom, kPollBlockStarts[block.pollIndex], block.values)) {
            searchFrom = *at;
            ++check.faithful;
            continue;
        }
        // A late reply to another block: its first registers, stored here, are that block's.
        const auto heldByAnother = [&](std::uint8_t other) {
            const auto count = std::min<std::size_t>(block.values.size(), RegisterImage::KeptCount(other));
            return other != block.pollIndex &&
                   history.FindBlock(0, kPollBlockStarts[other], std::span(block.values).first(count));
        };
        if (heldByAnother(0) || heldByAnother(1) || heldByAnother(2) || heldByAnother(3)) {
            ++check.fromAnotherBlock;
            continue;
        }
        if (check.corrupted++ == 0) {
            check.firstCorrupted = "block " + std::to_string(block.pollIndex) + " at tick " +
                                   std::to_string(block.tick) + " holds values the simulator never held:";
            for (const std::uint16_t value : block.values)
                check.firstCorrupted += " " + std::to_string(value);
        }
    }
    return check;
}

TEST(Soak, FaultyLineNeverCorruptsTheRegisterImageNorStallsThePollCycle) {
    const long exchanges = EnvNumber("LQ_SOAK_EXCHANGES", 500);
    const std::string seed = std::to_string(EnvNumber("LQ_SOAK_SEED", 7));
    const std::size_t fdsBefore = test::OpenDescriptorCount();
    const std::size_t threadsBefore = test::ThreadCount();

    SoakFigures figures;
    RegisterHistory history;
    long writesLost = 0;
    {
        sim::SimProcess simulator({"--drop", "0.1", "--corrupt", "0.1", "--split", "0.05", "--seed", seed});
        SoakConfig config;
        config.devicePath = simulator.DevicePath();
        config.exchanges = exchanges;
        config.writeEveryTicks = 40;
        // The simulator's split pause must outlast the read interval, or a split reply would arrive whole.
        ASSERT_LT(std::chrono::milliseconds(config.readIntervalTimeout), std::chrono::milliseconds(150));
        figures = RunSoak(config);
        // An echoed write took effect in the simulator. A write without an echo may have been lost on the way
        // (a request that reaches a stalled slave right behind another merges with it into one bad frame);
        // the master neither knows nor repeats it, so those are only counted.
        const auto held = simulator.HeldValues();
        const auto wasHeld = [&](std::uint16_t value) {
            return held.count(config.writeRegister) && held.at(config.writeRegister).count(value);
        };
        for (const std::uint16_t value : figures.echoedValues)
            EXPECT_TRUE(wasHeld(value)) << "echoed value " << value << " is not on the simulator's record";
        for (const std::uint16_t value : figures.writtenValues)
            writesLost += wasHeld(value) ? 0 : 1;
        std::ifstream file(simulator.HistoryPath());
        history = RegisterHistory::Parse(file);
    }

    std::printf("soak: exchanges %ld, writes %ld (echoed %zu, lost %ld), accepted %ld, rejected %ld, "
                "deliveries %ld, ticks %ld, "
                "duration %.1f s, "
                "longest run without an accepted block %ld ticks\n",
                figures.exchanges, figures.writes, figures.echoedValues.size(), writesLost, figures.accepted,
                figures.rejected, figures.deliveries, figures.ticks, figures.duration.count(),
                figures.longestTicksWithoutAccept);
    ::testing::Test::RecordProperty("exchanges", std::to_string(figures.exchanges));
    ::testing::Test::RecordProperty("accepted", std::to_string(figures.accepted));
    ::testing::Test::RecordProperty("rejected", std::to_string(figures.rejected));

    EXPECT_EQ(figures.exchanges, exchanges);
    EXPECT_FALSE(figures.echoedValues.empty()) << "no write was ever echoed";
    EXPECT_GT(figures.rejected, 0) << "the simulator's faults never reached the master";
    EXPECT_LE(figures.longestTicksWithoutAccept, kStuckTicks) << "the poll cycle stalled";

    // Blocks go round 0, 1, 2, 3, 0: a block may be accepted again, but the next one is always the one after.
    ASSERT_FALSE(figures.acceptedBlocks.empty());
    EXPECT_EQ(figures.acceptedBlocks.front().pollIndex, 0);
    for (std::size_t i = 1; i < figures.acceptedBlocks.size(); ++i) {
        const int previous = figures.acceptedBlocks[i - 1].pollIndex;
        const int current = figures.acceptedBlocks[i].pollIndex;
        ASSERT_TRUE(current == previous || current == (previous + 1) % 4)
            << "block " << current << " accepted after block " << previous << " at tick "
            << figures.acceptedBlocks[i].tick;
    }
    EXPECT_LE(figures.ticks - figures.acceptedBlocks.back().tick, kStuckTicks);

    // Each accepted block is one moment of the simulator's registers, and those moments come in order. A
    // reply that arrives after the poll index has moved on is stored as the new block: with a tick shorter
    // than a split reply's pause that happens, and it is counted apart. Values the simulator never held
    // together in any block are corruption.
    const BlockCheck check = CheckBlocks(figures.acceptedBlocks, history);
    std::printf("soak: accepted blocks faithful %ld, another block's registers %ld, corrupted %ld\n",
                check.faithful, check.fromAnotherBlock, check.corrupted);
    ::testing::Test::RecordProperty("stored_as_another_block", std::to_string(check.fromAnotherBlock));
    EXPECT_EQ(check.corrupted, 0) << check.firstCorrupted;
    EXPECT_EQ(check.faithful + check.fromAnotherBlock + check.corrupted,
              static_cast<long>(figures.acceptedBlocks.size()));

    EXPECT_EQ(test::OpenDescriptorCount(), fdsBefore) << "descriptors left open";
    EXPECT_EQ(test::ThreadCount(), threadsBefore) << "threads left running";
}

} // namespace
} // namespace lq::soak
