// Scripted sessions over the pty with plain reads and writes, as the tool's
// serial port sees the terminal.

#include "tests/common/pty_pair.h"
#include "tests/common/sim_terminal.h"
#include "tests/common/temp_folder.h"

#include <gtest/gtest.h>

using namespace sim;
using namespace std::chrono_literals;

namespace {

std::string Answer(const std::string &line, const std::vector<std::string> &info,
                   const std::string &final)
{
    std::string bytes = line + "\r";
    for (const std::string &text : info)
        bytes += "\r\n" + text + "\r\n";
    return bytes + "\r\n" + final + "\r\n";
}

struct Step
{
    std::string line;
    std::vector<std::string> info;
    std::string final;
};

class Session : public ::testing::Test
{
protected:
    void Start(const SimSetUp &setUp = {})
    {
        m_terminal = StartSimulator(setUp);
        m_client = std::make_unique<PtyClient>(m_terminal->SlavePath());
        ASSERT_TRUE(m_client->IsOpen());
    }
    void Run(const std::vector<Step> &script)
    {
        for (const Step &step : script)
            EXPECT_EQ(m_client->Exchange(step.line + "\r"),
                      Answer(step.line, step.info, step.final));
    }

    std::unique_ptr<TerminalSimulator> m_terminal;
    std::unique_ptr<PtyClient> m_client;
};

} // namespace

TEST_F(Session, StateFileCarriesValuesAcrossRuns)
{
    TempFolder folder;
    const SimSetUp withStateFile = [&](SimOptions &o) { o.stateFile = folder.File("state"); };
    Start(withStateFile);
    Run({{"AT+WPAR=9996,\"1234\"", {}, "OK"},
         {"AT+WPAR=16212,\"5550100\"", {}, "OK"},
         {"AT+WPAR=9999", {}, "OK"},
         {"AT+WPAR=9995", {}, "OK"},
         {"AT&W", {}, "OK"}});
    m_client.reset();
    m_terminal->Stop();

    Start(withStateFile);
    std::string error; // a second start of a running terminal changes nothing
    EXPECT_FALSE(m_terminal->Start(error));
    EXPECT_EQ(error, "the terminal is already running");
    Run({{"AT+RPAR=16212", {"+RPAR: 5550100"}, "OK"}, {"AT+RPAR=16213", {"+RPAR: "}, "OK"}});
}

TEST_F(Session, EchoOffAndLineFeedsBetweenCommands)
{
    Start([](SimOptions &o) { o.echo = false; });
    EXPECT_EQ(m_client->Exchange("\nAT\r\n"), "\r\nOK\r\n");
    EXPECT_EQ(m_client->Exchange("ATE1\r"), "\r\nOK\r\n");
    EXPECT_EQ(m_client->Exchange("AT\r"), "AT\r\r\nOK\r\n");
}

TEST_F(Session, OverlongCommandLineIsRefusedWhole)
{
    Start();
    // Cut to its first 1024 bytes the line would be a good login; it must not count as one.
    const std::string longLine = "AT+WPAR=9996,\"1234\"" + std::string(1100, ' ');
    const std::string reply = m_client->Exchange(longLine + "\r");
    EXPECT_EQ(reply, longLine.substr(0, 1024) + "\r\r\nERROR\r\n");
    EXPECT_FALSE(m_terminal->InTransaction());
    Run({{"AT", {}, "OK"}});
}

TEST_F(Session, BurstOfCommandsLosesNothing)
{
    // Far more output than the terminal keeps pending, so it has to hold
    // back input until the tool reads.
    Start();
    constexpr int kCommands = 3000;
    const std::string line = "AT+RPAR=7001\r";
    const std::string answer = Answer("AT+RPAR=7001", {"+RPAR: 89550311000012345678"}, "OK");
    std::string all;
    for (int i = 0; i < kCommands; ++i)
        all += line;
    ASSERT_TRUE(m_client->WriteWhileReading(all));
    std::string expected;
    for (int i = 0; i < kCommands; ++i)
        expected += answer;
    EXPECT_EQ(m_client->ReadUntil(
                  [&](const std::string &bytes) { return bytes.size() >= expected.size(); }),
              expected);
    EXPECT_EQ(m_terminal->CommandCount(), static_cast<std::size_t>(kCommands));
}
