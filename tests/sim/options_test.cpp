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
        "--garbled", "--refuse-write", "0-100000"};
    // clang-format on
    ASSERT_TRUE(ParseProgramOptions(args, options, error)) << error;
    EXPECT_EQ(options.portName, "BENCH");
    EXPECT_FALSE(options.advertise);
    EXPECT_EQ(options.sim.password, "9876");
    EXPECT_EQ(options.sim.faults.refuseReads, (std::set<int>{5, 3001, 3002, 3003}));
    EXPECT_EQ(options.sim.faults.refuseWrites.size(), 100001u); // the widest range taken
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
    using Args = std::vector<std::string>;
    // clang-format off
    const std::pair<Args, std::string> bad[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"--latency"}, "option --latency needs a value"},
        {{"--latency", "soon"}, "bad value 'soon' for --latency"},
        {{"--refuse-read", "9-3"}, "bad value '9-3' for --refuse-read"},
        {{"--refuse-read", "0-100001"}, "bad value '0-100001' for --refuse-read"},
        {{"--chunked=1"}, "option --chunked takes no value"},
        {{"--ccfc-subaddress", "odd"}, "bad value 'odd' for --ccfc-subaddress"},
        {{"--name", ""}, "bad value '' for --name"},
        {{"--wire-baud", "0"}, "bad value '0' for --wire-baud"},
        {{"--max-chunk", "0"}, "bad value '0' for --max-chunk"},
        {{"--wire-baud", "fast"}, "bad value 'fast' for --wire-baud"},
        {{"--line-noise", "AT\r"}, "bad value 'AT\r' for --line-noise"},
    };
    // clang-format on
    for (const auto &[args, expected] : bad) {
        ProgramOptions options;
        std::string error;
        EXPECT_FALSE(ParseProgramOptions(args, options, error)) << args[0];
        EXPECT_EQ(error, expected);
    }
}
