#include "sim/sim_options.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace lq::sim {
namespace {

TEST(SimOptions, DefaultsAreThePanelsStartUpSettings) {
    const ParsedOptions parsed = ParseSimOptions({});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->port, "COM4");
    EXPECT_EQ(parsed.options->engine.slave.address, 1);
    EXPECT_EQ(parsed.options->engine.baud, 19200);
    EXPECT_FALSE(parsed.options->seed);
}

TEST(SimOptions, EveryOptionReachesItsSetting) {
    const ParsedOptions parsed = ParseSimOptions({"--port",
                                                  "COM7",
                                                  "--slave",
                                                  "17",
                                                  "--baud",
                                                  "9600",
                                                  "--drop",
                                                  "0.25",
                                                  "--corrupt",
                                                  "0.3",
                                                  "--split",
                                                  "1",
                                                  "--delay",
                                                  "40",
                                                  "--exception",
                                                  "--seed",
                                                  "18446744073709551615",
                                                  "--fault",
                                                  "phase-loss",
                                                  "--fault",
                                                  "power",
                                                  "--dump-file",
                                                  "/tmp/d",
                                                  "--history-file",
                                                  "/tmp/h",
                                                  "--lose-requests",
                                                  "0.1",
                                                  "--refuse-block",
                                                  "20",
                                                  "--counters-file",
                                                  "/tmp/c",
                                                  "--repeat",
                                                  "0.05",
                                                  "--hold-back",
                                                  "0.06",
                                                  "--drop-byte",
                                                  "0.07",
                                                  "--insert-byte",
                                                  "0.08",
                                                  "--bit-errors",
                                                  "0.0001",
                                                  "--fault-time-scale",
                                                  "0.25",
                                                  "--reply-log",
                                                  "/tmp/r",
                                                  "--framing",
                                                  "8O1",
                                                  "--line-check"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    const SimOptions& o = *parsed.options;
    EXPECT_EQ(o.port, "COM7");
    EXPECT_EQ(o.engine.slave.address, 17);
    EXPECT_EQ(o.engine.baud, 9600);
    EXPECT_DOUBLE_EQ(o.engine.faults.drop, 0.25);
    EXPECT_DOUBLE_EQ(o.engine.faults.corrupt, 0.3);
    EXPECT_DOUBLE_EQ(o.engine.faults.split, 1.0);
    EXPECT_EQ(o.engine.faults.delay, milliseconds(40));
    EXPECT_TRUE(o.engine.slave.failEveryRead);
    EXPECT_EQ(o.seed, UINT64_MAX);
    ModelFaults expected;
    AddFault("phase-loss", expected);
    AddFault("power", expected);
    EXPECT_EQ(o.engine.modelFaults.alarms, expected.alarms);
    EXPECT_NE(expected.alarms, 0);
    EXPECT_EQ(o.dumpFile, "/tmp/d");
    EXPECT_EQ(o.historyFile, "/tmp/h");
    EXPECT_DOUBLE_EQ(o.engine.faults.loseRequest, 0.1);
    EXPECT_EQ(o.engine.slave.refusedReadStart, 20);
    EXPECT_EQ(o.countersFile, "/tmp/c");
    EXPECT_DOUBLE_EQ(o.engine.faults.repeat, 0.05);
    EXPECT_DOUBLE_EQ(o.engine.faults.holdBack, 0.06);
    EXPECT_DOUBLE_EQ(o.engine.faults.dropByte, 0.07);
    EXPECT_DOUBLE_EQ(o.engine.faults.insertByte, 0.08);
    EXPECT_DOUBLE_EQ(o.engine.faults.bitErrors, 0.0001);
    EXPECT_DOUBLE_EQ(o.engine.faults.timeScale, 0.25);
    EXPECT_EQ(o.replyLog, "/tmp/r");
    EXPECT_EQ(o.engine.framing, Framing::O1);
    EXPECT_TRUE(o.lineCheck);
    EXPECT_FALSE(o.help);
}

// Every option the parser takes is in --help, in the manual page and in the simulator's README.
TEST(SimOptions, EveryOptionIsDocumentedEverywhere) {
    const auto read = [](const char* path) {
        std::ifstream in(std::string(LQ_SOURCE_DIR) + "/" + path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string usage = SimUsage();
    const std::string manual = read("packaging/man/pw5-sim.1.scd.in");
    const std::string readme = read("sim/README.md");
    ASSERT_FALSE(manual.empty());
    ASSERT_FALSE(readme.empty());
    for (const std::string& name : SimOptionNames()) {
        const bool inUsage = usage.find(" " + name + " ") != std::string::npos ||
                             usage.find(" " + name + ",") != std::string::npos;
        EXPECT_TRUE(inUsage) << name << " is not in --help";
        EXPECT_NE(manual.find("*" + name + "*"), std::string::npos) << name << " is not in the manual page";
        EXPECT_NE(readme.find("`" + name), std::string::npos) << name << " is not in sim/README.md";
    }
}

TEST(RefuseFor, TakesWholeSecondsFromOneToADay) {
    const auto parsed = [](const char* value) {
        return ParseSimOptions({"--refuse-block", "20", "--refuse-for", value}).options;
    };
    ASSERT_TRUE(parsed("14"));
    EXPECT_EQ(parsed("14")->engine.slave.refuseFor, milliseconds(14000));
    EXPECT_EQ(parsed("86400")->engine.slave.refuseFor, milliseconds(86'400'000));
    for (const char* bad : {"0", "-1", "1.5", "86401", ""})
        EXPECT_FALSE(parsed(bad)) << bad;
    EXPECT_FALSE(ParseSimOptions({"--refuse-block", "20"}).options->engine.slave.refuseFor);
}

class BadOptionTest : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(BadOptionTest, IsRefusedWithAReason) {
    const ParsedOptions parsed = ParseSimOptions(GetParam());
    EXPECT_FALSE(parsed.options);
    EXPECT_FALSE(parsed.error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Refused, BadOptionTest,
    ::testing::Values(
        std::vector<std::string>{"--bogus"}, std::vector<std::string>{"--slave"},
        std::vector<std::string>{"--slave", "0"}, std::vector<std::string>{"--slave", "248"},
        std::vector<std::string>{"--slave", "1x"}, std::vector<std::string>{"--drop", "1.5"},
        std::vector<std::string>{"--lose-requests", "-0.1"}, std::vector<std::string>{"--refuse-block", "64"},
        std::vector<std::string>{"--drop", "-0.1"}, std::vector<std::string>{"--corrupt", "nan"},
        std::vector<std::string>{"--split", ""}, std::vector<std::string>{"--delay", "-1"},
        std::vector<std::string>{"--baud", "0"}, std::vector<std::string>{"--seed", "-3"},
        std::vector<std::string>{"--fault", "fire"}, std::vector<std::string>{"--port", "../COM4"},
        std::vector<std::string>{"--port", ".."}, std::vector<std::string>{"--port", ""},
        std::vector<std::string>{"--dump-file", ""}, std::vector<std::string>{"--repeat", "1.01"},
        std::vector<std::string>{"--hold-back", "x"}, std::vector<std::string>{"--bit-errors", "-1e-3"},
        std::vector<std::string>{"--fault-time-scale", "0"},
        std::vector<std::string>{"--fault-time-scale", "-0.5"},
        std::vector<std::string>{"--fault-time-scale", "101"}, std::vector<std::string>{"--reply-log", ""},
        std::vector<std::string>{"--reply-log"}));

} // namespace
} // namespace lq::sim
