// Each fault the terminal can be told to show, seen over the pty.

#include "sim/output_schedule.h"
#include "tests/common/pty_pair.h"
#include "tests/common/sim_terminal.h"

#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace sim;
using namespace std::chrono_literals;

namespace {

struct Running
{
    explicit Running(const SimSetUp &setUp)
        : terminal(StartSimulator(setUp)), client(terminal->SlavePath())
    {}
    std::unique_ptr<TerminalSimulator> terminal;
    PtyClient client;
};

} // namespace

TEST(Faults, HangUpClosesThePtyInsteadOfAnsweringAndAStartBringsTheStateBack)
{
    Running sim([](SimOptions &o) { o.faults.hangUpAfter = 2; });
    const std::string before = sim.terminal->Value(16543).value_or("?");
    EXPECT_EQ(sim.client.Exchange("AT+WPAR=9996,\"1234\"\r"), "AT+WPAR=9996,\"1234\"\r\r\nOK\r\n");
    EXPECT_EQ(sim.client.Exchange("AT+WPAR=16543,\"6\"\r"), "AT+WPAR=16543,\"6\"\r\r\nOK\r\n");
    EXPECT_FALSE(sim.terminal->HungUp());
    ASSERT_TRUE(sim.client.Write("AT+RPAR=16543\r"));
    ASSERT_TRUE(sim.terminal->WaitForCommands(3, 5s));
    // Nothing of the third line comes back, not even its echo; the line ends.
    EXPECT_EQ(sim.client.ReadUntil([](const std::string &) { return false; }), "");
    pollfd fd{sim.client.Fd(), POLLIN, 0};
    ASSERT_EQ(::poll(&fd, 1, 5000), 1);
    EXPECT_TRUE(fd.revents & POLLHUP);
    EXPECT_TRUE(sim.terminal->HungUp());

    sim.terminal->Stop();
    sim.terminal->SetFaults({});
    std::string error;
    ASSERT_TRUE(sim.terminal->Start(error)) << error;
    EXPECT_FALSE(sim.terminal->HungUp());
    PtyClient back(sim.terminal->SlavePath());
    EXPECT_EQ(back.Exchange("AT+RPAR=16543\r"),
              "AT+RPAR=16543\r\r\n+RPAR: " + before + "\r\n\r\nOK\r\n")
        << "the staged value went with the transaction the cable cut";
}

// Out of file descriptors the terminal does not start and says what it could
// not do: with one to spare the pty does not open, with two it opens but
// the terminal has none left for its wake-up.
TEST(Faults, AStartWithoutDescriptorsToSpareSaysWhatFailed)
{
    const int lowest = ::dup(0);
    ASSERT_GE(lowest, 0);
    ::close(lowest);
    ASSERT_EQ(::fcntl(lowest + 1, F_GETFD), -1) << "the next descriptor is free as well";
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &old), 0);
    for (const auto &[spare, says] :
         {std::pair{1, "cannot open a pty: "}, {2, "cannot set up the pty: "}}) {
        TerminalSimulator terminal(SimOptionsWith({}));
        rlimit low = old;
        low.rlim_cur = rlim_t(lowest + spare);
        std::string error;
        ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
        const bool started = terminal.Start(error);
        ::setrlimit(RLIMIT_NOFILE, &old);
        EXPECT_FALSE(started);
        EXPECT_EQ(error, says + std::string(std::strerror(EMFILE)));
        EXPECT_FALSE(terminal.Running());
    }
}

TEST(Faults, LatencyHoldsTheReplyButNotTheEchoOrAStop)
{
    Running sim([](SimOptions &o) { o.faults.latency = 60s; });
    ASSERT_TRUE(sim.client.Write("AT\r"));
    EXPECT_EQ(sim.client.ReadUntilContains("AT\r"), "AT\r");
    EXPECT_TRUE(sim.client.Quiet());
    sim.terminal->Stop(); // must not wait for the reply
}

TEST(Faults, UnsolicitedLinesBetweenReplies)
{
    Running sim([](SimOptions &o) {
        o.faults.unsolicited = {"RING", "+CMTI: \"SM\",3"};
        o.faults.unsolicitedEvery = 1;
    });
    sim.client.Write("AT\r");
    EXPECT_EQ(sim.client.ReadUntilContains("RING\r\n"), "AT\r\r\nOK\r\n\r\nRING\r\n");
    sim.client.Write("AT\r");
    EXPECT_EQ(sim.client.ReadUntilContains("3\r\n"), "AT\r\r\nOK\r\n\r\n+CMTI: \"SM\",3\r\n");
}

namespace {

// A non-blocking pipe standing for the pty: what Flush writes is read back.
struct PipeEnds
{
    PipeEnds()
    {
        int fds[2];
        EXPECT_EQ(::pipe2(fds, O_NONBLOCK), 0);
        read.Reset(fds[0]);
        write.Reset(fds[1]);
    }
    std::string Take()
    {
        char buffer[256];
        const ssize_t got = ::read(read.Get(), buffer, sizeof buffer);
        return got > 0 ? std::string(buffer, static_cast<std::size_t>(got)) : std::string();
    }
    platform::UniqueFd read, write;
};

} // namespace

TEST(OutputSchedule, ChunksAreSmallPausedAndComplete)
{
    PipeEnds pipe;
    OutputSchedule output;
    output.SetChunking(true, 4, 1ms);
    output.Seed(3);
    const std::string text = "\r\n+RPAR: 89550311000012345678\r\n\r\nOK\r\n";
    auto now = OutputSchedule::Clock::time_point();
    output.Push(text, now);

    std::string received;
    int pieces = 0;
    while (!output.Empty()) {
        const auto result = output.Flush(pipe.write.Get(), now);
        ASSERT_FALSE(result.failed);
        const std::string piece = pipe.Take();
        ASSERT_FALSE(piece.empty());
        ASSERT_LE(piece.size(), 4u);
        received += piece;
        ++pieces;
        if (!output.Empty()) {
            ASSERT_TRUE(result.due.has_value()) << "the next piece waits";
            EXPECT_EQ(*result.due, now + 1ms);
            now = *result.due;
        }
    }
    EXPECT_EQ(received, text);
    EXPECT_GT(pieces, static_cast<int>(text.size() / 4));
}

TEST(OutputSchedule, APacedWireNeverHandsOverMoreThanItCarries)
{
    // 9600 baud: ten bits a byte, 1041667 ns each.
    const auto byteTime = std::chrono::nanoseconds(1041667);
    struct Case
    {
        const char *name;
        bool chunked;
    };
    for (const Case c : {Case{"whole", false}, Case{"chunked", true}}) {
        PipeEnds pipe;
        OutputSchedule output;
        output.SetWireBaud(9600);
        output.SetChunking(c.chunked, 5, 0ms);
        const std::string text = "AT+RPAR=16212\r\r\n+RPAR: 5511900000001\r\n\r\nOK\r\n";
        const auto start = OutputSchedule::Clock::time_point() + 1h;
        output.Push(text, start);
        std::string received;
        auto now = start;
        while (!output.Empty()) {
            const auto result = output.Flush(pipe.write.Get(), now);
            ASSERT_FALSE(result.failed);
            received += pipe.Take();
            ASSERT_LE(received.size(), static_cast<std::size_t>((now - start) / byteTime))
                << c.name << ": more than the wire carries by then";
            if (!output.Empty()) {
                ASSERT_TRUE(result.due.has_value()) << c.name;
                ASSERT_GT(*result.due, now) << c.name << ": the wire waits for the next bytes";
                now = *result.due;
            }
        }
        EXPECT_EQ(received, text) << c.name;
        EXPECT_EQ(now - start, byteTime * static_cast<int64_t>(text.size()))
            << c.name << ": the last byte goes the moment it has crossed";
    }
}

TEST(OutputSchedule, TheWriteCarryingTheFinalCrIsStamped)
{
    // In pieces of 1..4 bytes the final CR goes out in one of them; that
    // write, and only that one, reports the final reply as sent.
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        PipeEnds pipe;
        OutputSchedule output;
        output.SetChunking(true, 4, 1ms);
        output.Seed(seed);
        const std::string reply = "\r\n+RPAR: 5\r\n\r\nOK\r\n";
        const std::size_t finalLineEnd = reply.size() - 1;
        output.Push("AT+RPAR=5\r", {});
        output.Push(reply, {}, finalLineEnd);
        std::string received;
        int stamps = 0;
        auto now = OutputSchedule::Clock::time_point();
        while (!output.Empty()) {
            const auto result = output.Flush(pipe.write.Get(), now);
            now = result.due.value_or(now);
            ASSERT_FALSE(result.failed);
            const std::size_t before = received.size();
            received += pipe.Take();
            const bool carriedCr = before < received.size() &&
                                   received.size() >= 10 + finalLineEnd &&
                                   before < 10 + finalLineEnd;
            EXPECT_EQ(result.finalRepliesSent.size(), carriedCr ? 1u : 0u) << "seed " << seed;
            stamps += static_cast<int>(result.finalRepliesSent.size());
        }
        EXPECT_EQ(stamps, 1) << "seed " << seed;
    }
}

TEST(Faults, TheTimelineHoldsEveryArrivalAndEachFinalReply)
{
    Running sim([](SimOptions &o) {
        o.faults.silentAfter = 2;
        o.faults.refuseReads = {99};
        o.faults.chunked = true;
        o.faults.wireBaud = 115200;
    });
    EXPECT_EQ(sim.client.Exchange("AT+RPAR=5\r"), "AT+RPAR=5\r\r\n+RPAR: 00\r\n\r\nOK\r\n");
    EXPECT_EQ(sim.client.Exchange("AT+RPAR=99\r"), "AT+RPAR=99\r\r\nERROR\r\n");
    ASSERT_TRUE(sim.client.Write("AT\r"));
    ASSERT_TRUE(sim.terminal->WaitForCommands(3, 10s));

    using Kind = TimelineEntry::Kind;
    const std::vector<TimelineEntry> timeline = sim.terminal->Timeline();
    std::vector<Kind> kinds;
    for (const TimelineEntry &entry : timeline)
        kinds.push_back(entry.kind);
    EXPECT_EQ(kinds,
              (std::vector<Kind>{Kind::CommandArrived, Kind::FinalReplySent, Kind::CommandArrived,
                                 Kind::FinalReplySent, Kind::CommandArrived}))
        << "the silent terminal sends no final reply to the third";
    EXPECT_TRUE(
        std::is_sorted(timeline.begin(), timeline.end(),
                       [](const TimelineEntry &a, const TimelineEntry &b) { return a.at < b.at; }));
    sim.terminal->ClearCommands();
    EXPECT_TRUE(sim.terminal->Timeline().empty());
}
