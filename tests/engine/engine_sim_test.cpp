// The engine against the simulated terminal on a real pty: the port, the
// line reception, the two engine threads and the operations, as the
// command-line front end runs them.

#include "engine/comm_engine.h"
#include "engine/engine_globals.h"
#include "engine/headless_window.h"
#include "engine/job_request.h"
#include "engine/operations.h"
#include "engine/temp_parameter_file.h"
#include "link/serial_port.h"
#include "link/shared_settings.h"
#include "params/ini_file.h"
#include "params/read_lists.h"
#include "platform/messages.h"
#include "platform/port_names.h"
#include "platform/unique_fd.h"
#include "tests/common/file_size_limit.h"
#include "tests/common/sim_terminal.h"
#include "tests/common/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

namespace {

class EngineOverSim : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_strAppDir = m_dir.Path() + "/";
        g_strBaudRate = "115200";
        g_strSoftwarePassword = "1234";
        g_nJobTimeout = 30000;
    }
    void TearDown() override
    {
        if (engine) {
            engine->Stop();
            EXPECT_TRUE(engine->Comm().Thread().Ended() && engine->Fifo().Thread().Ended());
        }
        port.ClosePort();
    }

    void StartTerminal(const SimSetUp &setUp = {})
    {
        terminal = StartSimulator([&](sim::SimOptions &options) {
            options.faults.chunked = true; // as a real adapter splits the bytes
            if (setUp)
                setUp(options);
        });
        g_strPortName = terminal->SlavePath();
        engine = std::make_unique<CommEngine>(port, lists);
        operations = std::make_unique<Operations>(port, *engine, lists, window);
        window.RouteLinesToEngine(*engine, *operations, nullptr, [this](const JobReport &report) {
            reports.push_back(report);
            jobEnded = jobEnded || report.jobEnded;
        });
        window.OnWatchdog([this] { watchdogFired = true; });
        engine->Start();
        engine->Start(); // a second start leaves the running threads alone
    }

    bool RunUntilEnded(platform::Millis timeout = 60s)
    {
        return window.Queue().RunUntil([this] { return jobEnded || watchdogFired; }, timeout);
    }
    // Reads the numbers (or what `append` lists) to the end of the job.
    void Read(const Strings &numbers, const std::function<void(ReadLists &)> &append = {})
    {
        jobEnded = watchdogFired = false;
        texts.clear();
        reports.clear();
        ASSERT_TRUE(operations->Receive([&](ReadLists &l) {
            for (const std::string &number : numbers)
                l.AppendNumber(number);
            if (append)
                append(l);
        }));
        ASSERT_TRUE(RunUntilEnded());
    }
    // After a fault, the terminal well again: the next job runs normally.
    void ExpectTheNextReadToSucceed()
    {
        terminal->SetFaults({});
        g_nJobTimeout = 30000;
        Read({"35"});
        EXPECT_FALSE(watchdogFired);
        EXPECT_TRUE(Shown("Read parameter success!"));
        EXPECT_TRUE(PortCloses() && Logged("comm activated for reading\r\r\n") &&
                    Logged("comm closed after reading\r\n\r\n"));
    }
    // Jobs close the port right after posting their last message.
    bool PortCloses()
    {
        return window.Queue().RunUntil([this] { return !port.IsOpen(); }, 10s);
    }
    bool Shown(const std::string &text) const
    {
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }
    size_t CommandsSent(const std::string &prefix) const
    {
        const Strings commands = terminal->Commands();
        return std::count_if(commands.begin(), commands.end(),
                             [&](const std::string &c) { return c.rfind(prefix, 0) == 0; });
    }
    // Whether the AT log of the port holds `note`.
    bool Logged(const std::string &note) const
    {
        return ReadBytes(m_dir.Path() + "/" + platform::PortFileName(g_strPortName) + "AtLog.ini")
                   .find(note) != std::string::npos;
    }
    std::string TempFileValue(const char *section, const char *key)
    {
        return CIniFile(TempParameterFilePath()).GetString(section, key, "?");
    }

    TempFolder m_dir;
    CSerialPort port;
    Strings texts;
    HeadlessWindow window{port, [this](const std::string &text, bool) { texts.push_back(text); }};
    ReadLists lists;
    std::unique_ptr<sim::TerminalSimulator> terminal;
    std::unique_ptr<CommEngine> engine;
    std::unique_ptr<Operations> operations;
    std::vector<JobReport> reports;
    bool jobEnded = false;
    bool watchdogFired = false;
};

const auto kWriteSomeValues = [](const std::string &path) {
    CIniFile file(path);
    file.WriteString("PARA", "16544", "\"09\"");
    file.WriteString("PARA", "16543", "\"3\"");
    file.WriteString("ATCMD", "AT+CCFC1", "\"1,3,\"+5550100\",145\"");
    return std::string();
};

TEST_F(EngineOverSim, ASecondReadWhileTheFirstIsQueuedOrRunningIsDropped)
{
    StartTerminal();
    ASSERT_TRUE(operations->Receive([](ReadLists &l) {
        for (const char *number : {"2", "5", "35"})
            l.AppendNumber(number);
    }));
    engine->SubmitJob(kJobRead);
    engine->SubmitJob(kJobRead);
    ASSERT_TRUE(RunUntilEnded());
    // Let anything queued behind the first job show itself.
    window.Queue().RunUntil([] { return false; }, 300ms);
    EXPECT_EQ(CommandsSent("AT+RPAR="), 3u);
    EXPECT_EQ(std::count_if(reports.begin(), reports.end(),
                            [](const JobReport &r) { return r.jobEnded; }),
              1);
}

TEST_F(EngineOverSim, ALineEverySoOftenKeepsALongJobAlive)
{
    // Thirty reads of 100 ms each: the job lasts three time-outs, and only
    // a watchdog restarted by every line lets it finish.
    StartTerminal([](sim::SimOptions &o) { o.faults.latency = 100ms; });
    g_nJobTimeout = 1000;
    Strings numbers;
    for (int round = 0; round < 3; ++round)
        numbers.insert(numbers.end(),
                       {"2", "5", "35", "1000", "34", "3000", "5000", "16541", "16542", "16546"});
    Read(numbers);
    EXPECT_FALSE(watchdogFired);
    EXPECT_TRUE(Shown("Read parameter success!"));
    EXPECT_EQ(CommandsSent("AT+RPAR="), numbers.size());
}

TEST_F(EngineOverSim, AStrayOkAfterEveryReplyPutsNoJobOutOfStep)
{
    StartTerminal([](sim::SimOptions &o) {
        o.faults.unsolicited = {"OK"};
        o.faults.unsolicitedEvery = 1;
    });
    const Strings numbers = {"2", "5", "35", "16543"};
    for (size_t i = 0; i < numbers.size(); ++i)
        terminal->SetValue(std::stoi(numbers[i]), "1" + std::to_string(i));
    Read(numbers);
    EXPECT_TRUE(Shown("Read parameter success!"));
    for (size_t i = 0; i < numbers.size(); ++i)
        EXPECT_EQ(TempFileValue("PARA", numbers[i].c_str()), "1" + std::to_string(i)) << numbers[i];

    jobEnded = false;
    ASSERT_TRUE(operations->Transmit(nullptr, nullptr, kWriteSomeValues));
    ASSERT_TRUE(RunUntilEnded());
    EXPECT_TRUE(Shown("Save AT command success!"));
    EXPECT_TRUE(PortCloses());
    EXPECT_EQ(*terminal->Value(16544), "09");
    EXPECT_EQ(*terminal->Value(16543), "3");
    EXPECT_EQ(CommandsSent("AT&W"), 1u);
    EXPECT_FALSE(terminal->InTransaction());
    EXPECT_TRUE(Logged("the reply above answers no command in flight and was ignored"));
}

TEST_F(EngineOverSim, AnOverlongLineEndsTheReadAtTheParameterItCameWith)
{
    StartTerminal([](sim::SimOptions &o) { o.faults.overlongAt = 2; });
    g_nJobTimeout = 10000; // a stalled reception would end in the watchdog
    Read({"2", "5", "35"});
    EXPECT_FALSE(watchdogFired);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "receive buffer overflow!"), 1);
    EXPECT_TRUE(Shown("Error: The answer for Enable Long Distance Call Block had a line longer "
                      "than 1024 characters, which was lost!"))
        << ::testing::PrintToString(texts);
    EXPECT_TRUE(reports.back().failure);
    EXPECT_EQ(CommandsSent("AT+RPAR="), 2u);
    EXPECT_TRUE(Logged("a line longer than 1024 characters was dropped"));
    EXPECT_FALSE(port.IsOpen());
    ExpectTheNextReadToSucceed();
}

TEST_F(EngineOverSim, AReadThatCannotStoreItsValuesEndsAsAFailure)
{
    StartTerminal();
    const FileSizeLimit fullDisk(8); // the file takes no value
    Read({"2", "5"});
    EXPECT_FALSE(Shown("Read parameter success!"));
    const std::string expected = "Error: Could not save the values read! Cannot write \"" +
                                 TempParameterFilePath() + "\": File too large";
    EXPECT_TRUE(Shown(expected)) << ::testing::PrintToString(texts);
    ASSERT_FALSE(reports.empty());
    EXPECT_TRUE(reports.back().failure);
    EXPECT_EQ(CommandsSent("AT+RPAR="), 1u) << "the read stops at the first value it cannot keep";
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(window.ControlsEnabled());
}

TEST_F(EngineOverSim, ARefusedEntryKeepsTheOperationsDisabledUntilTheJobHasEnded)
{
    StartTerminal([](sim::SimOptions &o) { o.faults.refuseWrites = {16544}; });
    std::vector<bool> enabledAtReport;
    window.RouteLinesToEngine(*engine, *operations, nullptr, [&](const JobReport &report) {
        enabledAtReport.push_back(window.ControlsEnabled());
        jobEnded = jobEnded || report.jobEnded;
    });
    ASSERT_TRUE(operations->Transmit(nullptr, nullptr, kWriteSomeValues));
    ASSERT_TRUE(RunUntilEnded());
    EXPECT_TRUE(Shown("Error: Fail to write parameter [1].Error Change TX Volume!"));
    EXPECT_TRUE(Shown("Save AT command success!")) << "the transaction was still saved and ended";
    ASSERT_GE(enabledAtReport.size(), 2u);
    EXPECT_EQ(std::count(enabledAtReport.begin(), enabledAtReport.end() - 1, true), 0)
        << "no operation could be started while the job ran";
    EXPECT_TRUE(enabledAtReport.back());
}

TEST_F(EngineOverSim, AJobQueuedBehindATimedOutOneRunsUnderItsOwnWatchdog)
{
    StartTerminal([](sim::SimOptions &o) { o.faults.silentAfter = 1; });
    g_nJobTimeout = 300;
    ASSERT_TRUE(operations->Receive([](ReadLists &l) {
        for (const char *number : {"2", "5"})
            l.AppendNumber(number);
    }));
    g_strNewPassword = g_strConfirmPassword = "98765";
    ASSERT_TRUE(engine->SubmitJob(kJobModifyPassword)); // waits behind the read
    const auto overtimes = [this] { return std::count(texts.begin(), texts.end(), kOvertimeText); };
    // The terminal stays silent, so the password job can end only through
    // a watchdog of its own: the read's expiry must neither drop its queue
    // entry nor stop the timer its start armed.
    EXPECT_TRUE(window.Queue().RunUntil([&] { return overtimes() >= 2; }, 10s))
        << ::testing::PrintToString(texts);
    EXPECT_TRUE(window.Queue().RunUntil([] { return g_hFifoGate.IsSet(); }, 10s))
        << "nothing left queued behind the dropped jobs";
    EXPECT_FALSE(engine->JobRunning());
    EXPECT_EQ(overtimes(), 2);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(window.ControlsEnabled());
    ExpectTheNextReadToSucceed();
}

TEST_F(EngineOverSim, APulledCableEndsTheWriteAtOnceSayingWhatTheTerminalHolds)
{
    // The login and the first entry are answered; the cable goes at the second.
    StartTerminal([](sim::SimOptions &o) { o.faults.hangUpAfter = 2; });
    ASSERT_TRUE(operations->Transmit(nullptr, nullptr, kWriteSomeValues));
    ASSERT_TRUE(RunUntilEnded(20s)) << "long before the watchdog's 30 s";
    EXPECT_FALSE(watchdogFired);
    EXPECT_TRUE(Shown("Error: The terminal was disconnected from the port " + g_strPortName + "!"));
    EXPECT_TRUE(Shown("Written but not saved on the terminal: parameter 1 of 2. Sent without an "
                      "answer: parameter 2. Not sent: AT command 1."))
        << ::testing::PrintToString(texts);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(window.ControlsEnabled());

    // Plugged in again, the terminal is read as ever.
    terminal->Stop();
    std::string error;
    ASSERT_TRUE(terminal->Start(error)) << error;
    g_strPortName = terminal->SlavePath();
    ExpectTheNextReadToSucceed();
}

TEST_F(EngineOverSim, PasswordChangeThenTheNewPasswordOpensTheTransaction)
{
    StartTerminal();
    ASSERT_TRUE(operations->ChangePassword("98765", "98765"));
    ASSERT_TRUE(RunUntilEnded());
    EXPECT_TRUE(Shown("Successfully changed password!"));
    EXPECT_EQ(terminal->Password(), "98765");
    EXPECT_EQ(g_strSoftwarePassword, "98765");
    EXPECT_TRUE(PortCloses());
    EXPECT_EQ(CommandsSent("AT+WPAR=9995"), 1u) << "the transaction was ended before the close";
}

// The PIN file is written once the port is open; either failing starts no job.
TEST_F(EngineOverSim, APinChangeThatCannotOpenThePortOrWriteItsFileSaysSoAndStartsNoJob)
{
    StartTerminal();
    const std::string gone = m_dir.Path() + "/gone";
    // The port, what writing the file answers, and the one text shown.
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {gone, "", "can`t open port :  " + gone + " !"},
        {terminal->SlavePath(), "disk full", "disk full"},
    };
    for (const auto &[portName, writeError, shown] : cases) {
        g_strPortName = portName;
        texts.clear();
        bool wrote = false;
        EXPECT_FALSE(operations->ChangePin([&](const std::string &) {
            wrote = true;
            return writeError;
        }));
        EXPECT_EQ(wrote, !writeError.empty()) << shown;
        EXPECT_EQ(texts, Strings{shown});
        EXPECT_TRUE(window.ControlsEnabled());
    }
    EXPECT_TRUE(terminal->Commands().empty());
}

} // namespace
