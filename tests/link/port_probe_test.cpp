// The search for the terminal: a bare "AT" at one rate after another, and
// nothing at all to a port that another program holds.

#include "link/port_probe.h"
#include "platform/port_lock.h"
#include "tests/common/sim_terminal.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <thread>

using namespace std::chrono_literals;
using Outcome = ProbeResult::Outcome;

TEST(PortProbe, FindsTheTerminalAndTellsTheOtherPortsApart)
{
    auto terminal = StartSimulator();
    auto garbled = StartSimulator([](sim::SimOptions &o) { o.faults.garbled = true; });
    auto silent = StartSimulator([](sim::SimOptions &o) { o.faults.silentAfter = 0; });
    auto claimed = StartSimulator();
    auto opened = StartSimulator();
    platform::PortLock otherRun;
    ASSERT_EQ(otherRun.Acquire(claimed->SlavePath()), platform::PortLock::Result::Held);
    platform::SerialDevice otherProgram;
    ASSERT_TRUE(otherProgram.Open(opened->SlavePath()));

    struct Case
    {
        std::string port;
        Outcome outcome;
        std::string rate;
        bool heard;
        int error;
    };
    const Case cases[] = {
        {terminal->SlavePath(), Outcome::Answered, "9600", true, 0},
        {garbled->SlavePath(), Outcome::NoAnswer, "", true, 0},
        {silent->SlavePath(), Outcome::NoAnswer, "", false, 0},
        {claimed->SlavePath(), Outcome::InUse, "", false, 0},
        {opened->SlavePath(), Outcome::InUse, "", false, EBUSY},
        {"/dev/kestrel-no-such-port", Outcome::CannotOpen, "", false, ENOENT},
    };
    std::vector<std::string> ports;
    for (const Case &c : cases)
        ports.push_back(c.port);
    PortProbe probe(300ms);
    const std::vector<ProbeResult> results = probe.ProbeAll(ports, {"9600", "2400"});
    ASSERT_EQ(results.size(), std::size(cases));
    for (size_t i = 0; i < results.size(); ++i) {
        const Case &c = cases[i];
        EXPECT_EQ(results[i].port, c.port);
        EXPECT_EQ(results[i].outcome, c.outcome) << c.port;
        EXPECT_EQ(results[i].rate, c.rate) << c.port;
        EXPECT_EQ(results[i].heard, c.heard) << c.port;
        EXPECT_EQ(results[i].error.code, c.error) << c.port;
    }
    EXPECT_EQ(terminal->Commands(), std::vector<std::string>{"AT"}) << "one rate was enough";
    EXPECT_EQ(garbled->Commands(), (std::vector<std::string>{"AT", "AT"})) << "each rate once";
    EXPECT_EQ(claimed->CommandCount() + opened->CommandCount(), 0u) << "nothing to a port in use";
}

TEST(PortProbe, AStopEndsTheWaitAtOnce)
{
    auto silent = StartSimulator([](sim::SimOptions &o) { o.faults.silentAfter = 0; });
    PortProbe probe(1h); // the test would time out if the stop did not end it
    std::thread stopper([&] {
        silent->WaitForCommands(1, 10s);
        probe.Stop();
    });
    const ProbeResult result = probe.Probe(silent->SlavePath(), {"115200", "9600"});
    stopper.join();
    EXPECT_EQ(result.outcome, Outcome::Stopped);
    EXPECT_EQ(silent->CommandCount(), 1u) << "no rate after the stop";
    EXPECT_EQ(probe.Probe(silent->SlavePath(), {"115200"}).outcome, Outcome::Stopped);
    EXPECT_EQ(silent->CommandCount(), 1u);
}
