// kestrel-sim as a program: first line, advertised port, clean stop.

#include "platform/port_names.h"
#include "platform/virtual_ports.h"
#include "tests/common/child_process.h"
#include "tests/common/pty_pair.h"
#include "tests/common/temp_folder.h"

#include <gtest/gtest.h>

TEST(Program, ServesAdvertisesAndStopsOnSigterm)
{
    TempFolder runtime;
    ::setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    ChildProcess program({KESTREL_SIM_PROGRAM, "--name", "SIMTEST", "--password", "8642"});
    const std::string path = program.ReadLine();
    EXPECT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;
    const std::string link = platform::FindVirtualPort("SIMTEST");
    EXPECT_FALSE(link.empty());
    {
        PtyClient client(link);
        ASSERT_TRUE(client.IsOpen());
        EXPECT_EQ(client.Exchange("AT+WPAR=9996,\"8642\"\r"), "AT+WPAR=9996,\"8642\"\r\r\nOK\r\n");
    }
    EXPECT_EQ(program.Stop(), 0);
    EXPECT_EQ(platform::FindVirtualPort("SIMTEST"), "") << "withdrawn on exit";
}

// A killed simulator cannot withdraw its link; its pty goes, and the pty's
// number may go to another program. The link must then lead nowhere.
TEST(Program, AKilledSimulatorsNameIsSkippedThenTakenOverAndALiveOneIsNotShared)
{
    namespace fs = std::filesystem;
    TempFolder runtime;
    ::setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    const std::vector<std::string> command = {KESTREL_SIM_PROGRAM, "--name", "SIMTEST"};
    const std::string link = runtime.File("kestrel-ports/SIMTEST");
    {
        ChildProcess killed(command);
        ASSERT_FALSE(killed.ReadLine().empty());
        ASSERT_EQ(platform::FindVirtualPort("SIMTEST"), link);
        killed.Stop(SIGKILL);
    }
    PtyPair someoneElses;
    fs::create_symlink(someoneElses.SlavePath(), link + ".new");
    fs::rename(link + ".new", link);
    EXPECT_EQ(platform::FindVirtualPort("SIMTEST"), "");
    EXPECT_EQ(platform::DevicePathForPort("SIMTEST"), "/dev/SIMTEST");
    EXPECT_TRUE(platform::ListVirtualPorts().empty());

    ChildProcess live(command);
    const std::string path = live.ReadLine();
    ASSERT_EQ(platform::DevicePathForPort("SIMTEST"), link);
    EXPECT_EQ(fs::read_symlink(link), path) << "the stale link is replaced";
    PtyClient client(link);
    ASSERT_TRUE(client.IsOpen());
    EXPECT_EQ(client.Exchange("AT+WPAR=9996,\"1234\"\r"), "AT+WPAR=9996,\"1234\"\r\r\nOK\r\n");

    ChildProcess second(command, ChildProcess::Output::WithErrors);
    EXPECT_EQ(second.ReadLine(), "kestrel-sim: not advertised: the port name SIMTEST is in use "
                                 "by a running program (process " +
                                     std::to_string(live.Pid()) + ")");
    EXPECT_EQ(second.Stop(), 1);
    EXPECT_EQ(fs::read_symlink(link), path) << "the live simulator keeps its name";
}

// Its state file could not be written (its folder is missing): it says so.
TEST(Program, AHangUpWithdrawsThePortAndEndsTheRun)
{
    TempFolder runtime;
    ::setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    ChildProcess program({KESTREL_SIM_PROGRAM, "--name", "SIMTEST", "--hang-up-after", "1",
                          "--state", runtime.File("gone/state.ini")},
                         ChildProcess::Output::WithErrors);
    ASSERT_EQ(program.ReadLine(), "kestrel-sim: serving as SIMTEST");
    {
        PtyClient client(platform::FindVirtualPort("SIMTEST"));
        ASSERT_TRUE(client.IsOpen());
        EXPECT_EQ(client.Exchange("AT&W\r"), "AT&W\r\r\nERROR\r\n");
        ASSERT_TRUE(client.Write("AT\r"));
        EXPECT_EQ(client.ReadUntil([](const std::string &) { return false; }), "");
    }
    EXPECT_EQ(program.Wait(), 0);
    EXPECT_NE(program.ReadAll().find("kestrel-sim: hung up\nkestrel-sim: the state file was not "
                                     "saved: "),
              std::string::npos);
    EXPECT_EQ(platform::FindVirtualPort("SIMTEST"), "");
}
