#include "cli/cli_options.h"

#include <gtest/gtest.h>

using Args = std::vector<std::string>;

TEST(CliOptions, AcceptsTheThreeCommands)
{
    ParseResult read = ParseCommandLine({"read", "--port", "SIM0", "--password", "1234",
                                         "--forward", "--language", "pt", "--out", "o.ini"});
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.options.command, CliOptions::Command::Read);
    EXPECT_TRUE(read.options.forward);
    EXPECT_EQ(read.options.language, 2);
    EXPECT_EQ(read.options.baud, "115200");

    ParseResult write = ParseCommandLine({"write", "--port", "/dev/ttyUSB0", "--password", "1234",
                                          "--baud", "9600", "--dir", "/tmp/k", "--quiet", "c.ini"});
    ASSERT_TRUE(write.ok) << write.error;
    EXPECT_EQ(write.options.file, "c.ini");
    EXPECT_EQ(write.options.baud, "9600");
    EXPECT_TRUE(write.options.quiet);

    ParseResult passwd =
        ParseCommandLine({"passwd", "--port", "SIM0", "--password", "1234", "--new", "5678"});
    ASSERT_TRUE(passwd.ok) << passwd.error;
    EXPECT_EQ(passwd.options.newPassword, "5678");

    ParseResult verify = ParseCommandLine(
        {"verify", "--port", "SIM0", "--password", "1234", "--forward", "--gap", "0", "c.ini"});
    ASSERT_TRUE(verify.ok) << verify.error;
    EXPECT_EQ(verify.options.command, CliOptions::Command::Verify);
    EXPECT_EQ(verify.options.file, "c.ini");
    EXPECT_TRUE(verify.options.forward);
    EXPECT_EQ(verify.options.gap, 0);
    EXPECT_EQ(read.options.gap, 20) << "the gap terminals have always had";

    // An empty password is the login's business (exit 1), not wrong usage.
    EXPECT_TRUE(ParseCommandLine({"read", "--port", "SIM0", "--password", "", "--out", "o"}).ok);
}

TEST(CliOptions, RefusesWrongUsage)
{
    const Args wrong[] = {
        {},
        {"erase"},
        {"read", "--password", "1234", "--out", "o"},                        // no port
        {"read", "--port", "SIM0", "--out", "o"},                            // no password
        {"read", "--port", "SIM0", "--password", "1234"},                    // no --out
        {"read", "--port", "SIM0", "--password", "1234", "--out", "o", "x"}, // stray FILE
        {"write", "--port", "SIM0", "--password", "1234"},                   // no FILE
        {"write", "--port", "SIM0", "--password", "1234", "a", "b"},
        {"write", "--port", "SIM0", "--password", "1234", "--forward", "a"},
        {"passwd", "--port", "SIM0", "--password", "1234"}, // no --new
        {"read", "--port", "SIM0", "--password", "1234", "--new", "1", "--out", "o"},
        {"read", "--port", "SIM0", "--password", "1234", "--language", "de", "--out", "o"},
        {"read", "--port"},
        {"read", "--port", "SIM0", "--password", "1234", "--out", "o", "--verbose"},
        {"verify", "--port", "SIM0", "--password", "1234"},                    // no FILE
        {"verify", "--port", "SIM0", "--password", "1234", "--out", "o", "a"}, // nowhere to write
        {"read", "--port", "SIM0", "--password", "1234", "--out", "o", "--gap"},
        {"ports", "--port", "SIM0"},
        {"--version", "ports"},
    };
    for (const Args &args : wrong) {
        const ParseResult result = ParseCommandLine(args);
        EXPECT_FALSE(result.ok) << ::testing::PrintToString(args);
        EXPECT_FALSE(result.error.empty());
    }
    EXPECT_TRUE(ParseCommandLine({"--help"}).help);
    const ParseResult version = ParseCommandLine({"--version"}),
                      ports = ParseCommandLine({"ports"});
    EXPECT_TRUE(version.version && !version.listPorts);
    EXPECT_TRUE(ports.listPorts && !ports.version);
}

TEST(CliOptions, TheGapIsWholeMillisecondsUpToASecond)
{
    const std::pair<const char *, int> accepted[] = {
        {"0", 0}, {"20", 20}, {"0500", 500}, {"1000", 1000}};
    for (const auto &[text, gap] : accepted) {
        const ParseResult result = ParseCommandLine(
            {"write", "--port", "SIM0", "--password", "1234", "--gap", text, "c.ini"});
        ASSERT_TRUE(result.ok) << text << ": " << result.error;
        EXPECT_EQ(result.options.gap, gap) << text;
    }
    for (const char *text : {"1001", "-1", "", "20ms", "2.5", " 20", "99999"}) {
        const ParseResult result = ParseCommandLine(
            {"write", "--port", "SIM0", "--password", "1234", "--gap", text, "c.ini"});
        EXPECT_FALSE(result.ok) << text;
        EXPECT_EQ(result.error, "--gap must be a whole number of milliseconds from 0 to 1000")
            << text;
    }
}
