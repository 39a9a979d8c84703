// Runs of kestrel-cli against the simulated terminal, as a reviewed
// transcript: golden/cli_runs.txt. A scenario ("== name") starts a terminal
// with the "sim" options given and takes its steps in turn; each run is
// followed by what it did, as "> " lines: its exit status, the commands that
// reached the terminal, its standard error and output line by line, and the
// files the run made, changed or removed (golden_file.h tells how to
// rewrite the "> " lines after a deliberate change).

#include "cli/cli_options.h"
#include "cli/cli_session.h"
#include "cli/password_sources.h"
#include "cli/ports_command.h"
#include "engine/engine_globals.h"
#include "engine/login.h"
#include "params/language.h"
#include "platform/port_lock.h"
#include "platform/port_names.h"
#include "sim/program_options.h"
#include "tests/common/golden_file.h"
#include "tests/common/sim_terminal.h"
#include "tests/common/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// Of a longer list of commands the rest is given by its count.
constexpr size_t kCommandsListed = 16;

void ReplaceAll(std::string &text, const std::string &from, const std::string &to)
{
    for (size_t at = 0; !from.empty() && (at = text.find(from, at)) != std::string::npos;
         at += to.size())
        text.replace(at, from.size(), to);
}

// A command line as parsed: its error, or the command and every option that
// differs from the defaults, and always the gap.
std::vector<std::string> Parsed(const std::vector<std::string> &args)
{
    const ParseResult parsed = ParseCommandLine(args);
    if (parsed.help || parsed.version)
        return {parsed.help ? "help" : "version"};
    if (!parsed.ok)
        return {"error " + parsed.error};
    const CliOptions &o = parsed.options, none;
    std::string line(CommandName(o.command));
    const auto text = [&](const char *name, const std::string &value, const std::string &usual,
                          bool given = false) {
        if (value != usual || given)
            line += std::string(" ") + name + "=\"" + value + "\"";
    };
    const auto flag = [&](const char *name, bool on) {
        if (on)
            line += std::string(" ") + name;
    };
    text("port", o.port, none.port);
    if (o.ports != std::vector<std::string>{o.port}) {
        std::string ports;
        for (const std::string &port : o.ports)
            ports += (ports.empty() ? "" : ",") + port;
        line += " ports=" + ports;
    }
    text("password", o.password, none.password, o.passwordGiven);
    text("password-file", o.passwordFile, none.passwordFile);
    text("baud", o.baud, none.baud, o.baudGiven);
    text("language", std::to_string(o.language), std::to_string(none.language));
    text("dir", o.dir, none.dir);
    text("out", o.out, none.out);
    text("file", o.file, none.file);
    text("report", o.report, none.report);
    text("new", o.newPassword, none.newPassword, o.newPasswordGiven);
    text("new-file", o.newPasswordFile, none.newPasswordFile);
    flag("forward", o.forward);
    flag("verify", o.verify);
    flag("probe", o.probe);
    flag("quiet", o.quiet);
    flag("json", o.json);
    flag("progress-json", o.progressJson);
    return {line + " gap=" + std::to_string(o.gap)};
}

class Scenario
{
public:
    explicit Scenario(std::string name) : m_name(std::move(name))
    {
        m_sim.sim.blankListRecord = "0*0*0*0";
        m_sim.sim.faults.chunked = true;
        g_nJobTimeout = 30000;
        login::g_nLoginTimeout = 8000;
    }

    // One step; the result lines of a run.
    std::vector<std::string> Take(const std::string &step)
    {
        const size_t blank = step.find(' ');
        const std::string verb = step.substr(0, blank);
        const std::string rest = blank == std::string::npos ? "" : step.substr(blank + 1);
        if (verb == "sim")
            return Sim(rest);
        if (verb == "parse")
            return Parsed(Words(rest));
        if (verb == "passwords")
            return Passwords(rest);
        Start();
        if (verb == "value") {
            const size_t space = rest.find(' ');
            EXPECT_TRUE(m_terminal->SetValue(std::stoi(rest.substr(0, space)),
                                             Unescape(rest.substr(space + 1))))
                << step;
        } else if (verb == "file") {
            const size_t space = rest.find(' ');
            const std::string name = rest.substr(0, space);
            m_written[name] = space == std::string::npos ? "" : Unescape(rest.substr(space + 1));
            WriteBytes(m_dir.File(name), m_written[name]);
        } else if (verb == "mkdir") {
            for (fs::path made = Expand(rest); made != m_dir.Path(); made = made.parent_path())
                m_made.insert(made.string());
            fs::create_directories(Expand(rest));
        } else if (verb == "claim") { // another run holds the port
            EXPECT_EQ(m_claim.Acquire(m_port), platform::PortLock::Result::Held);
        } else if (verb == "job-timeout") {
            g_nJobTimeout = std::stoi(rest);
        } else if (verb == "login-timeout") {
            login::g_nLoginTimeout = std::stoi(rest);
        } else if (verb == "show") {
            std::vector<std::string> lines;
            std::istringstream in(Normal(ReadBytes(Expand(rest))));
            for (std::string line; std::getline(in, line);)
                lines.push_back("| " + OneLine(line));
            return lines;
        } else if (verb == "run") {
            return Run(rest);
        } else {
            ADD_FAILURE() << m_name << ": unknown step " << step;
        }
        return {};
    }

private:
    // Where the passwords of a command line come from: "terminal" when the
    // user can be asked, NAME=VALUE in the environment and +LINE for each
    // line typed, then "--" and the command line.
    std::vector<std::string> Passwords(const std::string &line)
    {
        const std::vector<std::string> words = Words(line);
        const auto dashes = std::find(words.begin(), words.end(), "--");
        std::map<std::string, std::string> env;
        std::vector<std::string> typed, args, result;
        bool terminal = false;
        for (auto word = words.begin(); word != dashes; ++word) {
            if (*word == "terminal")
                terminal = true;
            else if (word->starts_with('+'))
                typed.push_back(word->substr(1));
            else
                env[word->substr(0, word->find('='))] = word->substr(word->find('=') + 1);
        }
        for (auto word = dashes + 1; word < words.end(); ++word)
            args.push_back(Expand(*word));
        ParseResult parsed = ParseCommandLine(args);
        EXPECT_TRUE(parsed.ok) << m_name << ": " << parsed.error;
        lang::SetCode(parsed.options.language);
        const PasswordSources sources{
            [&](const char *name) {
                const auto value = env.find(name);
                return value == env.end() ? nullptr : value->second.c_str();
            },
            terminal,
            [&](const std::string &prompt) {
                result.push_back("prompt \"" + prompt + '"');
                return result.size() <= typed.size() ? typed[result.size() - 1] : std::string();
            }};
        const PasswordsResult found = FindPasswords(parsed.options, sources);
        lang::SetCode(lang::kEnglish);
        result.push_back("status " + std::to_string(found.status) + " password \"" +
                         parsed.options.password + "\" new \"" + parsed.options.newPassword + '"');
        if (!found.error.empty())
            result.push_back("err " + Normal(found.error));
        return result;
    }

    std::vector<std::string> Sim(const std::string &args)
    {
        // Options before the start; afterwards, faults in place of the last ones.
        std::string error;
        sim::ProgramOptions faults;
        EXPECT_TRUE(sim::ParseProgramOptions(Words(args), m_terminal ? faults : m_sim, error))
            << m_name << error;
        if (m_terminal)
            m_terminal->SetFaults(faults.sim.faults);
        return {};
    }
    void Start()
    {
        if (!m_terminal) {
            m_terminal = StartSimulator([&](sim::SimOptions &o) { o = m_sim.sim; });
            m_port = m_terminal->SlavePath();
        }
    }
    std::string Expand(std::string text) const
    {
        ReplaceAll(text, "{port}", m_port);
        ReplaceAll(text, "{dir}", m_dir.Path());
        ReplaceAll(text, "{portfile}", platform::PortFileName(m_port));
        return text;
    }
    std::string Normal(std::string text) const
    {
        ReplaceAll(text, m_dir.Path(), "{dir}");
        ReplaceAll(text, platform::PortFileName(m_port), "{portfile}");
        ReplaceAll(text, m_port, "{port}");
        static const std::regex kTimes(
            "(\"(elapsed|duration)Ms\":)[0-9]+|[0-9]{8}-[0-9]{6}-[0-9]{3}|"
            "[0-9]{2}/[0-9]{2}/[0-9]{4} [0-9:]{8}");
        return std::regex_replace(text, kTimes, "$1#");
    }

    std::vector<std::string> Run(const std::string &line)
    {
        std::vector<std::string> args;
        for (const std::string &word : Words(line))
            args.push_back(Expand(word));
        const ParseResult parsed = ParseCommandLine(args);
        if (!parsed.ok) {
            ADD_FAILURE() << m_name << ": " << parsed.error;
            return {};
        }
        m_terminal->ClearCommands();
        const std::vector<std::string> before = Files();
        std::ostringstream err, out;
        const bool ports = parsed.options.command == CliOptions::Command::Ports;
        std::vector<std::string> result = {
            "status " + std::to_string(ports ? PortsCommand(parsed.options, err, out).Run()
                                             : CliSession(parsed.options, err, out).Run())};
        const std::vector<std::string> sent = m_terminal->Commands();
        for (size_t i = 0; i < std::min(sent.size(), kCommandsListed); ++i)
            result.push_back("sent " + Normal(sent[i]));
        if (sent.size() > kCommandsListed)
            result.push_back("sent " + std::to_string(sent.size() - kCommandsListed) + " more");
        for (const auto &[stream, text] : {std::pair("err ", err.str()), {"out ", out.str()}}) {
            std::istringstream lines(Normal(text));
            for (std::string one; std::getline(lines, one);)
                result.push_back(stream + one);
        }
        // What the run made, changed or removed in the folder.
        const std::vector<std::string> after = Files();
        std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                            std::back_inserter(result));
        std::vector<std::string> gone;
        std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                            std::back_inserter(gone));
        for (const std::string &file : gone)
            result.push_back("gone " + file.substr(5));
        return result;
    }

    // Each path in the folder with its mode; a file of a "file" step says
    // whether it is still as written (its mode is the umask's).
    std::vector<std::string> Files() const
    {
        std::vector<std::string> files;
        for (const auto &entry : fs::recursive_directory_iterator(m_dir.Path())) {
            const std::string name = fs::relative(entry.path(), m_dir.Path()).string();
            std::string line = "file " + Normal(name) + (entry.is_directory() ? "/" : "");
            if (m_written.contains(name)) {
                line += ReadBytes(entry.path().string()) == m_written.at(name) ? " as written"
                                                                               : " changed";
            } else if (!m_made.contains(entry.path().string())) {
                char mode[8];
                std::snprintf(mode, sizeof mode, " %04o", ModeOf(entry.path().string()));
                line += mode;
            }
            files.push_back(line);
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    std::string m_name;
    sim::ProgramOptions m_sim;
    TempFolder m_dir;
    std::unique_ptr<sim::TerminalSimulator> m_terminal;
    std::string m_port;
    platform::PortLock m_claim;
    std::map<std::string, std::string> m_written;
    std::set<std::string> m_made; // by "mkdir" steps
};

TEST(CliRuns, AsTheTranscriptSays)
{
    std::unique_ptr<Scenario> scenario;
    ExpectTranscript(
        KESTREL_CLI_GOLDEN_DIR "/cli_runs.txt",
        [&](const std::string &line) -> std::vector<std::string> {
            if (line.starts_with("== ")) {
                scenario.reset(); // the terminal of the last one goes first
                scenario = std::make_unique<Scenario>(line.substr(3));
            } else if (scenario && !line.empty() && !line.starts_with("#")) {
                return scenario->Take(line);
            }
            return {};
        },
        NoResults);
}

} // namespace
