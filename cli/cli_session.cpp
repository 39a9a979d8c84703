#include "cli/cli_session.h"

#include "cli/run_output.h"
#include "cli/verify_report.h"
#include "cli/write_file_check.h"
#include "engine/comm_engine.h"
#include "engine/engine_globals.h"
#include "engine/headless_window.h"
#include "engine/login.h"
#include "engine/operations.h"
#include "engine/temp_parameter_file.h"
#include "link/serial_port.h"
#include "link/shared_settings.h"
#include "params/catalogue.h"
#include "params/ini_document.h"
#include "params/param_file.h"
#include "params/password_rules.h"
#include "params/read_lists.h"
#include "platform/app_dir.h"
#include "platform/file_io.h"
#include "platform/messages.h"
#include "platform/port_names.h"

#include <atomic>
#include <filesystem>
#include <optional>

using namespace platform;

namespace {

constexpr lang::Tr3 kPartialValues = {
    "The values read before the failure are in \"%s\"; \"%s\" was not written.",
    "Os valores lidos antes da falha estão em \"%s\"; \"%s\" não foi escrito.",
    "Los valores leídos antes del error están en \"%s\"; \"%s\" no se escribió."};
constexpr lang::Tr3 kReadSaved = {"The values read were saved to \"%s\".",
                                  "Os valores lidos foram salvos em \"%s\".",
                                  "Los valores leídos se guardaron en \"%s\"."};
constexpr lang::Tr3 kHistoryCopy = {
    "A copy of the values is kept in the settings history: %s",
    "Uma cópia dos valores foi guardada no histórico de configurações: %s",
    "Una copia de los valores se guardó en el historial de configuraciones: %s"};
constexpr lang::Tr3 kVerifyReadFailed = {"Verify failed: the terminal could not be read.",
                                         "Falha na verificação: não foi possível ler o terminal.",
                                         "Error en la verificación: no se pudo leer el terminal."};

} // namespace

struct CliSession::Impl
{
    Impl(const CliOptions &o, std::ostream &e, std::ostream &out)
        : options(o), reportOut(out), output(o, e, o.port),
          window(port, [this](const std::string &text, bool error) { Print(text, error); })
    {
        window.Queue().On(WM_STOP_REQUEST, [this](uintptr_t, intptr_t) {
            if (onStop)
                onStop();
        });
        window.OnProgress([this](const JobReport &report) { OnJobProgress(report); });
    }

    void Print(const std::string &text, bool error)
    {
        if (error)
            failed = true;
        output.Tell(text, error);
    }

    int Run();
    bool PrepareFolder();
    bool LockPort();
    bool LoadFileToVerify();
    bool LoadFileToWrite();
    bool CheckNewPassword();
    void TellHistoryCopy(const Operations &operations);
    bool Login();
    bool RunJob(CommEngine &engine, RunState state, int total, const std::function<bool()> &start);
    void OnJobProgress(const JobReport &report);
    // How many entries the job under way reads or sends.
    int JobTotal() const;
    bool ReadTerminal(RunState state);
    int Read();
    int Write();
    int ChangePassword();
    int Verify();
    Outcome RunOutcome(int status) const;
    void PrintSummary(int status);

    const CliOptions &options;
    std::ostream &reportOut;
    RunOutput output;
    params::IniDocument fileToVerify;
    std::string fileToWrite;     // the bytes checked are the bytes sent
    int fileEntries[2] = {0, 0}; // the file's parameters and AT-command settings
    CSerialPort port;
    HeadlessWindow window;
    ReadLists lists;
    bool failed = false;
    bool jobEnded = false;
    bool succeeded = false;
    std::optional<VerifyResult> verified;
    // Set from the thread that stops the run; the rest is the run's own.
    std::atomic<bool> stopRequested{false};
    std::function<void()> onStop; // what ends the login or the job under way
    RunState jobState = RunState::Reading;
    int jobTotal = 0;
};

CliSession::CliSession(const CliOptions &options, std::ostream &err, std::ostream &out)
    : m_impl(std::make_unique<Impl>(options, err, out))
{}

CliSession::~CliSession() = default;

void CliSession::Stop()
{
    m_impl->stopRequested = true;
    m_impl->window.PostMessage(WM_STOP_REQUEST);
}

// The per-port files hold the passwords sent: their folder is made 0700
// and must be the user's alone.
bool CliSession::Impl::PrepareFolder()
{
    g_strAppDir = options.dir.empty() ? AppDir() : options.dir;
    if (!g_strAppDir.empty() && g_strAppDir.back() != '/')
        g_strAppDir += '/';
    const FileResult folder = PreparePrivateFolder(g_strAppDir);
    if (!folder.ok)
        Print(folder.error, true);
    return folder.ok;
}

// Another run on the same port is turned away here, before either touches
// the terminal; a port that cannot be opened at all is the login's to report.
bool CliSession::Impl::LockPort()
{
    if (port.ClaimPort(options.port))
        return true;
    Print(login::texts::kPortInUse.Text({options.port}), true);
    return false;
}

bool CliSession::Impl::LoadFileToVerify()
{
    const FileResult loaded = fileToVerify.Load(options.file);
    std::vector<std::string> keys;
    if (!loaded.ok)
        Print(loaded.error, true);
    else if (!fileToVerify.Exists())
        Print("Cannot open \"" + options.file + "\": the file does not exist", true);
    else if (!fileToVerify.GetKeys(params::kParaSection, keys) &&
             !fileToVerify.GetKeys(params::kAtcmdSection, keys))
        Print("\"" + options.file + "\" has no settings to verify", true);
    else
        return true;
    return false;
}

// The file is read once, checked, and sent as it was checked; a
// verification afterwards compares with the same bytes.
bool CliSession::Impl::LoadFileToWrite()
{
    const FileResult loaded = ReadWholeFile(options.file, params::kIniMaxFileSize, fileToWrite);
    if (!loaded.ok) {
        Print(loaded.error, true);
        return false;
    }
    fileToVerify.Parse(fileToWrite);
    for (const std::string &problem : CheckFileToWrite(fileToVerify))
        Print(problem, true);
    std::vector<std::string> keys;
    fileToVerify.GetKeys(params::kParaSection, keys);
    fileEntries[0] = static_cast<int>(keys.size());
    keys.clear();
    fileToVerify.GetKeys(params::kAtcmdSection, keys);
    fileEntries[1] = static_cast<int>(keys.size());
    return !failed;
}

void CliSession::Impl::TellHistoryCopy(const Operations &operations)
{
    if (!operations.HistoryCopy().empty())
        Print(kHistoryCopy.Text({operations.HistoryCopy()}), false);
}

// The login dialog's exchange: the password goes to the terminal, and only
// its "OK" lets the operation go on. The port is closed again afterwards.
bool CliSession::Impl::Login()
{
    const login::InputProblem problem =
        login::CheckInputs(options.port, options.baud, options.password);
    if (problem != login::InputProblem::None) {
        Print(login::ProblemText(problem), true);
        return false;
    }
    if (stopRequested) {
        Print(kStoppedText.Text(), true);
        return false;
    }
    g_strBaudRate = options.baud;
    g_strPortName = options.port;
    output.Progress(RunState::LoggingIn);

    enum class State { Waiting, Accepted, Failed } state = State::Waiting;
    login::Exchange exchange(options.password);
    auto finish = [&](State result, const lang::Tr3 *message) {
        window.Queue().KillTimer(kLoginTimerId);
        window.Queue().KillTimer(kLineClearTimerId);
        port.ClosePort();
        state = result;
        if (message)
            Print(message->Text(), true);
    };
    auto onOutcome = [&](login::Exchange::Outcome outcome) {
        using Answer = login::Exchange::Outcome;
        switch (outcome) {
        case Answer::NoData:
            Print(login::texts::kNoData, false);
            break;
        // The bare CR's answer: the login line goes out once this line's
        // handling is over (see login::Exchange).
        case Answer::SendLogin:
            window.Queue().SetTimer(kLineClearTimerId, Millis(0));
            break;
        case Answer::Accepted:
            finish(State::Accepted, nullptr);
            break;
        case Answer::Refused:
            finish(State::Failed, &login::texts::kPasswordInvalid);
            break;
        case Answer::NotUnderstood:
            finish(State::Failed, &login::texts::kLoginNotUnderstood);
            break;
        case Answer::Waiting:
            break;
        }
    };
    window.RouteLinesTo(
        [&](std::unique_ptr<std::string> line) {
            if (state == State::Waiting)
                onOutcome(exchange.OnLine(*line));
        },
        [](RxError error) {
            switch (error) {
            case RxError::Overflow:
                return login::texts::kOverflow.Text();
            case RxError::SwapFailed:
                return login::texts::kSwapError.Text();
            case RxError::NoData:
                break;
            }
            return std::string(login::texts::kNoData);
        });
    window.OnLoginTimer([&] { finish(State::Failed, &login::texts::kTimeout); });
    window.OnLineClearTimer([&] {
        window.Queue().KillTimer(kLineClearTimerId);
        if (state == State::Waiting &&
            exchange.OnClearTimeout() == login::Exchange::Outcome::SendLogin)
            port.Send(exchange.Line().data(), static_cast<uint32_t>(exchange.Line().size()));
    });

    if (!port.OpenPort()) {
        Print(login::texts::kCannotOpenPort.Text({options.port}), true);
        if (const std::string advice = login::PortOpenAdvice(options.port, port.LastError().kind);
            !advice.empty())
            Print(advice, true);
        else if (!port.LastErrorText().empty())
            Print(port.LastErrorText(), true);
        return false;
    }
    onStop = [&] {
        if (state == State::Waiting)
            finish(State::Failed, &kStoppedText);
    };
    window.Queue().SetTimer(kLoginTimerId, Millis(login::g_nLoginTimeout));
    port.Send(login::Exchange::kClearLine.data(),
              static_cast<uint32_t>(login::Exchange::kClearLine.size()));
    window.Queue().SetTimer(kLineClearTimerId, Millis(login::kLineClearTimeMs));
    window.Queue().RunUntil([&] { return state != State::Waiting; }, std::chrono::hours(24));
    onStop = nullptr;
    port.ClosePort();
    return state == State::Accepted;
}

// Starts the job and serves the window until it has ended. A stop that
// came before the start leaves the terminal alone.
bool CliSession::Impl::RunJob(CommEngine &engine, RunState state, int total,
                              const std::function<bool()> &start)
{
    if (stopRequested) {
        Print(kStoppedText.Text(), true);
        return false;
    }
    jobEnded = false;
    succeeded = false;
    jobState = state;
    jobTotal = total;
    if (!start())
        return false;
    // A read knows its total once the job has taken its lists.
    output.Progress(state, 0, JobTotal());
    onStop = [&engine] { engine.PostStop(); };
    window.Queue().RunUntil([&] { return jobEnded; }, std::chrono::hours(24));
    onStop = nullptr;
    return true;
}

int CliSession::Impl::JobTotal() const
{
    if (jobState == RunState::Writing || jobState == RunState::ChangingPassword)
        return jobTotal;
    return static_cast<int>(lists.numbers.size() + lists.atCommands.size());
}

// Entries of each kind are counted from 1: the AT commands come after the
// parameters, in a read as in a write.
void CliSession::Impl::OnJobProgress(const JobReport &report)
{
    const int parameters =
        jobState == RunState::Writing ? fileEntries[0] : static_cast<int>(lists.numbers.size());
    const int total = JobTotal();
    switch (report.progress) {
    case JobReport::Progress::Parameters:
    case JobReport::Progress::AtCommands:
        output.Progress(jobState, ProgressDone(report, parameters), total, report.text);
        break;
    case JobReport::Progress::Saving:
        output.Progress(RunState::Saving, 0, 0, report.text);
        break;
    case JobReport::Progress::None:
        break;
    }
}

// Reads every page, as Receive does, into the port's temporary file. False
// when the read could not start; `succeeded` tells how it ended.
bool CliSession::Impl::ReadTerminal(RunState state)
{
    const params::ForwardQuerySwitches forward{options.forward, options.forward, options.forward};
    CommEngine engine(port, lists);
    Operations operations(port, engine, lists, window);
    window.RouteLinesToEngine(engine, operations, nullptr, [&](const JobReport &report) {
        jobEnded = jobEnded || report.jobEnded;
        succeeded = succeeded || (report.after == JobReport::After::EndOfRead && !report.failure);
    });
    window.OnWatchdog([&] { jobEnded = true; });
    engine.Start();
    const bool started = RunJob(engine, state, 0, [&] {
        return operations.Receive([&](ReadLists &readLists) {
            for (size_t page = 0; page < params::kPageCount; ++page)
                params::AppendPageReadItems(static_cast<params::Page>(page), readLists, forward);
        });
    });
    engine.Stop();
    port.ClosePort();
    TellHistoryCopy(operations);
    return started;
}

// The user's file is replaced, in one step, only by the values of a whole
// read, in the form Save gives them; after a failure it stays as it was,
// and the values read so far are where the read left them.
int CliSession::Impl::Read()
{
    if (!ReadTerminal(RunState::Reading))
        return 1;
    if (!succeeded || failed) {
        if (std::filesystem::is_regular_file(TempParameterFilePath()))
            Print(kPartialValues.Text({TempParameterFilePath(), options.out}), true);
        return 1;
    }
    std::string bytes;
    FileResult written = params::ReadResultText(TempParameterFilePath(), lists, bytes);
    if (written.ok)
        written = ReplaceFile(options.out, bytes);
    if (!written.ok) {
        Print(written.error, true);
        return 1;
    }
    Print(kReadSaved.Text({options.out}), false);
    return 0;
}

// The report goes to standard output, or into the --json summary.
int CliSession::Impl::Verify()
{
    params::IniDocument terminal;
    FileResult loaded;
    if (ReadTerminal(RunState::Verifying) && succeeded && !failed)
        loaded = terminal.Load(TempParameterFilePath());
    else
        loaded = FileResult::Failure(kVerifyReadFailed.Text());
    if (!loaded.ok) {
        Print(loaded.error, true);
        return 1;
    }
    verified = CompareWithFile(terminal, lists, fileToVerify);
    if (!options.json)
        PrintVerifyReport(*verified, reportOut);
    if (!VerifyPassed(*verified))
        output.SetReason(VerifySummary(*verified));
    return VerifyPassed(*verified) ? 0 : 1;
}

int CliSession::Impl::Write()
{
    CommEngine engine(port, lists);
    Operations operations(port, engine, lists, window);
    window.RouteLinesToEngine(engine, operations, nullptr, [&](const JobReport &report) {
        jobEnded = jobEnded || report.jobEnded;
        succeeded = succeeded || (report.after == JobReport::After::EndOfWrite && report.jobEnded &&
                                  !report.failure);
    });
    window.OnWatchdog([&] { jobEnded = true; });
    engine.Start();
    const bool started = RunJob(engine, RunState::Writing, fileEntries[0] + fileEntries[1], [&] {
        return operations.Transmit(nullptr, nullptr, [&](const std::string &path) {
            // The user's file is only read: the job sends a copy.
            const FileResult copied = ReplaceFile(path, fileToWrite);
            return copied.ok ? std::string() : copied.error;
        });
    });
    engine.Stop();
    port.ClosePort();
    TellHistoryCopy(operations);
    if (!started || !succeeded || failed)
        return 1;
    return options.verify ? Verify() : 0;
}

// The new password is checked before anything reaches the terminal.
bool CliSession::Impl::CheckNewPassword()
{
    if (params::WrongLength(options.newPassword, params::kSoftwarePasswordForm))
        Print(params::kNewPasswordLength.Text(), true);
    else if (!params::IsSafePasswordText(options.newPassword))
        Print(params::kNewPasswordCharacters.Text(), true);
    return !failed;
}

int CliSession::Impl::ChangePassword()
{
    bool changed = false;
    CommEngine engine(port, lists);
    Operations operations(port, engine, lists, window);
    window.RouteLinesToEngine(engine, operations, nullptr, [&](const JobReport &report) {
        jobEnded = jobEnded || report.jobEnded;
        changed = changed || report.after == JobReport::After::PasswordChanged;
    });
    window.OnWatchdog([&] { jobEnded = true; });
    engine.Start();
    const bool started = RunJob(engine, RunState::ChangingPassword, 0, [&] {
        return operations.ChangePassword(options.newPassword, options.newPassword);
    });
    engine.Stop();
    port.ClosePort();
    return started && changed && !failed ? 0 : 1;
}

int CliSession::Impl::Run()
{
    if (!PrepareFolder())
        return 1;
    const CliOptions::Command command = options.command;
    if (command == CliOptions::Command::Verify && !LoadFileToVerify())
        return 1;
    if (command == CliOptions::Command::Write && !LoadFileToWrite())
        return 1;
    if (command == CliOptions::Command::Passwd && !CheckNewPassword())
        return 1;
    if (!LockPort() || !Login())
        return 1;
    // As after a login in the program: the port is re-armed and the password
    // typed is the one the jobs use.
    port.ResetHandles();
    g_strSoftwarePassword = options.password;
    switch (command) {
    case CliOptions::Command::Read:
        return Read();
    case CliOptions::Command::Write:
        return Write();
    case CliOptions::Command::Passwd:
        return ChangePassword();
    case CliOptions::Command::Verify:
        return Verify();
    case CliOptions::Command::Provision:
    case CliOptions::Command::Ports:
        break;
    }
    return 1;
}

Outcome CliSession::Impl::RunOutcome(int status) const
{
    if (status == 0)
        return Outcome::Succeeded;
    if (stopRequested)
        return Outcome::Stopped;
    if (verified && !verified->differences.empty())
        return Outcome::Differs;
    if (verified && verified->compared == 0)
        return Outcome::NotVerified;
    return Outcome::Failed;
}

void CliSession::Impl::PrintSummary(int status)
{
    json::Object summary = output.Summary(CommandName(options.command), RunOutcome(status), status);
    if (verified)
        summary.Raw("verification", VerifyJson(*verified));
    reportOut << summary.Str() << '\n' << std::flush;
}

int CliSession::Run()
{
    lang::SetCode(m_impl->options.language);
    g_nDeviceGap = m_impl->options.gap;
    const int status = m_impl->Run();
    m_impl->output.End(m_impl->RunOutcome(status), status);
    if (m_impl->options.json)
        m_impl->PrintSummary(status);
    return status;
}
