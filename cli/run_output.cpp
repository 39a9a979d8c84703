#include "cli/run_output.h"

#include <array>

namespace {

constexpr std::array kOutcomeNames = {"succeeded",    "failed",  "differs",
                                      "not-verified", "stopped", "wrong-usage"};

// One line of the reason: the advice below an error is told on lines of
// its own.
std::string OnOneLine(const std::string &text)
{
    std::string line;
    for (char c : text) {
        if (c == '\n' || c == '\r' || c == '\t' || c == ' ') {
            if (!line.empty() && line.back() != ' ')
                line += ' ';
        } else {
            line += c;
        }
    }
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line;
}

} // namespace

std::string_view OutcomeName(Outcome outcome)
{
    return kOutcomeNames.at(static_cast<size_t>(outcome));
}

RunOutput::RunOutput(const CliOptions &options, std::ostream &err, std::string port)
    : m_err(err), m_quiet(options.quiet), m_jsonProgress(options.progressJson),
      m_port(std::move(port))
{}

long long RunOutput::ElapsedMs() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 m_start)
        .count();
}

json::Object RunOutput::Line(std::string_view event, const std::string &port) const
{
    json::Object line;
    line.Text("event", event);
    line.Text("port", port);
    return line;
}

void RunOutput::Write(const json::Object &line)
{
    json::Object stamped = line;
    stamped.Number("elapsedMs", ElapsedMs());
    m_err << stamped.Str() << '\n' << std::flush;
}

void RunOutput::Tell(const std::string &text, bool error)
{
    if (text.empty())
        return;
    m_messages.push_back({text, error});
    if (m_jsonProgress)
        Write(Line("message", m_port).Text("text", text).Flag("error", error));
    else if (error || !m_quiet)
        m_err << text << '\n' << std::flush;
}

void RunOutput::Progress(RunState state, int done, int total, const std::string &text)
{
    if (m_jsonProgress) {
        json::Object line = Line("state", m_port);
        line.Text("state", StateName(state));
        if (total > 0)
            line.Number("done", done).Number("total", total);
        Write(line);
    } else if (!text.empty() && !m_quiet) {
        m_err << text << '\n' << std::flush;
    }
}

void RunOutput::Relay(const std::string &line)
{
    m_err << line << '\n' << std::flush;
}

void RunOutput::StateOf(const std::string &port, RunState state, const std::string &reason)
{
    if (!m_jsonProgress)
        return;
    json::Object line = Line("state", port);
    line.Text("state", StateName(state));
    if (!reason.empty())
        line.Text("reason", reason);
    Write(line);
}

void RunOutput::End(Outcome outcome, int exitStatus)
{
    if (!m_jsonProgress)
        return;
    json::Object line = Line("state", m_port);
    line.Text("state", StateName(exitStatus == 0 ? RunState::Done : RunState::Failed));
    line.Text("outcome", OutcomeName(outcome)).Number("exitStatus", exitStatus);
    if (exitStatus != 0)
        line.Text("reason", Reason());
    Write(line);
}

std::string RunOutput::Reason() const
{
    if (!m_reason.empty())
        return m_reason;
    std::string reason;
    for (const Message &message : m_messages) {
        if (message.error)
            reason += (reason.empty() ? "" : " ") + OnOneLine(message.text);
    }
    return reason;
}

json::Object RunOutput::Summary(std::string_view command, Outcome outcome, int exitStatus) const
{
    std::vector<std::string> messages;
    for (const Message &message : m_messages)
        messages.push_back(
            json::Object().Text("text", message.text).Flag("error", message.error).Str());
    json::Object summary;
    summary.Text("command", command);
    summary.Raw("port", m_port.empty() ? "null" : json::Quote(m_port));
    summary.Text("outcome", OutcomeName(outcome)).Number("exitStatus", exitStatus);
    summary.Number("durationMs", ElapsedMs()).Raw("messages", json::Array(messages));
    return summary;
}
