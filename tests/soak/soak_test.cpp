// The master and a real serial component against the simulator with dropped, damaged and split replies, at
// a tick fast enough for thousands of exchanges. LQ_SOAK_EXCHANGES sets the length (short by default so the
// normal test run stays quick); LQ_SOAK_SEED picks the simulator's fault sequence.
#include "modbus/register_image.h"
#include "tests/serial/pty_pair.h"
#include "tests/sim/sim_process.h"
#include "tests/sim/register_history.h"
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

BlockCheck CheckBlocks(const std::vector<AcceptedBlock>& blocks, const sim::RegisterHistory& history) {
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
    sim::RegisterHistory history;
    long writesLost = 0;         // not on the simulator's record, for any reason
    long lostWithoutASign = 0;   // ... although the master never said that the write failed
    {
        sim::SimProcess simulator({"--drop", "0.1", "--corrupt", "0.1", "--split", "0.05", "--seed", seed});
        SoakConfig config;
        config.devicePath = simulator.DevicePath();
        config.exchanges = exchanges;
        config.writeEveryTicks = 40;
        // The simulator's split pause must outlast the read interval, or a split reply would arrive whole.
        ASSERT_LT(std::chrono::milliseconds(config.readIntervalTimeout), std::chrono::milliseconds(150));
        figures = RunSoak(config);
        // A confirmed write took effect in the simulator. One that never reached it may only end with the
        // master saying so (unconfirmed: the lamp goes dark).
        const auto held = simulator.HeldValues();
        const auto wasHeld = [&](std::uint16_t value) {
            return held.count(config.writeRegister) && held.at(config.writeRegister).count(value);
        };
        const auto saidFailed = [&](std::uint16_t value) {
            return std::count(figures.unconfirmedValues.begin(), figures.unconfirmedValues.end(), value) > 0;
        };
        for (const std::uint16_t value : figures.confirmedValues)
            EXPECT_TRUE(wasHeld(value)) << "confirmed value " << value << " is not on the simulator's record";
        for (const std::uint16_t value : figures.writtenValues) {
            writesLost += wasHeld(value) ? 0 : 1;
            lostWithoutASign += wasHeld(value) || saidFailed(value) ? 0 : 1;
        }
        std::ifstream file(simulator.HistoryPath());
        history = sim::RegisterHistory::Parse(file);
    }

    std::printf("soak: exchanges %ld, writes %zu sent %ld times (confirmed %zu, unconfirmed %zu, not on record "
                "%ld, lost without a sign %ld), accepted %ld, rejected %ld, unanswered %ld, deliveries %ld, "
                "ticks %ld, duration %.1f s, longest run without an accepted block %ld ticks\n",
                figures.exchanges, figures.writtenValues.size(), figures.writes, figures.confirmedValues.size(),
                figures.unconfirmedValues.size(), writesLost, lostWithoutASign, figures.accepted,
                figures.rejected, figures.unanswered, figures.deliveries, figures.ticks, figures.duration.count(),
                figures.longestTicksWithoutAccept);
    ::testing::Test::RecordProperty("exchanges", std::to_string(figures.exchanges));
    ::testing::Test::RecordProperty("accepted", std::to_string(figures.accepted));
    ::testing::Test::RecordProperty("rejected", std::to_string(figures.rejected));

    EXPECT_EQ(figures.exchanges, exchanges);
    EXPECT_FALSE(figures.confirmedValues.empty()) << "no write was ever confirmed";
    EXPECT_EQ(lostWithoutASign, 0) << "a write never reached the simulator and the master did not say so";
    EXPECT_GT(figures.rejected, 0) << "the simulator's faults never reached the master";
    EXPECT_LE(figures.longestTicksWithoutAccept, kStuckTicks) << "the poll cycle stalled";

    // Reads go round 0, 1, 2, 3, 0: a block is asked again or the next one, never one out of turn.
    ASSERT_FALSE(figures.readBlocks.empty());
    EXPECT_EQ(figures.readBlocks.front(), 0);
    for (std::size_t i = 1; i < figures.readBlocks.size(); ++i) {
        const int previous = figures.readBlocks[i - 1];
        const int current = figures.readBlocks[i];
        ASSERT_TRUE(current == previous || current == (previous + 1) % 4)
            << "block " << current << " asked for after block " << previous << " (read " << i << ")";
    }
    ASSERT_FALSE(figures.acceptedBlocks.empty());
    EXPECT_LE(figures.ticks - figures.acceptedBlocks.back().tick, kStuckTicks);

    // Each accepted block is one moment of the simulator's registers, and those moments come in order. A
    // reply stored under a block it does not answer would show as another block's registers; values the
    // simulator never held together in any block are corruption. Neither may happen.
    const BlockCheck check = CheckBlocks(figures.acceptedBlocks, history);
    std::printf("soak: accepted blocks faithful %ld, another block's registers %ld, corrupted %ld\n",
                check.faithful, check.fromAnotherBlock, check.corrupted);
    ::testing::Test::RecordProperty("stored_as_another_block", std::to_string(check.fromAnotherBlock));
    EXPECT_EQ(check.corrupted, 0) << check.firstCorrupted;
    EXPECT_EQ(check.fromAnotherBlock, 0) << "replies stored under a block they do not answer";
    EXPECT_EQ(check.faithful + check.fromAnotherBlock + check.corrupted,
              static_cast<long>(figures.acceptedBlocks.size()));

    EXPECT_EQ(test::OpenDescriptorCount(), fdsBefore) << "descriptors left open";
    EXPECT_EQ(test::ThreadCount(), threadsBefore) << "threads left running";
}

} // namespace
} // namespace lq::soak
