// The terminal's answers, line by line without a pty, against the reviewed
// transcript in golden/terminal_core.txt. A scenario ("== name") starts a
// terminal with kestrel-sim's options ("sim ..."; later ones replace the
// faults) and, for its clock, a host time ("host SECONDS"; "later SECONDS"
// moves it on); "set NUMBER TEXT" gives a value ("> refused" when it is
// not taken), "< LINE" sends a command
// line. The reply to a command, and "value NUMBER", "password", "pin",
// "echo" and "parameters" (every number kept, as read), are followed by "> "
// lines (golden_file.h tells how to rewrite them).

#include "sim/parameter_table.h"
#include "sim/program_options.h"
#include "sim/terminal_core.h"
#include "tests/common/golden_file.h"

#include <memory>

using namespace sim;

namespace {

class Scenario
{
public:
    std::vector<std::string> Take(const std::string &step)
    {
        const size_t blank = step.find(' ');
        const std::string verb = step.substr(0, blank);
        const std::string rest = blank == std::string::npos ? "" : step.substr(blank + 1);
        if (verb == "sim") {
            ProgramOptions parsed;
            std::string error;
            std::vector<std::string> args;
            std::istringstream in(rest);
            for (std::string word; in >> word;)
                args.push_back(word == "''" ? "" : Unescape(word));
            EXPECT_TRUE(ParseProgramOptions(args, m_core ? parsed : m_options, error)) << error;
            if (m_core)
                m_core->SetFaults(parsed.sim.faults);
            return {};
        }
        if (verb == "host") {
            *m_host = HostTime(std::chrono::seconds(std::stoll(rest)));
            m_options.sim.clock = [host = m_host] { return *host; };
            return {};
        }
        if (verb == "later") {
            *m_host += std::chrono::seconds(std::stoll(rest));
            return {};
        }
        if (!m_core)
            m_core = std::make_unique<TerminalCore>(m_options.sim);
        if (verb == "set") {
            const size_t space = rest.find(' ');
            if (!m_core->SetValue(std::stoi(rest.substr(0, space)),
                                  space == std::string::npos ? ""
                                                             : Unescape(rest.substr(space + 1))))
                return {"refused"};
        } else if (verb == "<") {
            Reply reply = m_core->Execute(Unescape(rest));
            reply.lines.push_back(reply.final);
            return reply.lines;
        } else if (verb == "value") {
            const auto value = m_core->Value(std::stoi(rest));
            return {value ? '"' + *value + '"' : "none"};
        } else if (verb == "password") {
            return {'"' + m_core->State().password + '"'};
        } else if (verb == "pin") {
            return {'"' + m_core->State().simPin + '"'};
        } else if (verb == "echo") {
            return {m_core->Echo() ? "on" : "off"};
        } else if (verb == "parameters") {
            std::vector<std::string> rows;
            for (const ParameterSpec &row : ParameterTable()) {
                const Reply read = m_core->Execute("AT+RPAR=" + std::to_string(row.first));
                rows.push_back(std::to_string(row.first) +
                               (row.last != row.first ? ".." + std::to_string(row.last) : "") +
                               (row.access == Access::ReadOnly ? " read-only" : "") +
                               (row.form == ValueForm::Text ? " text" : " digits") + ", at most " +
                               std::to_string(row.maxLength) + ": " +
                               (read.lines.empty() ? read.final : read.lines[0]));
            }
            return rows;
        } else {
            ADD_FAILURE() << "unknown step " << step;
        }
        return {};
    }

private:
    ProgramOptions m_options;
    std::shared_ptr<HostTime> m_host = std::make_shared<HostTime>();
    std::unique_ptr<TerminalCore> m_core;
};

} // namespace

TEST(TerminalCore, AsTheTranscriptSays)
{
    std::unique_ptr<Scenario> scenario;
    ExpectTranscript(
        KESTREL_SIM_GOLDEN_DIR "/terminal_core.txt",
        [&](const std::string &line) -> std::vector<std::string> {
            if (line.starts_with("== "))
                scenario = std::make_unique<Scenario>();
            else if (scenario && !line.empty() && !line.starts_with("#"))
                return scenario->Take(line);
            return {};
        },
        NoResults);
}
