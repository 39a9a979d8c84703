// The two programs as a user runs them: kestrel-sim on its pty and
// kestrel-cli against it, with exit statuses and files.

#include "tests/common/child_process.h"
#include "tests/common/golden_file.h"
#include "tests/common/progress_lines.h"
#include "tests/common/pty_pair.h"
#include "tests/common/scoped_env.h"
#include "tests/common/temp_folder.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

using Json = nlohmann::json;

namespace {

// Runs a shell line; its standard output, and its exit status.
int Capture(const std::string &command, std::string &out)
{
    out.clear();
    FILE *pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The AT log kestrel-cli keeps for a pty in `dir`.
std::string AtLogOf(const std::string &dir, const std::string &tty)
{
    return dir + "/" + tty.substr(5).replace(3, 1, "_") + "AtLog.ini";
}

// Whether that AT log comes to hold `text` (a bound against hanging).
bool LogComesToHold(const std::string &dir, const std::string &tty, const std::string &text)
{
    for (int patience = 0; patience < 1000; ++patience, ::usleep(10000)) {
        if (ReadBytes(AtLogOf(dir, tty)).find(text) != std::string::npos)
            return true;
    }
    return false;
}

// What each program prints when asked for help or given a command line it
// cannot use: "PROGRAM ARGS" lines, followed by its status and its output.
TEST(Programs, HelpAndUsageAsTheTranscriptSays)
{
    const std::map<std::string, std::string> programs = {{"kestrel-cli", KESTREL_CLI},
                                                         {"kestrel-sim", KESTREL_SIM}};
    std::map<std::string, std::string> helps;
    const auto take = [&](const std::string &line) {
        std::vector<std::string> args = Words(line);
        if (args.empty() || line.starts_with('#') || line.starts_with("== "))
            return std::vector<std::string>{};
        std::string &help = helps[args.front()];
        args.front() = programs.at(args.front());
        ChildProcess program(args, ChildProcess::Output::WithErrors);
        std::string all = program.ReadAll();
        std::vector<std::string> seen = {"status " + std::to_string(program.Wait())};
        const size_t usage = help.empty() ? std::string::npos : all.find(help);
        if (args[1] == "--help")
            help = all;
        else if (usage != std::string::npos)
            all.replace(usage, help.size(), "(the help above)\n");
        std::istringstream printed(all);
        for (std::string one; std::getline(printed, one);)
            seen.push_back("| " + one);
        return seen;
    };
    ExpectTranscript(KESTREL_CLI_GOLDEN_DIR "/help_texts.txt", take, NoResults);
}

// Taken from a file, the environment or the prompt, the password never shows
// in the process list, and the prompt does not echo it; Ctrl+C at the prompt
// ends the program as the signal does, its echo back.
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

    enum class Way { File, Environment, Prompt, Interrupted };
    for (const Way way : {Way::File, Way::Environment, Way::Prompt, Way::Interrupted}) {
        std::vector<std::string> args = {KESTREL_CLI, "read",  "--port",        tty,
                                         "--gap",     "0",     "--quiet",       "--dir",
                                         dir,         "--out", dir + "/out.ini"};
        if (way == Way::File)
            args.insert(args.end(), {"--password-file", dir + "/pw"});
        const ScopedEnv env("KESTREL_PASSWORD", way == Way::Environment ? secret.c_str() : nullptr);
        ChildProcess cli(args, ChildProcess::Output::StandardOnly,
                         way >= Way::Prompt ? keyboard.Slave() : -1);
        // What the process list shows, once the new program has started.
        std::string shown;
        for (int patience = 0; patience < 10000 && shown.find("--out") == std::string::npos;
             ++patience)
            shown = ReadBytes("/proc/" + std::to_string(cli.Pid()) + "/cmdline");
        EXPECT_NE(shown.find("--out"), std::string::npos);
        EXPECT_EQ(shown.find(secret), std::string::npos) << shown;
        for (int patience = 0; way >= Way::Prompt && patience < 10000 && echoing(); ++patience)
            ::usleep(1000);
        if (way == Way::Prompt)
            keyboard.Write(secret + "\n");
        else if (way == Way::Interrupted)
            ::kill(cli.Pid(), SIGINT);
        EXPECT_EQ(cli.Wait(), way == Way::Interrupted ? -1 : 0)
            << "the password reached the terminal";
        EXPECT_TRUE(echoing()) << "the echo is back after the prompt";
    }
    EXPECT_EQ(keyboard.Read(1), "\n") << "the Enter alone is echoed";
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
        KESTREL_CLI " write --port " + tty + " --password 1234 --dir " + dir + " " + file;
    ChildProcess first({"/bin/sh", "-c", write + " 2>/dev/null"});
    ASSERT_TRUE(LogComesToHold(dir, tty, "Send: AT+WPAR=16543")) << "the first run is in its job";

    std::string said;
    EXPECT_EQ(Capture(write + " 2>&1 >/dev/null", said), 1);
    EXPECT_EQ(said, "Error: The port " + tty + " is in use by another program!\n");
    EXPECT_TRUE(first.Running())
        << "the second was turned away while the first still held the port";
    first.Stop();
}

// The terminal answers "OK" to a bare "AT"; a port that answers garbage
// (a terminal at another rate) is found to be there, but not answering.
TEST(Programs, PortsFindsTheTerminalAndNotAPortThatAnswersGarbage)
{
    TempFolder runtime;
    const ScopedEnv ownPorts("XDG_RUNTIME_DIR", runtime.Path().c_str());
    ChildProcess terminal({KESTREL_SIM, "--name", "KFIND1"});
    ChildProcess garbage({KESTREL_SIM, "--name", "KFIND2", "--garbled"});
    ASSERT_EQ(terminal.ReadLine().rfind("/dev/", 0), 0u);
    ASSERT_EQ(garbage.ReadLine().rfind("/dev/", 0), 0u);

    std::string out;
    EXPECT_EQ(Capture(KESTREL_CLI " ports", out), 0);
    EXPECT_TRUE(std::regex_search(out, std::regex("\nKFIND1 +Virtual port \\(KFIND1\\)\n"))) << out;
    const std::string probe = KESTREL_CLI " ports --probe --baud 9600"; // not the first searched
    EXPECT_EQ(Capture(probe + " --port KFIND1 --port KFIND2", out), 0);
    EXPECT_EQ(out, "KFIND1  Virtual port (KFIND1)  answers \"OK\" at 9600 baud\n"
                   "KFIND2  Virtual port (KFIND2)  answers, but never \"OK\"\n");
    EXPECT_EQ(Capture(probe + " --json --language pt --port KFIND2 --port KFIND1", out), 0);
    const Json summary = Json::parse(out);
    EXPECT_EQ(summary["outcome"], "succeeded");
    EXPECT_EQ(summary["ports"][0]["probe"],
              Json::parse(R"({"result":"no-answer","rate":"","heard":true,"error":""})"));
    EXPECT_EQ(summary["ports"][1]["description"], "Virtual port (KFIND1)");
    EXPECT_EQ(summary["ports"][1]["probe"]["result"], "answered");
    EXPECT_EQ(Capture(probe + " --language pt --port KFIND1 --port KFIND2", out), 0);
    EXPECT_EQ(out, "KFIND1  Virtual port (KFIND1)  responde \"OK\" a 9600 baud\n"
                   "KFIND2  Virtual port (KFIND2)  responde, mas nunca \"OK\"\n");
    EXPECT_EQ(Capture(probe + " --language es --port KFIND1 --port KFIND2", out), 0);
    EXPECT_EQ(out, "KFIND1  Virtual port (KFIND1)  responde \"OK\" a 9600 baudios\n"
                   "KFIND2  Virtual port (KFIND2)  responde, pero nunca \"OK\"\n");
    EXPECT_EQ(Capture(probe + " --port KFIND2 2>&1 >/dev/null", out), 1);
    EXPECT_EQ(out, "No port answered \"OK\".\n");
}

TEST(Programs, ProvisionWritesEveryTerminalAndNamesTheOneThatRefuses)
{
    TempFolder folder;
    const std::string &dir = folder.Path();
    ChildProcess sim1({KESTREL_SIM, "--no-advertise", "--blank-record", "0*0*0*0"});
    ChildProcess sim2({KESTREL_SIM, "--no-advertise", "--blank-record", "0*0*0*0"});
    ChildProcess refusing({KESTREL_SIM, "--no-advertise", "--password", "9999"});
    const std::string tty1 = sim1.ReadLine(), tty2 = sim2.ReadLine(), tty3 = refusing.ReadLine();
    ASSERT_EQ(tty3.rfind("/dev/", 0), 0u);
    const std::string file = dir + "/config.ini";
    WriteBytes(file, "[PARA]\r\n16543=\"6\"\r\n16210=\"100\"\r\n");
    const std::string provision = KESTREL_CLI " provision --port " + tty1 + " --port " + tty2 +
                                  " --port " + tty3 + " --dir " + dir + " " + file;
    const ScopedEnv password("KESTREL_PASSWORD", "1234");

    std::string out;
    EXPECT_EQ(Capture(provision + " --verify --report " + dir + "/r.csv 2>/dev/null", out), 1);
    const std::string refused = "ERROR:Software Password invalid!";
    const std::string seconds = "[0-9]+\\.[0-9] s";
    EXPECT_TRUE(
        std::regex_match(out, std::regex("Port +Outcome +Duration +Reason\n" + tty1 + " +done +" +
                                         seconds + "\n" + tty2 + " +done +" + seconds + "\n" +
                                         tty3 + " +failed +" + seconds + " +" + refused + "\n")))
        << out;
    EXPECT_TRUE(
        std::regex_match(ReadBytes(dir + "/r.csv"),
                         std::regex("port,outcome,exit_status,duration_s,reason\r\n" + tty1 +
                                    ",done,0,[0-9.]+,\r\n" + tty2 + ",done,0,[0-9.]+,\r\n" + tty3 +
                                    ",failed,1,[0-9.]+," + refused + "\r\n")))
        << ReadBytes(dir + "/r.csv");
    EXPECT_EQ(ModeOf(dir + "/r.csv"), 0600u);
    // The table, the count and the report's place in the user's language.
    const std::pair<const char *, std::vector<std::string>> languages[] = {
        {"en", {"\nThe report was written to \"" + dir + "/r.csv\".\n"}},
        {"pt",
         {"Porta +Resultado +Duração +Motivo\n", " +concluído +", " +falhou +",
          "\nProvisionados: 2 de 3 terminais.\n",
          "\nO relatório foi escrito em \"" + dir + "/r.csv\".\n"}},
        {"es",
         {"Puerto +Resultado +Duración +Motivo\n", " +terminado +", " +falló +",
          "\nAprovisionados: 2 de 3 terminales.\n",
          "\nEl informe se escribió en \"" + dir + "/r.csv\".\n"}},
    };
    for (const auto &[language, shown] : languages) {
        EXPECT_EQ(
            Capture(provision + " --language " + language + " --report " + dir + "/r.csv 2>&1",
                    out),
            1);
        for (const std::string &text : shown)
            EXPECT_TRUE(std::regex_search(out, std::regex(text))) << language << ": " << text;
    }

    EXPECT_EQ(Capture(provision + " --json --progress json 2>" + dir + "/progress", out), 1);
    const Json summary = Json::parse(out);
    EXPECT_EQ(summary["outcome"], "failed");
    EXPECT_TRUE(summary["report"].is_null()) << out;
    EXPECT_EQ(summary["ports"][0]["outcome"], "done");
    EXPECT_EQ(summary["ports"][2],
              Json::parse(R"({"port":")" + tty3 +
                          R"(","outcome":"failed","exitStatus":1,"durationMs":)" +
                          to_string(summary["ports"][2]["durationMs"]) + R"(,"reason":")" +
                          refused + "\"}"));
    const std::vector<Json> lines = JsonLines(ReadBytes(dir + "/progress"));
    EXPECT_EQ(StatesOf(lines, tty1),
              (std::vector<std::string>{"waiting", "logging-in", "writing 0/2", "writing 1/2",
                                        "writing 2/2", "saving", "done"}));
    EXPECT_EQ(StatesOf(lines, tty3), (std::vector<std::string>{"waiting", "logging-in", "failed"}));
    EXPECT_EQ(lines.back()["reason"], "Provisioned: 2 of 3 terminals.");
}

// The pids of the processes `parent` has started.
std::vector<pid_t> ChildrenOf(pid_t parent)
{
    std::vector<pid_t> children;
    for (const auto &entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue; // not a process (/proc/net/stat is a folder)
        const std::string stat = ReadBytes(entry.path() / "stat");
        const size_t comm = stat.rfind(')');
        if (comm != std::string::npos && std::atoi(stat.c_str() + comm + 4) == parent)
            children.push_back(std::atoi(name.c_str()));
    }
    return children;
}

// Ctrl+C (here SIGINT to the provisioning alone) stops every run: each
// ends its job, closes its port and says what the terminal holds. The
// password reaches the runs, but not their command lines. A run killed
// outright is failed with provision's own reason.
TEST(Programs, ProvisionStopsEveryRunCleanly)
{
    TempFolder folder;
    const std::string &dir = folder.Path();
    const std::string secret = "Kq7vZ2x";
    // The login and the transaction's opening are answered, then nothing.
    ChildProcess sim1({KESTREL_SIM, "--no-advertise", "--password", secret, "--silent-after", "2"});
    ChildProcess sim2({KESTREL_SIM, "--no-advertise", "--password", secret, "--silent-after", "2"});
    const std::string tty1 = sim1.ReadLine(), tty2 = sim2.ReadLine();
    ASSERT_EQ(tty2.rfind("/dev/", 0), 0u);
    const std::string file = dir + "/config.ini";
    WriteBytes(file, "[PARA]\r\n16543=\"6\"\r\n16210=\"100\"\r\n");
    const ScopedEnv password("KESTREL_PASSWORD", secret.c_str());
    ChildProcess provision({KESTREL_CLI, "provision", "--port", tty1, "--port", tty2, "--progress",
                            "json", "--dir", dir, file},
                           ChildProcess::Output::WithErrors);
    for (const std::string &tty : {tty1, tty2})
        ASSERT_TRUE(LogComesToHold(dir, tty, "Send: AT+WPAR=16543")) << tty;
    const std::vector<pid_t> runs = ChildrenOf(provision.Pid());
    ASSERT_EQ(runs.size(), 2u);
    for (pid_t run : runs) {
        const std::string shown = ReadBytes("/proc/" + std::to_string(run) + "/cmdline");
        EXPECT_NE(shown.find("write"), std::string::npos) << shown;
        EXPECT_EQ(shown.find(secret), std::string::npos) << shown;
    }

    // One run dies without a last word: provision gives its reason.
    const std::string killedTty =
        ReadBytes("/proc/" + std::to_string(runs[0]) + "/cmdline").find(tty1 + '\0') !=
                std::string::npos
            ? tty1
            : tty2;
    ::kill(runs[0], SIGKILL);
    ::kill(provision.Pid(), SIGINT);
    std::string output;
    for (std::string line; !(line = provision.ReadLine()).empty();)
        output += line + "\n";
    EXPECT_EQ(provision.Wait(), 1);
    const std::vector<Json> lines = JsonLines(output);
    for (const std::string &tty : {tty1, tty2}) {
        const bool killed = tty == killedTty;
        EXPECT_EQ(StatesOf(lines, tty).back(), "failed") << output;
        EXPECT_EQ(ReadBytes(AtLogOf(dir, tty)).find("Send: AT+WPAR=16210"), std::string::npos)
            << "nothing sent after the stop";
        EXPECT_EQ(ReadBytes(AtLogOf(dir, tty)).find("the write was stopped by the user") !=
                      std::string::npos,
                  !killed);
        for (const Json &line : lines) {
            if (line["event"] == "state" && line["state"] == "failed" && line["port"] == tty) {
                EXPECT_EQ(line.value("reason", ""),
                          killed ? "kestrel-cli ended without a result (exit status 137)."
                                 : "Error: The operation was stopped before its end! Nothing was "
                                   "written on the terminal. Sent without an answer: parameter "
                                   "1. Not sent: parameter 2.");
            }
        }
    }
    for (pid_t run : runs)
        EXPECT_NE(::kill(run, 0), 0) << "every run has ended";
}

} // namespace
