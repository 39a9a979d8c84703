// kestrel-cli's runs against the simulated terminal on a pty.

#include "cli/cli_session.h"
#include "engine/engine_globals.h"
#include "engine/login.h"
#include "params/ini_file.h"
#include "platform/port_names.h"
#include "tests/common/case_name.h"
#include "tests/common/file_permissions.h"
#include "tests/common/sim_terminal.h"
#include "tests/common/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

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
        std::ostringstream err, out;
        const int status = CliSession(options, err, out).Run();
        stderrText = err.str();
        stdoutText = out.str();
        return status;
    }

    bool Said(const std::string &line) const
    {
        return stderrText.find(line + "\n") != std::string::npos;
    }
    bool Reported(const std::string &line) const
    {
        return stdoutText.find(line + "\n") != std::string::npos;
    }

    // A small configuration written to the terminal: values the read
    // returns, the general password and the call back list reset, which it
    // does not, and call waiting and forwarding.
    std::string WriteConfiguration()
    {
        const std::string file = m_dir.File("config.ini");
        WriteBytes(file,
                   "[PARA]\r\n32=\"123456\"\r\n16543=\"6\"\r\n16544=\"11\"\r\n16547=\"CLEAR\"\r\n"
                   "16212=\"5550100\"\r\n"
                   "[ATCMD]\r\nAT+CCWA=\"1,1\"\r\nAT+CCFC0=\"0,4\"\r\nAT+CCFC1=\"1,3,\"+5550100\","
                   "145\"\r\n"
                   "AT+CCFC2=\"2,3,\"5550123\",129,7,,,20\"\r\nAT+CCFC3=\"3,4\"\r\n");
        CliOptions write = Options(CliOptions::Command::Write);
        write.file = file;
        EXPECT_EQ(Run(write), 0) << stderrText;
        return file;
    }
    CliOptions VerifyOptions(const std::string &file)
    {
        CliOptions verify = Options(CliOptions::Command::Verify);
        verify.out.clear();
        verify.forward = true;
        verify.file = file;
        return verify;
    }

    TempFolder m_dir;
    std::unique_ptr<sim::TerminalSimulator> terminal;
    std::string stderrText;
    std::string stdoutText;
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
    CliOptions tooShort = Options(CliOptions::Command::Passwd);
    tooShort.newPassword = "123";
    EXPECT_EQ(Run(tooShort), 1);
    EXPECT_TRUE(Said("Error: The New Password must be between 4 and 12 characters!"));

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

// A user outside the group that owns the serial ports is told how to join it.
TEST_F(CliOverSim, APortWithoutPermissionTellsHowToJoinDialout)
{
    StartTerminal();
    const std::string tty = terminal->SlavePath();
    ASSERT_EQ(::chmod(tty.c_str(), 0), 0);
    const FilePermissionsEnforced permissions;
    if (!permissions.Holds())
        GTEST_SKIP() << "file permissions cannot be made to hold for root here";
    const std::pair<int, const char *> cases[] = {
        {1, "Permission denied: you may not use the serial port "},
        {2, "Permissão negada: você não pode usar a porta serial "},
        {3, "Permiso denegado: no puede usar el puerto serie "},
    };
    for (const auto &[language, said] : cases) {
        CliOptions options = Options(CliOptions::Command::Read);
        options.language = language;
        EXPECT_EQ(Run(options), 1);
        EXPECT_NE(stderrText.find(said + tty + ", "), std::string::npos) << stderrText;
        EXPECT_NE(stderrText.find("\n    sudo usermod -aG dialout $USER\n"), std::string::npos);
        EXPECT_EQ(stderrText.find("Permission denied\n"), std::string::npos)
            << "the advice stands in for the system's text";
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

TEST_F(CliOverSim, ATerminalWrittenFromAFileVerifiesClean)
{
    StartTerminal();
    const std::string file = WriteConfiguration();
    ASSERT_EQ(Run(VerifyOptions(file)), 0) << stderrText << stdoutText;
    EXPECT_TRUE(Reported("Verified: all 8 verifiable settings match.")) << stdoutText;
    EXPECT_TRUE(Reported("Not verifiable, a read does not return them:"));
    EXPECT_TRUE(Reported("  General Password: (32)"));
    EXPECT_TRUE(Reported("  Reset Call Back Number List (16547)"));
    EXPECT_EQ(stdoutText.find("terminal \""), std::string::npos) << "no difference";

    // Without --forward nothing is known of call waiting and forwarding.
    CliOptions withoutForward = VerifyOptions(file);
    withoutForward.forward = false;
    ASSERT_EQ(Run(withoutForward), 0) << stdoutText;
    EXPECT_TRUE(Reported("  Call Waiting 0495 (AT+CCWA)"));
    EXPECT_TRUE(Reported("Call waiting and forwarding are read with --forward."));
    EXPECT_TRUE(Reported("Verified: all 3 verifiable settings match.")) << stdoutText;
}

TEST_F(CliOverSim, AChangedValueIsReportedByNameWithBothValues)
{
    StartTerminal();
    const std::string file = WriteConfiguration();
    terminal->SetValue(16543, "2");
    terminal->SetValue(16212, "5559999");
    struct Case
    {
        int language;
        const char *volume;
        const char *summary;
    };
    const Case cases[] = {
        {1, "Change RX Volume (16543): terminal \"2\", file \"6\"",
         "Verified: 2 of 8 verifiable settings differ."},
        {2, "Volume de recepção (16543): terminal \"2\", arquivo \"6\"",
         "Verificado: 2 de 8 configurações verificáveis diferem."},
        {3, "Recepción (16543): terminal \"2\", archivo \"6\"",
         "Verificado: 2 de 8 configuraciones verificables difieren."},
    };
    for (const Case &c : cases) {
        CliOptions verify = VerifyOptions(file);
        verify.language = c.language;
        EXPECT_EQ(Run(verify), 1) << c.language;
        EXPECT_TRUE(Reported(c.volume)) << stdoutText;
        EXPECT_TRUE(Reported(c.summary)) << stdoutText;
    }
    EXPECT_TRUE(Reported("Por favor introduzca un número en la posición:1507 (16212): terminal "
                         "\"5559999\", archivo \"5550100\""))
        << stdoutText;
}

TEST_F(CliOverSim, AVerifyWhoseReadFailsExitsWithTheReason)
{
    StartTerminal();
    const std::string file = WriteConfiguration();
    terminal->SetFaults([] {
        sim::Faults faults;
        faults.refuseReads = {16544};
        return faults;
    }());
    EXPECT_EQ(Run(VerifyOptions(file)), 1);
    EXPECT_TRUE(Said("Error:Fail to read Change TX Volume!")) << stderrText;
    EXPECT_TRUE(Said("Verify failed: the terminal could not be read.")) << stderrText;
    EXPECT_EQ(stdoutText, "") << "nothing is compared";

    terminal->ClearCommands();
    EXPECT_EQ(Run(VerifyOptions(m_dir.File("missing.ini"))), 1);
    EXPECT_NE(stderrText.find("missing.ini"), std::string::npos) << stderrText;
    EXPECT_EQ(terminal->CommandCount(), 0u) << "a file that cannot be read stops before the login";
}

// No command reaches the terminal sooner than the gap after its final reply
// to the previous one, from the login on: the simulator's own record of
// arrivals and replies, compared without any allowance.
struct GapCase
{
    std::string name;
    CliOptions::Command command;
    int gap;
};
void PrintTo(const GapCase &c, std::ostream *out)
{
    *out << c.name;
}

class DeviceGap : public CliOverSim, public ::testing::WithParamInterface<GapCase>
{};

TEST_P(DeviceGap, NoCommandComesSoonerThanTheGapAfterAFinalReply)
{
    const GapCase &c = GetParam();
    StartTerminal();
    CliOptions options = Options(c.command);
    options.gap = c.gap;
    options.file = m_dir.File("config.ini");
    WriteBytes(options.file, "[PARA]\r\n16543=\"6\"\r\n16544=\"11\"\r\n16210=\"100\"\r\n"
                             "[ATCMD]\r\nAT+CCWA=\"1,1\"\r\n");
    options.newPassword = "24680";
    terminal->ClearCommands();
    ASSERT_EQ(Run(options), 0) << stderrText;

    using Kind = sim::TimelineEntry::Kind;
    std::optional<sim::OutputSchedule::Clock::time_point> lastFinalReply;
    size_t checked = 0;
    for (const sim::TimelineEntry &entry : terminal->Timeline()) {
        if (entry.kind == Kind::FinalReplySent) {
            lastFinalReply = entry.at;
        } else if (lastFinalReply) {
            EXPECT_GE(entry.at - *lastFinalReply, std::chrono::milliseconds(c.gap))
                << "command " << checked + 2;
            ++checked;
        }
    }
    EXPECT_GE(checked, c.command == CliOptions::Command::Passwd ? 3u : 5u);
}

INSTANTIATE_TEST_SUITE_P(CliOverSim, DeviceGap,
                         ::testing::Values(GapCase{"Read20", CliOptions::Command::Read, 20},
                                           GapCase{"Read0", CliOptions::Command::Read, 0},
                                           GapCase{"Write20", CliOptions::Command::Write, 20},
                                           GapCase{"Write0", CliOptions::Command::Write, 0},
                                           GapCase{"Passwd20", CliOptions::Command::Passwd, 20},
                                           GapCase{"Passwd0", CliOptions::Command::Passwd, 0}),
                         CaseName());

} // namespace
