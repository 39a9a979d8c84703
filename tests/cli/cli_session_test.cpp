// kestrel-cli's runs against the simulated terminal on a pty, where a
// transcript (cli_runs_test.cpp) cannot tell: planted links, a stop from
// another thread, the timing of commands.

#include "cli/cli_session.h"
#include "engine/engine_globals.h"
#include "engine/login.h"
#include "platform/port_names.h"
#include "tests/common/file_permissions.h"
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
