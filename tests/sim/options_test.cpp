// The command line of kestrel-sim.

#include "sim/program_options.h"

#include <gtest/gtest.h>

using namespace sim;

TEST(ProgramOptions, ValuesReachTheOptions)
{
    ProgramOptions options;
    std::string error;
    // clang-format off
    const std::vector<std::string> args = {
        "--name", "BENCH", "--password=9876", "--refuse-read", "5,3001-3003", "--cme-error", "10",
        "--silent-after", "4", "--unsolicited", "RING", "--chunked", "--seed", "9",
        "--ccfc-subaddress", "typed", "--ccfc-classes", "2,4,16", "--echo-off", "--no-advertise",
        "--wire-baud", "115200", "--latency", "30", "--hang-up-after", "12", "--line-noise", "~x",
        "--garbled"};
    // clang-format on
    ASSERT_TRUE(ParseProgramOptions(args, options, error)) << error;
    EXPECT_EQ(options.portName, "BENCH");
    EXPECT_FALSE(options.advertise);
    EXPECT_EQ(options.sim.password, "9876");
    EXPECT_EQ(options.sim.faults.refuseReads, (std::set<int>{5, 3001, 3002, 3003}));
    EXPECT_EQ(options.sim.faults.cmeError, 10);
    EXPECT_EQ(options.sim.faults.silentAfter, 4u);
    EXPECT_EQ(options.sim.faults.hangUpAfter, 12u);
    EXPECT_EQ(options.sim.faults.lineNoise, "~x");
    EXPECT_EQ(options.sim.faults.unsolicited, std::vector<std::string>{"RING"});
    EXPECT_EQ(options.sim.faults.unsolicitedEvery, 1u);
    EXPECT_TRUE(options.sim.faults.chunked);
    EXPECT_TRUE(options.sim.faults.garbled);
    EXPECT_EQ(options.sim.faults.seed, 9u);
    EXPECT_EQ(options.sim.forwardStyle.subaddress, ForwardReplyStyle::Subaddress::QuotedWithType);
    EXPECT_EQ(options.sim.forwardStyle.otherClasses, (std::vector<int>{2, 4, 16}));
    EXPECT_FALSE(options.sim.echo);
    EXPECT_EQ(options.sim.faults.wireBaud, 115200u);
    EXPECT_EQ(options.sim.faults.latency, std::chrono::milliseconds(30));
}

TEST(ProgramOptions, MistakesAreNamed)
{
    const std::vector<std::vector<std::string>> bad = {{"--bogus"},
                                                       {"--latency"},
                                                       {"--latency", "soon"},
                                                       {"--refuse-read", "9-3"},
                                                       {"--chunked=1"},
                                                       {"--ccfc-subaddress", "odd"},
                                                       {"--name", ""},
                                                       {"--wire-baud", "0"},
                                                       {"--wire-baud", "fast"},
                                                       {"--line-noise", "AT\r"}};
    for (const auto &args : bad) {
        ProgramOptions options;
        std::string error;
        EXPECT_FALSE(ParseProgramOptions(args, options, error)) << args[0];
        EXPECT_FALSE(error.empty());
    }
}
