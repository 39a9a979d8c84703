// kestrel-sim as a program: first line, advertised port, clean stop.

#include "platform/virtual_ports.h"
#include "pty_client.h"
#include "tests/common/temp_folder.h"

#include <csignal>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

// Reads one line from the pipe, byte by byte, so nothing after it is taken.
std::string ReadLine(int fd)
{
    std::string line;
    char c = 0;
    while (::read(fd, &c, 1) == 1 && c != '\n')
        line.push_back(c);
    return line;
}

} // namespace

TEST(Program, ServesAdvertisesAndStopsOnSigterm)
{
    TempFolder runtime;
    ::setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);

    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string program = KESTREL_SIM_PROGRAM;
    std::vector<std::string> args = {program, "--name", "SIMTEST", "--password", "8642"};
    std::vector<char *> argv;
    for (std::string &arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);

    const std::string path = ReadLine(out[0]);
    EXPECT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;
    const std::string link = platform::FindVirtualPort("SIMTEST");
    EXPECT_FALSE(link.empty());
    {
        simtest::PtyClient client(link);
        ASSERT_TRUE(client.IsOpen());
        EXPECT_EQ(client.Exchange("AT+WPAR=9996,\"8642\"\r"), "AT+WPAR=9996,\"8642\"\r\r\nOK\r\n");
    }

    ASSERT_EQ(::kill(pid, SIGTERM), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(platform::FindVirtualPort("SIMTEST"), "") << "withdrawn on exit";
    ::close(out[0]);
}
