// kestrel-cli's runs against the simulated terminal on a pty.

#include "cli/cli_session.h"
#include "engine/engine_globals.h"
#include "engine/login.h"
#include "params/ini_file.h"
#include "platform/port_names.h"
#include "tests/common/sim_terminal.h"
#include "tests/common/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

using namespace std::chrono_literals;

namespace {

class CliOverSim : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_nJobTimeout = 30000;
        login::g_nLoginTimeout = 8000;
    }

    void StartTerminal(const SimSetUp &setUp = {})
    {
        terminal = StartSimulator([&](sim::SimOptions &options) {
            // Unused list entries read as blank records, so the lists stop early.
            options.blankListRecord = "0*0*0*0";
            options.faults.chunked = true;
            if (setUp)
                setUp(options);
        });
    }

    CliOptions Options(CliOptions::Command command, const std::string &password = "1234")
    {
        CliOptions o;
        o.command = command;
        o.port = terminal->SlavePath();
        o.password = password;
        o.dir = m_dir.File("files");
        o.out = m_dir.File("out.ini");
        return o;
    }

    int Run(const CliOptions &options)
    {
        std::ostringstream err;
        const int status = CliSession(options, err).Run();
        stderrText = err.str();
        return status;
    }

    bool Said(const std::string &line) const
    {
        return stderrText.find(line + "\n") != std::string::npos;
    }

    TempFolder m_dir;
    std::unique_ptr<sim::TerminalSimulator> terminal;
    std::string stderrText;
};

TEST_F(CliOverSim, ReadsEveryPageIntoTheOutputFile)
{
    StartTerminal();
    terminal->SetValue(16543, "5");
    CliOptions options = Options(CliOptions::Command::Read);
    options.forward = true;
    ASSERT_EQ(Run(options), 0) << stderrText;
    EXPECT_TRUE(Said("Read parameter success!"));
    EXPECT_TRUE(Said("Reading AT command 6 ..."))
        << "waiting, four forwarding reasons and the clock";
    CIniFile out(options.out);
    EXPECT_EQ(out.GetString("PARA", "16543", "?"), "5");
    EXPECT_NE(out.GetString("ATCMD", "AT+CCWA", ""), "");
    EXPECT_NE(out.GetString("ATCMD", "AT+CCLK", ""), "");
}

TEST_F(CliOverSim, WritesAFileAndReadsTheValuesBack)
{
    StartTerminal();
    const std::string file = m_dir.File("config.ini");
    const std::string content =
        "[PARA]\r\n16543=\"6\"\r\n16544=\"11\"\r\n[ATCMD]\r\nAT+CCWA=\"1,1\"\r\n";
    WriteBytes(file, content);
    CliOptions write = Options(CliOptions::Command::Write);
    write.file = file;
    ASSERT_EQ(Run(write), 0) << stderrText;
    EXPECT_TRUE(Said("Save AT command success!"));
    EXPECT_EQ(ReadBytes(file), content) << "the user's file is never modified";

    CliOptions read = Options(CliOptions::Command::Read);
    read.forward = true;
    ASSERT_EQ(Run(read), 0) << stderrText;
    CIniFile out(read.out);
    EXPECT_EQ(out.GetString("PARA", "16543", "?"), "6");
    EXPECT_EQ(out.GetString("PARA", "16544", "?"), "11");
    EXPECT_EQ(out.GetString("ATCMD", "AT+CCWA", "?"), "1,2");
}

TEST_F(CliOverSim, AFileWithoutKeysSendsNothing)
{
    StartTerminal();
    CliOptions write = Options(CliOptions::Command::Write);
    write.file = m_dir.File("empty.ini");
    WriteBytes(write.file, "; nothing here\r\n[PARA]\r\n");
    EXPECT_EQ(Run(write), 1);
    EXPECT_TRUE(Said("No data to be downloaded!"));
    EXPECT_EQ(terminal->Commands(), std::vector<std::string>{"AT+WPAR=9996,\"1234\""})
        << "only the login";
}

TEST_F(CliOverSim, PasswordChangeThenOnlyTheNewPasswordLogsIn)
{
    StartTerminal();
    CliOptions passwd = Options(CliOptions::Command::Passwd);
    passwd.newPassword = "24680";
    ASSERT_EQ(Run(passwd), 0) << stderrText;
    EXPECT_TRUE(Said("Successfully changed password!"));

    CliOptions oldLogin = Options(CliOptions::Command::Read, "1234");
    EXPECT_EQ(Run(oldLogin), 1);
    EXPECT_TRUE(Said("ERROR:Software Password invalid!"));

    CliOptions newLogin = Options(CliOptions::Command::Read, "24680");
    newLogin.language = 2;
    EXPECT_EQ(Run(newLogin), 0) << stderrText;
    EXPECT_TRUE(Said("Lido com sucesso!"));
}

TEST_F(CliOverSim, RefusedLoginsAndUnreachablePorts)
{
    StartTerminal();
    struct Case
    {
        const char *password;
        std::string port;
        const char *said;
    };
    const Case cases[] = {
        {"9999", terminal->SlavePath(), "ERROR:Software Password invalid!"},
        {"123", terminal->SlavePath(),
         "Error: The Software Password must be between 4 and 12 characters!"},
        {"1234567890123", terminal->SlavePath(),
         "Error: The Software Password must be between 4 and 12 characters!"},
        {"1234", "ttyNONEXISTENT", "Error: Can`t open Port:  ttyNONEXISTENT !"},
    };
    for (const Case &c : cases) {
        CliOptions options = Options(CliOptions::Command::Read, c.password);
        options.port = c.port;
        EXPECT_EQ(Run(options), 1) << c.password;
        EXPECT_TRUE(Said(c.said)) << stderrText;
        EXPECT_FALSE(std::filesystem::exists(options.out)) << "nothing read, nothing written";
    }
}

TEST_F(CliOverSim, ASilentTerminalEndsWithOvertimeAndKeepsWhatWasRead)
{
    // The login and three reads are answered.
    StartTerminal([](sim::SimOptions &o) { o.faults.silentAfter = 4; });
    g_nJobTimeout = 300;
    CliOptions read = Options(CliOptions::Command::Read);
    EXPECT_EQ(Run(read), 1);
    EXPECT_TRUE(Said("Error:Overtime!"));
    CIniFile out(read.out);
    EXPECT_NE(out.GetString("PARA", "35", "?"), "?") << "the values read before stay";
}

TEST_F(CliOverSim, ASilentTerminalAtLoginTimesOut)
{
    StartTerminal([](sim::SimOptions &o) { o.faults.silentAfter = 0; });
    login::g_nLoginTimeout = 200;
    EXPECT_EQ(Run(Options(CliOptions::Command::Read)), 1);
    EXPECT_TRUE(Said("Error: Timeout, check the COM Port!"));
}

TEST_F(CliOverSim, AReadThatCannotStoreItsValuesFails)
{
    StartTerminal();
    CliOptions read = Options(CliOptions::Command::Read);
    // A folder where the temporary parameter file belongs: not writable, even by root.
    std::filesystem::create_directories(read.dir + "/" + platform::PortFileName(read.port)
                                        + "ParaFile.ini");
    EXPECT_EQ(Run(read), 1);
    EXPECT_NE(stderrText.find("Error: Could not save the values read! Cannot"), std::string::npos)
        << stderrText;
    EXPECT_NE(stderrText.find("ParaFile.ini\": it is a directory"), std::string::npos)
        << stderrText;
    EXPECT_FALSE(Said("Read parameter success!"));
}

TEST_F(CliOverSim, QuietKeepsOnlyErrors)
{
    StartTerminal([](sim::SimOptions &o) { o.faults.refuseReads = {3000}; });
    CliOptions read = Options(CliOptions::Command::Read);
    read.quiet = true;
    EXPECT_EQ(Run(read), 1);
    EXPECT_EQ(stderrText, "Error:Fail to read Enable Prefixes and Numbers Block!\n");
}

} // namespace
