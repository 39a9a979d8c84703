// The two programs as a user runs them: kestrel-sim on its pty and
// kestrel-cli against it, with exit statuses and files.

#include "tests/common/child_process.h"
#include "tests/common/temp_folder.h"

#include <gtest/gtest.h>

namespace {

int RunCommand(const std::string &command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Programs, WrongUsageExitsWithTwo)
{
    EXPECT_EQ(RunCommand(std::string(KESTREL_CLI) + " 2>/dev/null"), 2);
    EXPECT_EQ(RunCommand(std::string(KESTREL_CLI) + " read --port SIM0 2>/dev/null"), 2);
    EXPECT_EQ(RunCommand(std::string(KESTREL_CLI) + " --help >/dev/null"), 0);
}

TEST(Programs, TheCommandLineToolReadsTheSimulatedTerminal)
{
    TempFolder folder;
    const std::string &dir = folder.Path();
    ChildProcess sim({KESTREL_SIM, "--no-advertise", "--blank-record", "0*0*0*0", "--chunked"});
    const std::string tty = sim.ReadLine();
    ASSERT_EQ(tty.rfind("/dev/", 0), 0u) << "the first line names the pty: " << tty;

    const std::string out = dir + "/out.ini";
    EXPECT_EQ(RunCommand(std::string(KESTREL_CLI) + " read --port " + tty +
                         " --password 1234 --quiet --dir " + dir + " --out " + out),
              0);
    const std::string content = ReadBytes(out);
    EXPECT_NE(content.find("[PARA]\r\n"), std::string::npos);
    EXPECT_NE(content.find("16543="), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir + "/" + tty.substr(5).replace(3, 1, "_") + "AtLog.ini"))
        << "the AT log of the port";
    EXPECT_EQ(RunCommand(std::string(KESTREL_CLI) + " read --port " + tty +
                         " --password 4321 --dir " + dir + " --out " + out + " 2>/dev/null"),
              1);
}

} // namespace
