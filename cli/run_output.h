#pragma once
// What one run of kestrel-cli tells, and how: texts on standard error as
// the program shows them, or (--progress json) one JSON object a line on
// standard error for a program that follows the run, and (--json) one JSON
// object on standard output at the end for a script.
//
// The progress lines are the one description of a run's live state; the
// provision command relays those of its runs, one per port:
//
//   {"event":"state","port":"SIM1","state":"writing","done":12,"total":356,"elapsedMs":2310}
//   {"event":"message","port":"SIM1","text":"...","error":false,"elapsedMs":2311}
//   {"event":"state","port":"SIM1","state":"failed","outcome":"failed","exitStatus":1,
//    "reason":"ERROR:Software Password invalid!","elapsedMs":2400}

#include "cli/cli_options.h"
#include "cli/json_text.h"
#include "cli/run_state.h"

#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// How a run ended, for scripts.
enum class Outcome { Succeeded, Failed, Differs, NotVerified, Stopped, WrongUsage };
std::string_view OutcomeName(Outcome outcome);

class RunOutput
{
public:
    struct Message
    {
        std::string text;
        bool error = false;
    };

    // `port` names the run in its progress lines ("" for none).
    RunOutput(const CliOptions &options, std::ostream &err, std::string port);

    // A text the user is shown: on standard error (an error always, others
    // unless quiet), or as a message line; kept for the summary.
    void Tell(const std::string &text, bool error);
    // The run has moved on; `text` is what standard error shows of it.
    void Progress(RunState state, int done = 0, int total = 0, const std::string &text = {});
    // A progress line made elsewhere (a run this one started), as it came.
    void Relay(const std::string &line);
    // A state line of the run on another port (one this run starts).
    void StateOf(const std::string &port, RunState state, const std::string &reason = {});
    // The run's end: its final state line.
    void End(Outcome outcome, int exitStatus);

    // The error messages told, one after the other: why the run failed.
    std::string Reason() const;
    // A reason that says more than the errors (a verification's summary).
    void SetReason(std::string reason) { m_reason = std::move(reason); }
    long long ElapsedMs() const;
    bool JsonProgress() const { return m_jsonProgress; }

    // The members every --json object has: command, port, outcome, exit
    // status, duration, the messages told.
    json::Object Summary(std::string_view command, Outcome outcome, int exitStatus) const;

private:
    json::Object Line(std::string_view event, const std::string &port) const;
    void Write(const json::Object &line);

    std::ostream &m_err;
    const bool m_quiet;
    const bool m_jsonProgress;
    const std::string m_port;
    const std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
    std::vector<Message> m_messages;
    std::string m_reason;
};
