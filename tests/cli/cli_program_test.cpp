// The two programs as a user runs them: kestrel-sim on its pty and
// kestrel-cli against it, with exit statuses and files.

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Starts a program with its standard output on a pipe.
class Child
{
public:
    explicit Child(std::vector<std::string> argv)
    {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(fds[1], STDOUT_FILENO);
            ::close(fds[0]);
            ::close(fds[1]);
            std::vector<char *> args;
            for (std::string &arg : argv)
                args.push_back(arg.data());
            args.push_back(nullptr);
            ::execv(args[0], args.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        m_out = ::fdopen(fds[0], "r");
    }
    ~Child()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            int status = 0;
            ::waitpid(m_pid, &status, 0);
        }
        if (m_out)
            ::fclose(m_out);
    }
    std::string ReadLine()
    {
        char line[512] = {};
        if (!m_out || !::fgets(line, sizeof line, m_out))
            return {};
        std::string text(line);
        if (!text.empty() && text.back() == '\n')
            text.pop_back();
        return text;
    }

private:
    pid_t m_pid = -1;
    FILE *m_out = nullptr;
};

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
    char pattern[] = "/tmp/kestrel-programs-XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    Child sim({KESTREL_SIM, "--no-advertise", "--blank-record", "0*0*0*0", "--chunked"});
    const std::string tty = sim.ReadLine();
    ASSERT_EQ(tty.rfind("/dev/", 0), 0u) << "the first line names the pty: " << tty;

    const std::string out = dir + "/out.ini";
    EXPECT_EQ(RunCommand(std::string(KESTREL_CLI) + " read --port " + tty + " --password 1234 --quiet --dir " + dir
                  + " --out " + out),
              0);
    std::ifstream file(out);
    std::string content((std::istreambuf_iterator<char>(file)), {});
    EXPECT_NE(content.find("[PARA]\r\n"), std::string::npos);
    EXPECT_NE(content.find("16543="), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir + "/" + tty.substr(5).replace(3, 1, "_") + "AtLog.ini"))
        << "the AT log of the port";
    EXPECT_EQ(RunCommand(std::string(KESTREL_CLI) + " read --port " + tty + " --password 4321 --dir " + dir + " --out "
                  + out + " 2>/dev/null"),
              1);
    std::filesystem::remove_all(dir);
}

} // namespace
