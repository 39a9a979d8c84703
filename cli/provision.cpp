#include "cli/provision.h"

#include "cli/json_text.h"
#include "cli/run_output.h"
#include "cli/text_table.h"
#include "cli/write_file_check.h"
#include "engine/login.h"
#include "params/ini_document.h"
#include "params/language.h"
#include "platform/file_io.h"
#include "platform/stop_signals.h"
#include "platform/subprocess.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <list>

namespace {

using Clock = std::chrono::steady_clock;

constexpr lang::Tr3 kHeader[] = {{"Port", "Porta", "Puerto"},
                                 {"Outcome", "Resultado", "Resultado"},
                                 {"Duration", "Duração", "Duración"},
                                 {"Reason", "Motivo", "Motivo"}};
constexpr lang::Tr3 kDone = {"done", "concluído", "terminado"};
constexpr lang::Tr3 kFailed = {"failed", "falhou", "falló"};
constexpr lang::Tr3 kSkipped = {"skipped", "não iniciada", "no iniciado"};
constexpr lang::Tr3 kNotStarted = {"Not started: the provisioning was stopped first.",
                                   "Não iniciada: o provisionamento foi interrompido antes.",
                                   "No iniciado: el aprovisionamiento se detuvo antes."};
constexpr lang::Tr3 kCannotStart = {"Cannot start kestrel-cli: %s",
                                    "Não foi possível iniciar o kestrel-cli: %s",
                                    "No se pudo iniciar kestrel-cli: %s"};
constexpr lang::Tr3 kNoResult = {"kestrel-cli ended without a result (exit status %s).",
                                 "O kestrel-cli terminou sem resultado (código de saída %s).",
                                 "kestrel-cli terminó sin resultado (código de salida %s)."};
constexpr lang::Tr3 kProvisioned = {"Provisioned: %s of %s terminals.",
                                    "Provisionados: %s de %s terminais.",
                                    "Aprovisionados: %s de %s terminales."};
constexpr lang::Tr3 kReportWritten = {"The report was written to \"%s\".",
                                      "O relatório foi escrito em \"%s\".",
                                      "El informe se escribió en \"%s\"."};

// One port's run.
struct PortRun
{
    std::string port;
    platform::Subprocess child;
    RunState state = RunState::Waiting;
    std::string pending; // what came of a line so far
    std::string reason;
    std::string errors; // error texts told, for a run that ends without a reason
    bool ended = false; // its final state line came
    int exitStatus = -1;
    Clock::time_point start, end;

    long long DurationMs() const
    {
        if (start == Clock::time_point())
            return 0;
        return std::chrono::duration_cast<std::chrono::milliseconds>(end - start).count();
    }
};

// The same file and password go to every terminal: what a run would refuse
// is refused once, here, before any run starts.
bool CheckBeforeStart(const CliOptions &options, RunOutput &output)
{
    const login::InputProblem problem =
        login::CheckInputs(options.ports.front(), options.baud, options.password);
    if (problem != login::InputProblem::None) {
        output.Tell(login::ProblemText(problem), true);
        return false;
    }
    std::string bytes;
    const platform::FileResult read =
        platform::ReadWholeFile(options.file, params::kIniMaxFileSize, bytes);
    if (!read.ok) {
        output.Tell(read.error, true);
        return false;
    }
    params::IniDocument document;
    document.Parse(bytes);
    const std::vector<std::string> problems = CheckFileToWrite(document);
    for (const std::string &text : problems)
        output.Tell(text, true);
    return problems.empty();
}

std::vector<std::string> WriteCommand(const CliOptions &o, const std::string &port)
{
    static constexpr const char *kLanguageNames[] = {"en", "pt", "es"};
    std::vector<std::string> args = {platform::OwnProgramPath(),
                                     "write",
                                     "--port",
                                     port,
                                     "--progress",
                                     "json",
                                     "--baud",
                                     o.baud,
                                     "--gap",
                                     std::to_string(o.gap),
                                     "--language",
                                     kLanguageNames[std::clamp(o.language, 1, 3) - 1]};
    if (!o.dir.empty())
        args.insert(args.end(), {"--dir", o.dir});
    if (o.verify)
        args.push_back("--verify");
    if (o.forward)
        args.push_back("--forward");
    args.push_back(o.file);
    return args;
}

class Provisioning
{
public:
    Provisioning(const CliOptions &options, std::ostream &err, std::ostream &out,
                 platform::StopSignals *stop)
        : m_options(options), m_out(out), m_output(options, err, {}), m_stop(stop)
    {
        for (const std::string &port : options.ports)
            m_runs.emplace_back().port = port;
    }

    int Run();

private:
    void Start(PortRun &run);
    void Follow();
    void OnLine(PortRun &run, const std::string &line);
    void Finish(PortRun &run);
    void StopAll();
    bool StopRequested();
    void PrintTable();
    bool WriteReport();
    std::string Json(Outcome outcome, int status) const;

    const CliOptions &m_options;
    std::ostream &m_out;
    RunOutput m_output;
    platform::StopSignals *m_stop;
    std::list<PortRun> m_runs; // a run's child never moves
    bool m_stopped = false;
};

bool Provisioning::StopRequested()
{
    if (!m_stopped && m_stop && m_stop->Take() != 0)
        StopAll();
    return m_stopped;
}

void Provisioning::StopAll()
{
    m_stopped = true;
    for (PortRun &run : m_runs)
        run.child.Signal(SIGTERM);
}

void Provisioning::Start(PortRun &run)
{
    run.start = run.end = Clock::now();
    std::string error;
    if (run.child.Start(WriteCommand(m_options, run.port),
                        {"KESTREL_PASSWORD=" + m_options.password}, error)) {
        run.state = RunState::LoggingIn;
        return;
    }
    run.state = RunState::Failed;
    run.reason = kCannotStart.Text({error});
    m_output.StateOf(run.port, run.state, run.reason);
}

// A line of a run's progress: relayed as it came, and kept as its state.
// A line that is not one (a crash report, say) is an error text of the run.
void Provisioning::OnLine(PortRun &run, const std::string &line)
{
    const auto members = json::ReadFlatObject(line);
    if (!members) {
        run.errors += (run.errors.empty() ? "" : " ") + line;
        m_output.Tell(run.port + ": " + line, true);
        return;
    }
    const auto member = [&](const char *key) {
        const auto found = members->find(key);
        return found == members->end() ? std::string() : found->second;
    };
    if (m_output.JsonProgress())
        m_output.Relay(line);
    if (member("event") == "message") {
        const bool error = member("error") == "true";
        if (error)
            run.errors += (run.errors.empty() ? "" : " ") + member("text");
        if (!m_output.JsonProgress() && (error || !m_options.quiet))
            m_output.Tell(run.port + ": " + member("text"), error);
        return;
    }
    if (const std::optional<RunState> state = StateNamed(member("state")))
        run.state = *state;
    if (run.state == RunState::Done || run.state == RunState::Failed) {
        run.ended = true;
        run.reason = member("reason");
    }
}

void Provisioning::Finish(PortRun &run)
{
    if (!run.pending.empty())
        OnLine(run, std::exchange(run.pending, {}));
    run.exitStatus = run.child.Wait();
    run.end = Clock::now();
    if (run.exitStatus == 0 && run.ended && run.state == RunState::Done)
        return;
    const bool told = run.ended && !run.reason.empty();
    run.state = RunState::Failed;
    if (!told) {
        run.reason =
            !run.errors.empty() ? run.errors : kNoResult.Text({std::to_string(run.exitStatus)});
        m_output.StateOf(run.port, run.state, run.reason);
    }
}

// Serves the runs' progress until every run has ended.
void Provisioning::Follow()
{
    for (;;) {
        std::vector<PortRun *> running;
        std::vector<int> fds;
        for (PortRun &run : m_runs) {
            if (run.child.Running()) {
                running.push_back(&run);
                fds.push_back(run.child.ErrorFd());
            }
        }
        if (running.empty())
            return;
        if (m_stop && !m_stopped)
            fds.push_back(m_stop->Fd());
        for (size_t ready : platform::WaitReadable(fds)) {
            if (ready == running.size()) {
                if (m_stop->Take())
                    StopAll();
                continue;
            }
            PortRun &run = *running[ready];
            const bool open = run.child.ReadErrors(run.pending);
            for (size_t end; (end = run.pending.find('\n')) != std::string::npos;) {
                const std::string line = run.pending.substr(0, end);
                run.pending.erase(0, end + 1);
                OnLine(run, line);
            }
            if (!open)
                Finish(run);
        }
    }
}

void Provisioning::PrintTable()
{
    std::vector<std::vector<std::string>> rows(1);
    for (const lang::Tr3 &title : kHeader)
        rows[0].push_back(title.Text());
    for (const PortRun &run : m_runs) {
        const lang::Tr3 &word = run.state == RunState::Done      ? kDone
                                : run.state == RunState::Skipped ? kSkipped
                                                                 : kFailed;
        char duration[32];
        std::snprintf(duration, sizeof duration, "%.1f s",
                      static_cast<double>(run.DurationMs()) / 1000);
        rows.push_back({run.port, word.Text(), duration, run.reason});
    }
    PrintColumns(rows, m_out);
}

// RFC 4180: a field with a comma, a quote or a line end is quoted.
std::string CsvField(const std::string &text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// The report holds no password; it is written as Save writes a file (a
// new file for the user alone, an existing one keeps its permissions).
bool Provisioning::WriteReport()
{
    if (m_options.report.empty())
        return true;
    std::string csv = "port,outcome,exit_status,duration_s,reason\r\n";
    for (const PortRun &run : m_runs) {
        char duration[32];
        std::snprintf(duration, sizeof duration, "%.1f",
                      static_cast<double>(run.DurationMs()) / 1000);
        csv += CsvField(run.port) + "," + std::string(StateName(run.state)) + "," +
               std::to_string(run.exitStatus) + "," + duration + "," + CsvField(run.reason) +
               "\r\n";
    }
    const platform::FileResult written = platform::ReplaceFile(m_options.report, csv);
    if (!written.ok)
        m_output.Tell(written.error, true);
    else
        m_output.Tell(kReportWritten.Text({m_options.report}), false);
    return written.ok;
}

std::string Provisioning::Json(Outcome outcome, int status) const
{
    std::vector<std::string> ports;
    for (const PortRun &run : m_runs)
        ports.push_back(json::Object()
                            .Text("port", run.port)
                            .Text("outcome", StateName(run.state))
                            .Number("exitStatus", run.exitStatus)
                            .Number("durationMs", run.DurationMs())
                            .Text("reason", run.reason)
                            .Str());
    json::Object summary = m_output.Summary("provision", outcome, status);
    summary.Raw("ports", json::Array(ports));
    summary.Raw("report", m_options.report.empty() ? "null" : json::Quote(m_options.report));
    return summary.Str();
}

int Provisioning::Run()
{
    lang::SetCode(m_options.language);
    int status = 1;
    Outcome outcome = Outcome::Failed;
    if (CheckBeforeStart(m_options, m_output)) {
        for (PortRun &run : m_runs)
            m_output.StateOf(run.port, RunState::Waiting);
        for (PortRun &run : m_runs) {
            if (StopRequested()) {
                run.state = RunState::Skipped;
                run.reason = kNotStarted.Text();
                m_output.StateOf(run.port, run.state, run.reason);
            } else {
                Start(run);
            }
        }
        Follow();
        const auto done =
            static_cast<size_t>(std::count_if(m_runs.begin(), m_runs.end(), [](const PortRun &run) {
                return run.state == RunState::Done;
            }));
        if (!m_options.json)
            PrintTable();
        m_output.Tell(kProvisioned.Text({std::to_string(done), std::to_string(m_runs.size())}),
                      done != m_runs.size());
        const bool reported = WriteReport();
        status = done == m_runs.size() && reported ? 0 : 1;
        outcome = status == 0 ? Outcome::Succeeded : m_stopped ? Outcome::Stopped : Outcome::Failed;
    }
    m_output.End(outcome, status);
    if (m_options.json)
        m_out << Json(outcome, status) << '\n';
    m_out << std::flush;
    return status;
}

} // namespace

int RunProvision(const CliOptions &options, std::ostream &err, std::ostream &out,
                 platform::StopSignals *stop)
{
    return Provisioning(options, err, out, stop).Run();
}
