// Each fault the terminal can be told to show, seen over the pty.

#include "pty_client.h"
#include "sim/output_schedule.h"
#include "sim/terminal_simulator.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace sim;
using simtest::PtyClient;
using namespace std::chrono_literals;

namespace {

struct Running
{
    explicit Running(SimOptions options) : terminal(std::move(options))
    {
        std::string error;
        started = terminal.Start(error);
        if (started)
            client = std::make_unique<PtyClient>(terminal.SlavePath());
    }
    TerminalSimulator terminal;
    bool started = false;
    std::unique_ptr<PtyClient> client;
};

// Everything the terminal sends for `lines`, up to the last final reply.
std::string Transcript(SimOptions options, const std::vector<std::string> &lines)
{
    Running sim(std::move(options));
    std::string bytes;
    for (const std::string &line : lines)
        bytes += sim.client->Exchange(line + "\r");
    return bytes;
}

} // namespace

TEST(Faults, RefusedParametersAndCmeErrors)
{
    SimOptions options;
    options.faults.refuseReads = {5};
    options.faults.refuseWrites = {9999};
    Running sim(options);
    ASSERT_TRUE(sim.started);
    EXPECT_EQ(sim.client->Exchange("AT+RPAR=5\r"), "AT+RPAR=5\r\r\nERROR\r\n");
    EXPECT_EQ(sim.client->Exchange("AT+WPAR=9996,\"1234\"\r"), "AT+WPAR=9996,\"1234\"\r\r\nOK\r\n");
    EXPECT_EQ(sim.client->Exchange("AT+WPAR=9999\r"), "AT+WPAR=9999\r\r\nERROR\r\n");

    Faults cme;
    cme.cmeError = 3;
    sim.terminal.SetFaults(cme);
    EXPECT_EQ(sim.client->Exchange("AT+RPAR=4\r"), "AT+RPAR=4\r\r\n+CME ERROR: 3\r\n");
    EXPECT_EQ(sim.client->Exchange("AT+WPAR=9996,\"0\"\r"),
              "AT+WPAR=9996,\"0\"\r\r\n+CME ERROR: 16\r\n");
}

TEST(Faults, SilentAfterSomeCommandsKeepsListening)
{
    SimOptions options;
    options.faults.silentAfter = 1;
    Running sim(options);
    ASSERT_TRUE(sim.started);
    EXPECT_EQ(sim.client->Exchange("AT\r"), "AT\r\r\nOK\r\n");
    ASSERT_TRUE(sim.client->Send("AT+RPAR=5\r"));
    ASSERT_TRUE(sim.terminal.WaitForCommands(2, 5s));
    // Output keeps its order, so the marker proves nothing was sent before it.
    sim.terminal.SendUnsolicited("MARK");
    EXPECT_EQ(sim.client->ReadUntilContains("MARK\r\n"), "\r\nMARK\r\n");
    EXPECT_EQ(sim.terminal.Commands(), (std::vector<std::string>{"AT", "AT+RPAR=5"}));
}

TEST(Faults, LatencyHoldsTheReplyButNotTheEchoOrAStop)
{
    SimOptions options;
    options.faults.latency = 60s;
    Running sim(options);
    ASSERT_TRUE(sim.started);
    ASSERT_TRUE(sim.client->Send("AT\r"));
    EXPECT_EQ(sim.client->ReadUntilContains("AT\r"), "AT\r");
    EXPECT_TRUE(sim.client->Quiet());
    sim.terminal.Stop(); // must not wait for the reply

    options.faults.latency = 20ms;
    EXPECT_EQ(Transcript(options, {"AT"}), "AT\r\r\nOK\r\n");
}

TEST(Faults, UnsolicitedLinesBetweenReplies)
{
    SimOptions options;
    options.faults.unsolicited = {"RING", "+CMTI: \"SM\",3"};
    options.faults.unsolicitedEvery = 1;
    Running sim(options);
    ASSERT_TRUE(sim.started);
    sim.client->Send("AT\r");
    EXPECT_EQ(sim.client->ReadUntilContains("RING\r\n"), "AT\r\r\nOK\r\n\r\nRING\r\n");
    sim.client->Send("AT\r");
    EXPECT_EQ(sim.client->ReadUntilContains("3\r\n"), "AT\r\r\nOK\r\n\r\n+CMTI: \"SM\",3\r\n");
}

TEST(Faults, OverlongLineAtTheChosenReply)
{
    SimOptions options;
    options.faults.overlongAt = 2;
    options.faults.overlongLength = 1100;
    Running sim(options);
    ASSERT_TRUE(sim.started);
    EXPECT_EQ(sim.client->Exchange("AT\r"), "AT\r\r\nOK\r\n");
    EXPECT_EQ(sim.client->Exchange("AT\r"), "AT\r" + std::string(1100, 'X') + "\r\nOK\r\n");
}

TEST(Faults, ChunkedOutputCarriesTheSameBytes)
{
    const std::vector<std::string> script = {"AT+RPAR=7001", "AT+CCFC=0,2", "AT+RPAR=4",
                                             "AT+WPAR=9996,\"1234\"", "AT+RPAR=16212"};
    SimOptions chunked;
    chunked.faults.chunked = true;
    chunked.faults.seed = 7;
    chunked.faults.maxChunk = 5;
    EXPECT_EQ(Transcript(chunked, script), Transcript(SimOptions(), script));
}

TEST(OutputSchedule, ChunksAreSmallPausedAndComplete)
{
    int pipeFds[2];
    ASSERT_EQ(::pipe2(pipeFds, O_NONBLOCK), 0);
    OutputSchedule output;
    output.SetChunking(true, 4, 1ms);
    output.Seed(3);
    const std::string text = "\r\n+RPAR: 89550311000012345678\r\n\r\nOK\r\n";
    auto now = OutputSchedule::Clock::time_point();
    output.Push(text, now);

    std::string received;
    int pieces = 0;
    while (!output.Empty()) {
        const auto result = output.Flush(pipeFds[1], now);
        ASSERT_FALSE(result.failed);
        char buffer[64];
        const ssize_t got = ::read(pipeFds[0], buffer, sizeof buffer);
        ASSERT_GT(got, 0);
        ASSERT_LE(got, 4);
        received.append(buffer, static_cast<std::size_t>(got));
        ++pieces;
        if (!output.Empty()) {
            ASSERT_TRUE(result.due.has_value()) << "the next piece waits";
            EXPECT_EQ(*result.due, now + 1ms);
            now = *result.due;
        }
    }
    EXPECT_EQ(received, text);
    EXPECT_GT(pieces, static_cast<int>(text.size() / 4));
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
}
