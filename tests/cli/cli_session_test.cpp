// kestrel-cli's runs against the simulated terminal on a pty.

#include "cli/cli_session.h"
#include "engine/engine_globals.h"
#include "engine/login.h"
#include "params/ini_file.h"
#include "params/settings_history.h"
#include "platform/port_names.h"
#include "tests/common/case_name.h"
#include "tests/common/file_permissions.h"
#include "tests/common/file_size_limit.h"
#include "tests/common/progress_lines.h"
#include "tests/common/sim_terminal.h"
#include "tests/common/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/stat.h>
#include <thread>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

unsigned Mode(const std::string &path)
{
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 0777 : 0;
}

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

// read --out writes what Save would write from the values read, so that
// write puts them on another terminal as they stand; each run keeps a copy
// of the values in the port's settings history, for the user alone.
TEST_F(CliOverSim, AReadFileClonesTheTerminalOntoAnother)
{
    StartTerminal();
    terminal->SetValue(16543, "5");
    terminal->SetValue(16212, "5550100");
    CliOptions read = Options(CliOptions::Command::Read);
    read.forward = true;
    ASSERT_EQ(Run(read), 0) << stderrText;
    EXPECT_TRUE(Said("Read parameter success!"));
    EXPECT_TRUE(Said("Reading AT command 6 ..."))
        << "waiting, four forwarding reasons and the clock";
    EXPECT_TRUE(Said("The values read were saved to \"" + read.out + "\"."));
    CIniFile out(read.out);
    EXPECT_EQ(out.GetString("PARA", "16543", "?"), "5");
    EXPECT_EQ(out.GetString("PARA", "16547", "?"), "CLEAR");
    EXPECT_EQ(out.GetString("PARA", "16212", "?"), "5550100");
    for (const char *absent : {"16213", "6000", "32", "05"})
        EXPECT_EQ(out.GetString("PARA", absent, "?"), "?") << absent;
    EXPECT_EQ(out.GetString("ATCMD", "AT+CCWA", "?"), "0,0,7");
    EXPECT_EQ(out.GetString("ATCMD", "AT+CCFC4", "?"), "4,4") << "no forwarding read: none";
    EXPECT_EQ(out.GetString("ATCMD", "AT+CCLK", "?"), "?") << "the clock runs on";

    const auto copies = [&](const std::string &port, const char *operation) {
        std::vector<std::string> names;
        const std::string folder = params::HistoryFolder(read.dir + "/", port);
        for (const auto &entry : std::filesystem::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
            EXPECT_EQ(Mode(entry.path().string()), 0600u);
            EXPECT_TRUE(Said("A copy of the values is kept in the settings history: " +
                             entry.path().string()));
        }
        EXPECT_EQ(Mode(folder), 0700u);
        EXPECT_EQ(names.size(), 1u);
        return names.size() == 1 && names[0].ends_with(std::string("-") + operation + ".ini");
    };
    EXPECT_TRUE(copies(read.port, "read"));

    auto other = StartSimulator([](sim::SimOptions &o) { o.blankListRecord = "0*0*0*0"; });
    CliOptions write = Options(CliOptions::Command::Write);
    write.port = other->SlavePath();
    write.file = read.out;
    ASSERT_EQ(Run(write), 0) << stderrText;
    EXPECT_TRUE(copies(write.port, "write"));
    EXPECT_EQ(other->Value(16212), "5550100");
    for (const std::string &port : {read.port, write.port}) {
        CliOptions verify = VerifyOptions(read.out);
        verify.port = port;
        EXPECT_EQ(Run(verify), 0) << port << stdoutText;
    }
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
    const mode_t umaskBefore = ::umask(022);
    ASSERT_EQ(Run(write), 0) << stderrText;
    EXPECT_TRUE(Said("Save AT command success!"));
    EXPECT_EQ(ReadBytes(file), content) << "the user's file is never modified";
    // What holds the passwords sent is the user's alone, after a write and a read.
    const auto modes = [&] {
        const std::string dir = m_dir.File("files"), port = platform::PortFileName(write.port);
        return std::vector<mode_t>{ModeOf(dir), ModeOf(dir + "/" + port + "AtLog.ini"),
                                   ModeOf(dir + "/" + port + "ParaFile.ini")};
    };
    EXPECT_EQ(modes(), (std::vector<mode_t>{0700, 0600, 0600}));

    CliOptions read = Options(CliOptions::Command::Read);
    read.forward = true;
    ASSERT_EQ(Run(read), 0) << stderrText;
    ::umask(umaskBefore);
    EXPECT_EQ(modes(), (std::vector<mode_t>{0700, 0600, 0600}));
    EXPECT_EQ(ModeOf(read.out), 0600u);
    CIniFile out(read.out);
    EXPECT_EQ(out.GetString("PARA", "16543", "?"), "6");
    EXPECT_EQ(out.GetString("PARA", "16544", "?"), "11");
    EXPECT_EQ(out.GetString("ATCMD", "AT+CCWA", "?"), "1,1");
}

// As another user would attack them: a link planted under a per-port file's
// name or an --out file's, or a folder another user owns or may write, stops
// the run with the reason, and the link's target stays as it was.
TEST_F(CliOverSim, PlantedLinksAndSharedFoldersStopTheRun)
{
    StartTerminal();
    CliOptions read = Options(CliOptions::Command::Read);
    read.gap = 0;
    const std::string dir = m_dir.File("files"), port = platform::PortFileName(read.port);
    const std::string log = dir + "/" + port + "AtLog.ini";
    const std::string temp = dir + "/" + port + "ParaFile.ini";
    const std::string target = m_dir.File("target");
    WriteBytes(target, "untouched");
    fs::create_directory(dir);
    const auto link = [&](const std::string &name) {
        return [&, name] { fs::create_symlink(target, name); };
    };
    std::vector<std::tuple<std::function<void()>, std::string>> attacks = {
        {link(log), "Cannot write \"" + log + "\": it is a symbolic link"},
        {link(temp), "Cannot write \"" + temp + "\": it is a symbolic link"},
        {[&] { ::chmod(dir.c_str(), 0777); },
         "Cannot use the folder \"" + dir + "/\": other users may write to it"},
    };
    if (::geteuid() == 0) { // only root can plant as another user
        attacks.push_back({[&] { ::chown(dir.c_str(), 65534, 65534); },
                           "Cannot use the folder \"" + dir + "/\": another user owns it"});
        attacks.push_back({[&] { PlantOthersLink(target, read.out); },
                           "Cannot write \"" + read.out +
                               "\": it is a symbolic link that another user owns"});
    }
    for (const auto &[plant, said] : attacks) {
        fs::remove(read.out);
        plant();
        EXPECT_EQ(Run(read), 1) << said;
        EXPECT_TRUE(Said(said)) << stderrText;
        EXPECT_EQ(ReadBytes(target), "untouched") << said;
        for (const std::string &path : {log, temp, read.out})
            if (fs::is_symlink(path))
                fs::remove(path);
        ASSERT_EQ(::chmod(dir.c_str(), 0700) | ::chown(dir.c_str(), ::geteuid(), ::getegid()), 0);
    }
    // The write and the password change check the same before they start.
    fs::remove(log);
    fs::create_symlink(target, log);
    CliOptions write = Options(CliOptions::Command::Write);
    CliOptions passwd = Options(CliOptions::Command::Passwd);
    write.file = m_dir.File("target");
    passwd.newPassword = "24680";
    for (const CliOptions &options : {write, passwd}) {
        EXPECT_EQ(Run(options), 1);
        EXPECT_TRUE(Said("Cannot write \"" + log + "\": it is a symbolic link")) << stderrText;
    }
    EXPECT_EQ(ReadBytes(target), "untouched");
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

// Nothing reaches the terminal, not even the login, from a file that holds
// what the program would never write or that would lose list entries.
TEST_F(CliOverSim, AFileThatCannotBeSentWholeSendsNothing)
{
    StartTerminal();
    struct Case
    {
        std::string file;
        int language;
        std::string said;
    };
    const Case cases[] = {
        {"[PARA]\r\n1=\"1234\",\"9999\",\"9999\"\r\n16543=\"6\"\r\n100000=\"1\"\r\n05=\"01\"\r\n"
         "6000=\"1\"\r\n[ATCMD]\r\nAT+CMGF=\"1\"\r\n",
         1,
         "Not sent: the file holds entries the program never writes: [PARA] 1, [PARA] 100000, "
         "[PARA] 05, [PARA] 6000, [ATCMD] AT+CMGF\n"},
        {std::string("[PARA]\r\n16543") + '\0' + "=\"6\"\r\n16544=\"1\t1\"\r\n16210=\"100\"\r\n", 1,
         "Not sent: the file holds control characters in [PARA] 16543\\x00, [PARA] 16544\n"},
        {"[PARA]\r\n16547=\"CLEAR\"\r\n16212=\"111\"\r\n16213=\"0*0*0*0\"\r\n16214=\"333\"\r\n"
         "16215=\"444\"\r\n",
         1,
         "Not sent: position 1508 of the call back list is empty and 1509 (16214), 1510 (16215) "
         "follow it; the terminal stops reading the list at an empty position and would lose "
         "them.\n"},
        {"[PARA]\r\n3000=\"01\"\r\n3001=\"11\"\r\n3002=\"\"\r\n3003=\"33\"\r\n3004=\"\"\r\n", 2,
         "Nada enviado: a posição 0812 da lista de números bloqueados está vazia e 0813 (3003) vêm "
         "depois dela; o terminal para de ler a lista numa posição vazia e as perderia.\n"},
    };
    for (const Case &c : cases) {
        CliOptions write = Options(CliOptions::Command::Write);
        write.file = m_dir.File("refused.ini");
        write.language = c.language;
        WriteBytes(write.file, c.file);
        EXPECT_EQ(Run(write), 1);
        EXPECT_EQ(stderrText, c.said);
        EXPECT_EQ(terminal->CommandCount(), 0u);
    }
}

// A quote or a control character would end the password early or split
// the command line: refused before anything is sent.
TEST_F(CliOverSim, PasswordsThatWouldBreakTheLineAreRefusedBeforeTheLogin)
{
    StartTerminal();
    const std::string kSoftware =
        "Error: The Software Password must not contain control characters or double quotes!\n";
    const std::string kNew =
        "Error: The New Password must not contain control characters or double quotes!\n";
    const std::tuple<const char *, const char *, std::string> cases[] = {
        {"12\"34", "5678", kSoftware},
        {"1234", "56\r78", kNew},
        {"1234", "56\"78", kNew},
        {"1234", "567", "Error: The New Password must be between 4 and 12 characters!\n"},
    };
    for (const auto &[password, newPassword, said] : cases) {
        CliOptions passwd = Options(CliOptions::Command::Passwd, password);
        passwd.newPassword = newPassword;
        EXPECT_EQ(Run(passwd), 1);
        EXPECT_EQ(stderrText, said);
        EXPECT_EQ(terminal->CommandCount(), 0u);
    }
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

TEST_F(CliOverSim, LineNoiseBeforeTheLoginIsClearedAway)
{
    StartTerminal([](sim::SimOptions &o) { o.faults.lineNoise = "~\x7f"; });
    EXPECT_EQ(Run(Options(CliOptions::Command::Read)), 0) << stderrText;
    EXPECT_EQ(terminal->Commands().at(1), "AT+WPAR=9996,\"1234\"") << "after the noise's own line";
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

TEST_F(CliOverSim, AFailedReadLeavesTheOutputFileAsItWas)
{
    // The login and three reads are answered.
    StartTerminal([](sim::SimOptions &o) { o.faults.silentAfter = 4; });
    g_nJobTimeout = 300;
    CliOptions read = Options(CliOptions::Command::Read);
    const std::string before = "[PARA]\r\n16543=\"3\"\r\n";
    WriteBytes(read.out, before);
    EXPECT_EQ(Run(read), 1);
    EXPECT_TRUE(Said("Error:Overtime!"));
    EXPECT_EQ(ReadBytes(read.out), before);
    const std::string partial = read.dir + "/" + platform::PortFileName(read.port) + "ParaFile.ini";
    EXPECT_TRUE(Said("The values read before the failure are in \"" + partial + "\"; \"" +
                     read.out + "\" was not written."))
        << stderrText;
    EXPECT_NE(CIniFile(partial).GetString("PARA", "35", "?"), "?") << "the values read before stay";
    EXPECT_FALSE(std::filesystem::exists(params::HistoryRoot(read.dir + "/")))
        << "no copy of a failed read";
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
    // A folder where the temporary parameter file belongs stops the read
    // before it starts.
    const std::string temp = read.dir + "/" + platform::PortFileName(read.port) + "ParaFile.ini";
    std::filesystem::create_directories(temp);
    EXPECT_EQ(Run(read), 1);
    EXPECT_TRUE(Said("Cannot write \"" + temp + "\": it is not a regular file")) << stderrText;
    std::filesystem::remove(temp);
    // A full disk fails it on the first value.
    const FileSizeLimit fullDisk(8);
    EXPECT_EQ(Run(read), 1);
    EXPECT_NE(stderrText.find("Error: Could not save the values read! Cannot write \"" + temp +
                              "\": File too large"),
              std::string::npos)
        << stderrText;
    EXPECT_FALSE(Said("Read parameter success!"));
}

// After a failed read: where the values read so far are, and that --out stayed.
std::string PartialValuesLine(const CliOptions &read)
{
    return "The values read before the failure are in \"" + read.dir + "/" +
           platform::PortFileName(read.port) + "ParaFile.ini\"; \"" + read.out +
           "\" was not written.\n";
}

TEST_F(CliOverSim, QuietKeepsOnlyErrors)
{
    StartTerminal([](sim::SimOptions &o) { o.faults.refuseReads = {3000}; });
    CliOptions read = Options(CliOptions::Command::Read);
    read.quiet = true;
    EXPECT_EQ(Run(read), 1);
    EXPECT_EQ(stderrText,
              "Error:Fail to read Enable Prefixes and Numbers Block!\n" + PartialValuesLine(read));
}

TEST_F(CliOverSim, AValueTooLongForTheReceiveBufferFailsTheReadByName)
{
    StartTerminal();
    // "+RPAR: " and 1018 characters: one more than a line holds.
    terminal->SetValue(16543, std::string(1018, '7'));
    CliOptions read = Options(CliOptions::Command::Read);
    read.quiet = true;
    EXPECT_EQ(Run(read), 1);
    EXPECT_EQ(stderrText, "Error: The answer for Change RX Volume had a line longer than 1024 "
                          "characters, which was lost!\n" + PartialValuesLine(read));
}

TEST_F(CliOverSim, ARefusedEntryIsToldWithWhatTheTerminalHolds)
{
    StartTerminal([](sim::SimOptions &o) { o.faults.refuseWrites = {16544}; });
    CliOptions write = Options(CliOptions::Command::Write);
    write.file = m_dir.File("config.ini");
    WriteBytes(write.file, "[PARA]\r\n16543=\"6\"\r\n16544=\"11\"\r\n16210=\"100\"\r\n"
                           "[ATCMD]\r\nAT+CCWA=\"1,1\"\r\n");
    write.quiet = true;
    EXPECT_EQ(Run(write), 1);
    EXPECT_EQ(stderrText, "Error: Fail to write parameter [2].Error Change TX Volume!\n"
                          "Written and saved on the terminal: parameter 1 of 3. Refused: parameter 2. "
                          "Not sent: parameter 3, AT command 1.\n");
}

TEST_F(CliOverSim, APulledCableEndsTheRunAtOnce)
{
    // The login and two reads are answered.
    StartTerminal([](sim::SimOptions &o) { o.faults.hangUpAfter = 3; });
    CliOptions read = Options(CliOptions::Command::Read);
    read.quiet = true;
    EXPECT_EQ(Run(read), 1);
    EXPECT_EQ(stderrText, "Error: The terminal was disconnected from the port " + read.port + "!\n" +
                              PartialValuesLine(read));
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

    const std::string unverifiable = m_dir.File("unverifiable.ini");
    WriteBytes(unverifiable, "[PARA]\r\n32=\"123456\"\r\n16547=\"CLEAR\"\r\n");
    EXPECT_EQ(Run(VerifyOptions(unverifiable)), 1);
    EXPECT_TRUE(
        Reported("Not verified: nothing in the file could be checked against the terminal."))
        << stdoutText;
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
    // For a script: the same differences, and nothing else on standard output.
    CliOptions verify = VerifyOptions(file);
    verify.json = true;
    EXPECT_EQ(Run(verify), 1);
    const nlohmann::json summary = nlohmann::json::parse(stdoutText);
    EXPECT_EQ(summary["outcome"], "differs");
    EXPECT_EQ(summary["exitStatus"], 1);
    EXPECT_EQ(summary["verification"]["compared"], 8);
    EXPECT_EQ(summary["verification"]["differences"][0],
              nlohmann::json::parse(R"({"name":"Change RX Volume","key":"16543","terminal":"2","file":"6"})"));
    EXPECT_EQ(summary["verification"]["notVerifiable"].size(), 2u);
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

// A program that follows the run reads its states from standard error, one
// JSON object a line, and a script its outcome from standard output.
TEST_F(CliOverSim, AWriteWithVerifyTellsItsProgressAsJsonLines)
{
    StartTerminal();
    CliOptions write = Options(CliOptions::Command::Write);
    write.file = m_dir.File("config.ini");
    WriteBytes(write.file, "[PARA]\r\n16543=\"6\"\r\n16544=\"11\"\r\n[ATCMD]\r\nAT+CCWA=\"1,1\"\r\n");
    write.verify = write.forward = write.progressJson = write.json = true;
    ASSERT_EQ(Run(write), 0) << stderrText;

    const std::vector<nlohmann::json> lines = JsonLines(stderrText);
    for (const nlohmann::json &line : lines) {
        EXPECT_EQ(line["port"], write.port);
        EXPECT_TRUE(line["elapsedMs"].is_number());
    }
    const std::vector<std::string> states = StatesOf(lines, write.port);
    ASSERT_GE(states.size(), 8u) << stderrText;
    EXPECT_EQ(std::vector(states.begin(), states.begin() + 6),
              (std::vector<std::string>{"logging-in", "writing 0/3", "writing 1/3", "writing 2/3",
                                        "writing 3/3", "saving"}));
    EXPECT_EQ(states[6].rfind("verifying 0/", 0), 0u) << states[6];
    EXPECT_EQ(states.back(), "done");
    const nlohmann::json summary = nlohmann::json::parse(stdoutText);
    EXPECT_EQ(summary["command"], "write");
    EXPECT_EQ(summary["outcome"], "succeeded");
    EXPECT_EQ(summary["verification"]["compared"], 3);
    EXPECT_EQ(summary["messages"][0], nlohmann::json::parse(R"({"text":"Writing parameter ...","error":false})"));
}

// Ctrl+C in the middle of a write: the job ends at once, the port is closed
// and the run says what the terminal holds.
TEST_F(CliOverSim, AStopEndsTheJobAtOnceAndTellsWhatTheTerminalHolds)
{
    // The login and the transaction's opening are answered, then nothing.
    StartTerminal([](sim::SimOptions &o) { o.faults.silentAfter = 2; });
    CliOptions write = Options(CliOptions::Command::Write);
    write.file = m_dir.File("config.ini");
    WriteBytes(write.file, "[PARA]\r\n16543=\"6\"\r\n16544=\"11\"\r\n");
    write.quiet = write.json = true;
    std::ostringstream err, out;
    CliSession session(write, err, out);
    std::thread stopper([&] {
        terminal->WaitForCommands(3, std::chrono::seconds(10));
        session.Stop();
    });
    EXPECT_EQ(session.Run(), 1);
    stopper.join();
    EXPECT_EQ(err.str(), "Error: The operation was stopped before its end!\n"
                         "Nothing was written on the terminal. Sent without an answer: parameter 1. "
                         "Not sent: parameter 2.\n");
    EXPECT_EQ(nlohmann::json::parse(out.str())["outcome"], "stopped");
    EXPECT_EQ(terminal->CommandCount(), 3u) << "nothing after the stop";
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
