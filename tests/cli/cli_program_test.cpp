// The two programs as a user runs them: kestrel-sim on its pty and
// kestrel-cli against it, with exit statuses and files.

#include "tests/common/child_process.h"
#include "tests/common/pty_pair.h"
#include "tests/common/scoped_env.h"
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

namespace {

std::string Cli()
{
    return KESTREL_CLI;
}

// A shell line run as its own process, its standard error in a file.
ChildProcess Started(const std::string &command, const std::string &errFile)
{
    return ChildProcess({"/bin/sh", "-c", command + " 2>" + errFile});
}

// The AT log kestrel-cli keeps for a pty in `dir`.
std::string AtLogOf(const std::string &dir, const std::string &tty)
{
    return dir + "/" + tty.substr(5).replace(3, 1, "_") + "AtLog.ini";
}

// Taken from a file, the environment or the prompt, the password never shows
// in the process list, and the prompt does not echo it.
TEST(Programs, PasswordsStayOutOfTheProcessList)
{
    TempFolder folder;
    const std::string &dir = folder.Path();
    const std::string secret = "Kq7vZ2x";
    ChildProcess sim(
        {KESTREL_SIM, "--no-advertise", "--password", secret, "--blank-record", "0*0*0*0"});
    const std::string tty = sim.ReadLine();
    ASSERT_EQ(tty.rfind("/dev/", 0), 0u);
    WriteBytes(dir + "/pw", secret + "\n");
    PtyPair keyboard; // the user's terminal, with its echo
    termios cooked{};
    ::tcgetattr(keyboard.Slave(), &cooked);
    cooked.c_lflag |= ICANON | ECHO;
    ::tcsetattr(keyboard.Slave(), TCSANOW, &cooked);
    const auto echoing = [&] {
        return ::tcgetattr(keyboard.Slave(), &cooked) == 0 && (cooked.c_lflag & ECHO);
    };

    enum class Way { File, Environment, Prompt };
    for (const Way way : {Way::File, Way::Environment, Way::Prompt}) {
        std::vector<std::string> args = {KESTREL_CLI, "read",  "--port", tty,
                                         "--gap",     "0",     "--quiet", "--dir",
                                         dir,         "--out", dir + "/out.ini"};
        if (way == Way::File)
            args.insert(args.end(), {"--password-file", dir + "/pw"});
        const ScopedEnv env("KESTREL_PASSWORD", way == Way::Environment ? secret.c_str() : nullptr);
        ChildProcess cli(args, ChildProcess::Output::StandardOnly,
                         way == Way::Prompt ? keyboard.Slave() : -1);
        // What the process list shows, once the new program has started.
        std::string shown;
        for (int patience = 0; patience < 10000 && shown.find("--out") == std::string::npos;
             ++patience)
            shown = ReadBytes("/proc/" + std::to_string(cli.Pid()) + "/cmdline");
        EXPECT_NE(shown.find("--out"), std::string::npos);
        EXPECT_EQ(shown.find(secret), std::string::npos) << shown;
        if (way == Way::Prompt) {
            for (int patience = 0; patience < 10000 && echoing(); ++patience)
                ::usleep(1000);
            keyboard.Write(secret + "\n");
        }
        EXPECT_EQ(cli.Wait(), 0) << "the password reached the terminal";
    }
    EXPECT_EQ(keyboard.Read(1), "\n") << "the Enter alone is echoed";
}

TEST(Programs, TwoTerminalsWrittenAtOnceEachEndWithTheirOwnFile)
{
    TempFolder folder;
    const std::string &dir = folder.Path();
    ChildProcess sim1(
        {KESTREL_SIM, "--no-advertise", "--blank-record", "0*0*0*0", "--wire-baud", "115200"});
    ChildProcess sim2(
        {KESTREL_SIM, "--no-advertise", "--blank-record", "0*0*0*0", "--wire-baud", "115200"});
    const std::string tty1 = sim1.ReadLine(), tty2 = sim2.ReadLine();
    ASSERT_EQ(tty1.rfind("/dev/", 0), 0u);
    ASSERT_EQ(tty2.rfind("/dev/", 0), 0u);
    const std::string file1 = dir + "/one.ini", file2 = dir + "/two.ini";
    WriteBytes(file1, "[PARA]\r\n16543=\"6\"\r\n16544=\"11\"\r\n16210=\"100\"\r\n");
    WriteBytes(file2, "[PARA]\r\n16543=\"3\"\r\n16544=\"05\"\r\n16210=\"250\"\r\n");

    // Both in the same folder: the per-port files keep them apart.
    const std::string common = " --password 1234 --quiet --dir " + dir;
    ChildProcess write1 =
        Started(Cli() + " write --port " + tty1 + common + " " + file1, dir + "/w1.err");
    ChildProcess write2 =
        Started(Cli() + " write --port " + tty2 + common + " " + file2, dir + "/w2.err");
    EXPECT_EQ(write1.Wait(), 0) << ReadBytes(dir + "/w1.err");
    EXPECT_EQ(write2.Wait(), 0) << ReadBytes(dir + "/w2.err");

    EXPECT_EQ(RunCommand(Cli() + " verify --port " + tty1 + common + " " + file1 + " >/dev/null"),
              0);
    EXPECT_EQ(RunCommand(Cli() + " verify --port " + tty2 + common + " " + file2 + " >/dev/null"),
              0);
    EXPECT_EQ(RunCommand(Cli() + " verify --port " + tty1 + common + " " + file2 + " >/dev/null"),
              1)
        << "the two terminals hold different values";
    const std::string log1 = ReadBytes(AtLogOf(dir, tty1)), log2 = ReadBytes(AtLogOf(dir, tty2));
    EXPECT_NE(log1.find("Send: AT+WPAR=16210,\"100\""), std::string::npos);
    EXPECT_EQ(log1.find("\"250\""), std::string::npos) << "nothing of the other port's traffic";
    EXPECT_NE(log2.find("Send: AT+WPAR=16210,\"250\""), std::string::npos);
}

TEST(Programs, TheSamePortTwiceRefusesTheSecondAtOnce)
{
    TempFolder folder;
    const std::string &dir = folder.Path();
    // The login and the transaction's opening are answered, then nothing:
    // the first run holds the port in the middle of its job.
    ChildProcess sim({KESTREL_SIM, "--no-advertise", "--silent-after", "2"});
    const std::string tty = sim.ReadLine();
    ASSERT_EQ(tty.rfind("/dev/", 0), 0u);
    const std::string file = dir + "/config.ini";
    WriteBytes(file, "[PARA]\r\n16543=\"6\"\r\n");
    const std::string write =
        Cli() + " write --port " + tty + " --password 1234 --dir " + dir + " " + file;
    ChildProcess first = Started(write, dir + "/first.err");
    const std::string log = AtLogOf(dir, tty);
    for (int patience = 0; patience < 1000; ++patience) {
        if (ReadBytes(log).find("Send: AT+WPAR=16543") != std::string::npos)
            break;
        ::usleep(10000);
    }
    ASSERT_NE(ReadBytes(log).find("Send: AT+WPAR=16543"), std::string::npos)
        << "the first run is in its job";

    EXPECT_EQ(RunCommand(write + " 2>" + dir + "/second.err"), 1);
    EXPECT_EQ(ReadBytes(dir + "/second.err"),
              "Error: The port " + tty + " is in use by another program!\n");
    EXPECT_TRUE(first.Running())
        << "the second was turned away while the first still held the port";
    first.Stop();
}

} // namespace
