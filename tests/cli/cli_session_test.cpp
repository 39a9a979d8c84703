// kestrel-cli's runs against the simulated terminal on a pty.

#include "cli/cli_session.h"
#include "engine/engine_globals.h"
#include "engine/login.h"
#include "params/ini_file.h"
#include "params/settings_history.h"
#include "platform/port_names.h"
#include "tests/common/file_permissions.h"
#include "tests/common/progress_lines.h"
#include "tests/common/sim_terminal.h"
#include "tests/common/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <thread>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

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

// read --out writes what Save would write from the values read, so that
// write puts them on another terminal as they stand; each run keeps a copy
// of the values in the port's settings history. What holds the passwords
// sent is the user's alone, whatever the umask; the user's file is only read.
TEST_F(CliOverSim, AReadFileClonesTheTerminalOntoAnother)
{
    StartTerminal();
    terminal->SetValue(16543, "5");
    terminal->SetValue(16212, "5550100");
    CliOptions read = Options(CliOptions::Command::Read);
    read.forward = true;
    const mode_t umaskBefore = ::umask(022);
    ASSERT_EQ(Run(read), 0) << stderrText;
    const std::string perPort = read.dir + "/" + platform::PortFileName(read.port);
    EXPECT_EQ((std::vector<mode_t>{ModeOf(read.dir), ModeOf(perPort + "AtLog.ini"),
                                   ModeOf(perPort + "ParaFile.ini"), ModeOf(read.out)}),
              (std::vector<mode_t>{0700, 0600, 0600, 0600}));
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
            EXPECT_EQ(ModeOf(entry.path().string()), 0600u);
            EXPECT_TRUE(Said("A copy of the values is kept in the settings history: " +
                             entry.path().string()));
        }
        EXPECT_EQ(ModeOf(folder), 0700u);
        EXPECT_EQ(names.size(), 1u);
        return names.size() == 1 && names[0].ends_with(std::string("-") + operation + ".ini");
    };
    EXPECT_TRUE(copies(read.port, "read"));

    auto other = StartSimulator([](sim::SimOptions &o) { o.blankListRecord = "0*0*0*0"; });
    CliOptions write = Options(CliOptions::Command::Write);
    write.port = other->SlavePath();
    write.file = read.out;
    const std::string bytes = ReadBytes(read.out);
    ASSERT_EQ(Run(write), 0) << stderrText;
    ::umask(umaskBefore);
    EXPECT_TRUE(Said("Save AT command success!"));
    EXPECT_EQ(ReadBytes(read.out), bytes);
    EXPECT_EQ(ModeOf(read.dir + "/" + platform::PortFileName(write.port) + "AtLog.ini"), 0600u);
    EXPECT_TRUE(copies(write.port, "write"));
    EXPECT_EQ(other->Value(16212), "5550100");
    for (const std::string &port : {read.port, write.port}) {
        CliOptions verify = VerifyOptions(read.out);
        verify.port = port;
        EXPECT_EQ(Run(verify), 0) << port << stdoutText;
    }
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
        attacks.push_back(
            {[&] { PlantOthersLink(target, read.out); },
             "Cannot write \"" + read.out + "\": it is a symbolic link that another user owns"});
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

// Input the run cannot use stops it with its reason and status 1, before
// anything (or nothing more than the login) reaches the terminal.
TEST_F(CliOverSim, InputItCannotUseStopsTheRun)
{
    StartTerminal();
    using Command = CliOptions::Command;
    const std::string file = m_dir.File("input.ini"), tty = terminal->SlavePath();
    const std::string notFolder = m_dir.File("plain");
    const std::string temp =
        m_dir.File("files") + "/" + platform::PortFileName(tty) + "ParaFile.ini";
    WriteBytes(notFolder, "");
    const auto content = [&](std::string bytes) {
        return [&, bytes](CliOptions &o) {
            WriteBytes(file, bytes);
            o.file = file;
        };
    };
    const auto password = [](std::string old, std::string now) {
        return [old, now](CliOptions &o) {
            o.password = old;
            o.newPassword = now;
        };
    };
    const std::string kLength =
        "Error: The Software Password must be between 4 and 12 characters!\n";
    const std::string kNewLength = "Error: The New Password must be between 4 and 12 characters!\n";
    const std::string kNewCharacters =
        "Error: The New Password must not contain control characters or double quotes!\n";
    struct Case
    {
        const char *name;
        Command command;
        std::function<void(CliOptions &)> change;
        std::string said;
        size_t commands; // reaching the terminal
    };
    constexpr size_t kWholeRead = SIZE_MAX;
    const Case cases[] = {
        {"LoginRefused", Command::Read, [](CliOptions &o) { o.password = "9999"; },
         "ERROR:Software Password invalid!\n", 1},
        {"PasswordShort", Command::Read, [](CliOptions &o) { o.password = "123"; }, kLength, 0},
        {"PasswordLong", Command::Read, [](CliOptions &o) { o.password = "1234567890123"; },
         kLength, 0},
        {"PasswordQuote", Command::Passwd, password("12\"34", "5678"),
         "Error: The Software Password must not contain control characters or double quotes!\n", 0},
        {"NewPasswordCr", Command::Passwd, password("1234", "56\r78"), kNewCharacters, 0},
        {"NewPasswordQuote", Command::Passwd, password("1234", "56\"78"), kNewCharacters, 0},
        {"NewPasswordShort", Command::Passwd, password("1234", "567"), kNewLength, 0},
        {"NewPasswordLong", Command::Passwd, password("1234", "1234567890123"), kNewLength, 0},
        {"NoSuchPort", Command::Read, [](CliOptions &o) { o.port = "ttyNONEXISTENT"; },
         "Error: Can`t open Port:  ttyNONEXISTENT !\nNo such file or directory\n", 0},
        {"DirIsAFile", Command::Read, [&](CliOptions &o) { o.dir = notFolder; },
         "Cannot use the folder \"" + notFolder + "/\": Not a directory\n", 0},
        {"OutIsAFolder", Command::Read, [&](CliOptions &o) { o.out = m_dir.Path(); },
         "Cannot write \"" + m_dir.Path() + "\": it is a directory\n", kWholeRead},
        {"WriteWithoutSettings", Command::Write, content("; nothing here\r\n[PARA]\r\n"),
         "No data to be downloaded!\n", 1},
        {"VerifyWithoutSettings", Command::Verify, content("; nothing here\r\n[PARA]\r\n"),
         "\"" + file + "\" has no settings to verify\n", 0},
        {"VerifyMissingFile", Command::Verify,
         [&](CliOptions &o) { o.file = m_dir.File("none.ini"); },
         "Cannot open \"" + m_dir.File("none.ini") + "\": the file does not exist\n", 0},
        {"EntriesNeverWritten", Command::Write,
         content("[PARA]\r\n1=\"1234\",\"9999\",\"9999\"\r\n16543=\"6\"\r\n100000=\"1\"\r\n05="
                 "\"01\"\r\n"
                 "6000=\"1\"\r\n[ATCMD]\r\nAT+CMGF=\"1\"\r\n"),
         "Not sent: the file holds entries the program never writes: [PARA] 1, [PARA] 100000, "
         "[PARA] 05, [PARA] 6000, [ATCMD] AT+CMGF\n",
         0},
        {"ControlCharacters", Command::Write,
         content(std::string("[PARA]\r\n16543") + '\0' +
                 "=\"6\"\r\n16544=\"1\t1\"\r\n16210=\"100\"\r\n"),
         "Not sent: the file holds control characters in [PARA] 16543\\x00, [PARA] 16544\n", 0},
        {"CallBackListGap", Command::Write,
         content(
             "[PARA]\r\n16547=\"CLEAR\"\r\n16212=\"111\"\r\n16213=\"0*0*0*0\"\r\n16214=\"333\"\r\n"
             "16215=\"444\"\r\n"),
         "Not sent: position 1508 of the call back list is empty and 1509 (16214), 1510 (16215) "
         "follow it; the terminal stops reading the list at an empty position and would lose "
         "them.\n",
         0},
        {"ForbiddenListGapPt", Command::Write,
         [&](CliOptions &o) {
             content("[PARA]\r\n3000=\"01\"\r\n3001=\"11\"\r\n3002=\"\"\r\n3003=\"33\"\r\n3004="
                     "\"\"\r\n")(o);
             o.language = 2;
         },
         "Nada enviado: a posição 0812 da lista de números bloqueados está vazia e 0813 (3003) vêm "
         "depois dela; o terminal para de ler a lista numa posição vazia e as perderia.\n",
         0},
        // These two leave the folder and the terminal unusable: last.
        {"TempFileIsAFolder", Command::Read,
         [&](CliOptions &) {
             fs::remove(temp);
             fs::create_directories(temp);
         },
         "Cannot write \"" + temp + "\": it is not a regular file\n", 1},
        {"SilentAtLogin", Command::Read,
         [&](CliOptions &) {
             terminal->SetFaults([] {
                 sim::Faults faults;
                 faults.silentAfter = 0;
                 return faults;
             }());
             login::g_nLoginTimeout = 200;
         },
         "Error: Timeout, check the COM Port!\n", 0},
    };
    for (const Case &c : cases) {
        CliOptions options = Options(c.command);
        options.quiet = true;
        if (c.command != Command::Read)
            options.out.clear();
        c.change(options);
        terminal->ClearCommands();
        EXPECT_EQ(Run(options), 1) << c.name;
        EXPECT_EQ(stderrText, c.said) << c.name;
        if (c.commands == kWholeRead) {
            EXPECT_GT(terminal->CommandCount(), 1u) << c.name;
        } else {
            EXPECT_EQ(terminal->CommandCount(), c.commands) << c.name;
        }
        EXPECT_FALSE(std::filesystem::is_regular_file(m_dir.File("out.ini"))) << c.name;
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
    // The advice's text is the login's (PortOpenAdvice); here it stands in
    // for the system's "Permission denied".
    EXPECT_EQ(Run(Options(CliOptions::Command::Read)), 1);
    EXPECT_NE(stderrText.find("Permission denied: you may not use the serial port " + tty + ", "),
              std::string::npos)
        << stderrText;
    EXPECT_EQ(stderrText.find("Permission denied\n"), std::string::npos);
}

// A read that fails says why (alone under --quiet) and where the values
// read so far are; --out stays as it was and no copy goes to the history.
TEST_F(CliOverSim, AFailedReadSaysWhyAndLeavesTheOutputFile)
{
    struct Case
    {
        const char *name;
        SimSetUp setUp;
        std::string said;
    };
    const Case cases[] = {
        // The login and three reads are answered.
        {"Silent", [](sim::SimOptions &o) { o.faults.silentAfter = 4; }, "Error:Overtime!\n"},
        {"Refused", [](sim::SimOptions &o) { o.faults.refuseReads = {3000}; },
         "Error:Fail to read Enable Prefixes and Numbers Block!\n"},
        // The login and two reads are answered.
        {"CablePulled", [](sim::SimOptions &o) { o.faults.hangUpAfter = 3; },
         "Error: The terminal was disconnected from the port %s!\n"},
    };
    for (const Case &c : cases) {
        StartTerminal(c.setUp);
        g_nJobTimeout = c.name == std::string("Silent") ? 300 : 30000;
        CliOptions read = Options(CliOptions::Command::Read);
        read.quiet = true;
        const std::string before = "[PARA]\r\n16543=\"3\"\r\n";
        WriteBytes(read.out, before);
        const std::string partial =
            read.dir + "/" + platform::PortFileName(read.port) + "ParaFile.ini";
        std::string said = c.said;
        if (const size_t port = said.find("%s"); port != std::string::npos)
            said.replace(port, 2, read.port);
        EXPECT_EQ(Run(read), 1) << c.name;
        EXPECT_EQ(stderrText, said + "The values read before the failure are in \"" + partial +
                                  "\"; \"" + read.out + "\" was not written.\n");
        EXPECT_EQ(ReadBytes(read.out), before) << c.name;
        EXPECT_NE(CIniFile(partial).GetString("PARA", "35", "?"), "?") << c.name;
        EXPECT_FALSE(std::filesystem::exists(params::HistoryRoot(read.dir + "/"))) << c.name;
    }
}

// Whatever line of the write the terminal refuses, the run fails (status 1)
// and says what the terminal holds.
TEST_F(CliOverSim, ARefusedLineFailsTheWriteSayingWhatTheTerminalHolds)
{
    struct Case
    {
        const char *name;
        std::set<int> refuseWrites;
        std::vector<std::string> refuseCommands;
        std::string said;
    };
    // clang-format off
    const Case cases[] = {
        {"Entry", {16544}, {},
         "Error: Fail to write parameter [2].Error Change TX Volume!\n"
         "Written and saved on the terminal: parameter 1 of 3. Refused: parameter 2. "
         "Not sent: parameter 3, AT command 1.\n"},
        {"AtCommand", {}, {"AT+CCWA"},
         "Error: Fail to write AT command [1].Error Call Waiting 0495!\n"
         "Written and saved on the terminal: parameters 1 to 3 of 3. Refused: AT command 1.\n"},
        {"Save", {9999}, {},
         "Fail to save parameter!\nWritten but not saved on the terminal: parameters 1 to 3 of 3. "
         "Written on the terminal: AT command 1 of 1.\n"},
        {"End", {9995}, {},
         "Written and saved on the terminal: parameters 1 to 3 of 3. Written on the terminal: "
         "AT command 1 of 1.\nFail to write parameter!\n"},
        {"Store", {}, {"AT&W"},
         "Written and saved on the terminal: parameters 1 to 3 of 3. Written on the terminal: "
         "AT command 1 of 1.\nFail to save AT command!\n"},
    };
    // clang-format on
    StartTerminal();
    CliOptions write = Options(CliOptions::Command::Write);
    write.file = m_dir.File("config.ini");
    WriteBytes(write.file, "[PARA]\r\n16543=\"6\"\r\n16544=\"11\"\r\n16210=\"100\"\r\n"
                           "[ATCMD]\r\nAT+CCWA=\"1,1\"\r\n");
    write.quiet = true;
    for (const Case &c : cases) {
        sim::Faults faults;
        faults.refuseWrites = c.refuseWrites;
        faults.refuseCommands = c.refuseCommands;
        terminal->SetFaults(faults);
        EXPECT_EQ(Run(write), 1) << c.name;
        EXPECT_EQ(stderrText, c.said) << c.name;
    }
}

// A terminal written from a file verifies clean; changed values are
// reported by name with both values; a read that fails compares nothing.
TEST_F(CliOverSim, VerifyComparesTheTerminalWithTheFile)
{
    StartTerminal();
    const std::string file = WriteConfiguration();
    ASSERT_EQ(Run(VerifyOptions(file)), 0) << stderrText << stdoutText;
    EXPECT_TRUE(Reported("Verified: all 8 verifiable settings match.")) << stdoutText;
    EXPECT_EQ(stdoutText.find("terminal \""), std::string::npos) << "no difference";

    // Without --forward nothing is known of call waiting and forwarding.
    CliOptions withoutForward = VerifyOptions(file);
    withoutForward.forward = false;
    ASSERT_EQ(Run(withoutForward), 0) << stdoutText;
    EXPECT_TRUE(Reported("Verified: all 3 verifiable settings match.")) << stdoutText;

    const std::string unverifiable = m_dir.File("unverifiable.ini");
    WriteBytes(unverifiable, "[PARA]\r\n32=\"123456\"\r\n16547=\"CLEAR\"\r\n");
    EXPECT_EQ(Run(VerifyOptions(unverifiable)), 1);
    EXPECT_TRUE(
        Reported("Not verified: nothing in the file could be checked against the terminal."))
        << stdoutText;

    terminal->SetValue(16543, "2");
    terminal->SetValue(16212, "5559999");
    CliOptions spanish = VerifyOptions(file);
    spanish.language = 3;
    EXPECT_EQ(Run(spanish), 1);
    // The report's lines in each language are the report's own test's; here
    // the language and the count reach it.
    EXPECT_TRUE(Reported("Verificado: 2 de 8 configuraciones verificables difieren."))
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
              nlohmann::json::parse(
                  R"({"name":"Change RX Volume","key":"16543","terminal":"2","file":"6"})"));
    EXPECT_EQ(summary["verification"]["notVerifiable"].size(), 2u);

    terminal->SetFaults([] {
        sim::Faults faults;
        faults.refuseReads = {16544};
        return faults;
    }());
    EXPECT_EQ(Run(VerifyOptions(file)), 1);
    EXPECT_TRUE(Said("Error:Fail to read Change TX Volume!")) << stderrText;
    EXPECT_TRUE(Said("Verify failed: the terminal could not be read.")) << stderrText;
    EXPECT_EQ(stdoutText, "") << "nothing is compared";
}

// A program that follows the run reads its states from standard error, one
// JSON object a line, and a script its outcome from standard output.
TEST_F(CliOverSim, AWriteWithVerifyTellsItsProgressAsJsonLines)
{
    StartTerminal();
    CliOptions write = Options(CliOptions::Command::Write);
    write.file = m_dir.File("config.ini");
    WriteBytes(write.file,
               "[PARA]\r\n16543=\"6\"\r\n16544=\"11\"\r\n[ATCMD]\r\nAT+CCWA=\"1,1\"\r\n");
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
    EXPECT_EQ(summary["messages"][0],
              nlohmann::json::parse(R"({"text":"Writing parameter ...","error":false})"));
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
    EXPECT_EQ(err.str(),
              "Error: The operation was stopped before its end!\n"
              "Nothing was written on the terminal. Sent without an answer: parameter 1. "
              "Not sent: parameter 2.\n");
    EXPECT_EQ(nlohmann::json::parse(out.str())["outcome"], "stopped");
    EXPECT_EQ(terminal->CommandCount(), 3u) << "nothing after the stop";
}

// No command reaches the terminal sooner than the gap after its final reply
// to the previous one, from the login on: the simulator's own record of
// arrivals and replies, compared without any allowance.
TEST_F(CliOverSim, NoCommandComesSoonerThanTheGapAfterAFinalReply)
{
    using Command = CliOptions::Command;
    const std::tuple<Command, int, size_t> cases[] = {
        {Command::Read, 0, 5}, {Command::Write, 20, 5}, {Command::Passwd, 20, 3}};
    for (const auto &[command, gap, commands] : cases) {
        StartTerminal();
        CliOptions options = Options(command);
        options.gap = gap;
        options.file = m_dir.File("config.ini");
        WriteBytes(options.file, "[PARA]\r\n16543=\"6\"\r\n16544=\"11\"\r\n16210=\"100\"\r\n"
                                 "[ATCMD]\r\nAT+CCWA=\"1,1\"\r\n");
        options.newPassword = "246801357924"; // the longest the terminal takes
        ASSERT_EQ(Run(options), 0) << stderrText;

        using Kind = sim::TimelineEntry::Kind;
        std::optional<sim::OutputSchedule::Clock::time_point> lastFinalReply;
        size_t checked = 0;
        for (const sim::TimelineEntry &entry : terminal->Timeline()) {
            if (entry.kind == Kind::FinalReplySent) {
                lastFinalReply = entry.at;
            } else if (lastFinalReply) {
                EXPECT_GE(entry.at - *lastFinalReply, std::chrono::milliseconds(gap))
                    << "command " << checked + 2 << " with a gap of " << gap;
                ++checked;
            }
        }
        EXPECT_GE(checked, commands) << "gap " << gap;
    }
}

} // namespace
