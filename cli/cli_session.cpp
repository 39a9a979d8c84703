#include "cli/cli_session.h"

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

#include <filesystem>

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
        : options(o), err(e), reportOut(out),
          window(port, [this](const std::string &text, bool error) { Print(text, error); })
    {}

    void Print(const std::string &text, bool error)
    {
        if (error)
            failed = true;
        if (!text.empty() && (error || !options.quiet))
            err << text << '\n' << std::flush;
    }

    bool PrepareFolder();
    bool LockPort();
    bool LoadFileToVerify();
    bool LoadFileToWrite();
    bool CheckNewPassword();
    void TellHistoryCopy(const COperations &operations);
    bool Login();
    bool RunJob(const std::function<bool()> &start);
    bool ReadTerminal();
    int Read();
    int Write();
    int ChangePassword();
    int Verify();

    const CliOptions &options;
    std::ostream &err;
    std::ostream &reportOut;
    params::IniDocument fileToVerify;
    std::string fileToWrite; // the bytes checked are the bytes sent
    CSerialPort port;
    CHeadlessWindow window;
    ReadLists lists;
    bool failed = false;
    bool jobEnded = false;
    bool succeeded = false;
};

CliSession::CliSession(const CliOptions &options, std::ostream &err, std::ostream &out)
    : m_options(options), m_err(err), m_out(out)
{}

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
    else if (!fileToVerify.GetKeys(params::kParaSection, keys)
             && !fileToVerify.GetKeys(params::kAtcmdSection, keys))
        Print("\"" + options.file + "\" has no settings to verify", true);
    else
        return true;
    return false;
}

// The file is read once, checked, and sent as it was checked.
bool CliSession::Impl::LoadFileToWrite()
{
    const FileResult loaded = ReadWholeFile(options.file, params::kIniMaxFileSize, fileToWrite);
    if (!loaded.ok) {
        Print(loaded.error, true);
        return false;
    }
    params::IniDocument document;
    document.Parse(fileToWrite);
    for (const std::string &problem : CheckFileToWrite(document))
        Print(problem, true);
    return !failed;
}

void CliSession::Impl::TellHistoryCopy(const COperations &operations)
{
    if (!operations.HistoryCopy().empty())
        Print(kHistoryCopy.Text({operations.HistoryCopy()}), false);
}

// The login dialog's exchange: the password goes to the terminal, and only
// its "OK" lets the operation go on. The port is closed again afterwards.
bool CliSession::Impl::Login()
{
    const login::InputProblem problem = login::CheckInputs(options.port, options.baud, options.password);
    if (problem != login::InputProblem::None) {
        Print(login::ProblemText(problem), true);
        return false;
    }
    g_strBaudRate = options.baud;
    g_strPortName = options.port;

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
        using Outcome = login::Exchange::Outcome;
        switch (outcome) {
        case Outcome::NoData: Print(login::texts::kNoData, false); break;
        // The bare CR's answer: the login line goes out once this line's
        // handling is over (see login::Exchange).
        case Outcome::SendLogin: window.Queue().SetTimer(kLineClearTimerId, Millis(0)); break;
        case Outcome::Accepted: finish(State::Accepted, nullptr); break;
        case Outcome::Refused: finish(State::Failed, &login::texts::kPasswordInvalid); break;
        case Outcome::NotUnderstood: finish(State::Failed, &login::texts::kLoginNotUnderstood); break;
        case Outcome::Waiting: break;
        }
    };
    window.RouteLinesTo(
        [&](std::unique_ptr<std::string> line) {
            if (state == State::Waiting)
                onOutcome(exchange.OnLine(*line));
        },
        [](RxError error) {
            switch (error) {
            case RxError::Overflow: return login::texts::kOverflow.Text();
            case RxError::SwapFailed: return login::texts::kSwapError.Text();
            case RxError::NoData: break;
            }
            return std::string(login::texts::kNoData);
        });
    window.OnLoginTimer([&] { finish(State::Failed, &login::texts::kTimeout); });
    window.OnLineClearTimer([&] {
        window.Queue().KillTimer(kLineClearTimerId);
        if (state == State::Waiting && exchange.OnClearTimeout() == login::Exchange::Outcome::SendLogin)
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
    window.Queue().SetTimer(kLoginTimerId, Millis(login::g_nLoginTimeout));
    port.Send(login::Exchange::kClearLine.data(), static_cast<uint32_t>(login::Exchange::kClearLine.size()));
    window.Queue().SetTimer(kLineClearTimerId, Millis(login::kLineClearTimeMs));
    window.Queue().RunUntil([&] { return state != State::Waiting; }, std::chrono::hours(24));
    port.ClosePort();
    return state == State::Accepted;
}

bool CliSession::Impl::RunJob(const std::function<bool()> &start)
{
    if (!start())
        return false;
    window.Queue().RunUntil([&] { return jobEnded; }, std::chrono::hours(24));
    return true;
}

// Reads every page, as Receive does, into the port's temporary file. False
// when the read could not start; `succeeded` tells how it ended.
bool CliSession::Impl::ReadTerminal()
{
    const params::ForwardQuerySwitches forward{options.forward, options.forward, options.forward};
    CommEngine engine(port, lists);
    COperations operations(port, engine, lists, window);
    window.RouteLinesToEngine(engine, operations, nullptr, [&](const JobReport &report) {
        jobEnded = jobEnded || report.jobEnded;
        succeeded = succeeded || (report.after == JobReport::After::EndOfRead && !report.failure);
    });
    window.OnWatchdog([&] { jobEnded = true; });
    engine.Start();
    const bool started = RunJob([&] {
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
    if (!ReadTerminal())
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

int CliSession::Impl::Verify()
{
    params::IniDocument terminal;
    FileResult loaded;
    if (ReadTerminal() && succeeded && !failed)
        loaded = terminal.Load(TempParameterFilePath());
    else
        loaded = FileResult::Failure(kVerifyReadFailed.Text());
    if (!loaded.ok) {
        Print(loaded.error, true);
        return 1;
    }
    const VerifyResult result = CompareWithFile(terminal, lists, fileToVerify);
    PrintVerifyReport(result, reportOut);
    return VerifyPassed(result) ? 0 : 1;
}

int CliSession::Impl::Write()
{
    CommEngine engine(port, lists);
    COperations operations(port, engine, lists, window);
    window.RouteLinesToEngine(engine, operations, nullptr, [&](const JobReport &report) {
        jobEnded = jobEnded || report.jobEnded;
        succeeded = succeeded || (report.after == JobReport::After::EndOfWrite && report.jobEnded && !report.failure);
    });
    window.OnWatchdog([&] { jobEnded = true; });
    engine.Start();
    const bool started = RunJob([&] {
        return operations.Transmit(nullptr, nullptr, [&](const std::string &path) {
            // The user's file is only read: the job sends a copy.
            const FileResult copied = ReplaceFile(path, fileToWrite);
            return copied.ok ? std::string() : copied.error;
        });
    });
    engine.Stop();
    port.ClosePort();
    TellHistoryCopy(operations);
    return started && succeeded && !failed ? 0 : 1;
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
    COperations operations(port, engine, lists, window);
    window.RouteLinesToEngine(engine, operations, nullptr, [&](const JobReport &report) {
        jobEnded = jobEnded || report.jobEnded;
        changed = changed || report.after == JobReport::After::PasswordChanged;
    });
    window.OnWatchdog([&] { jobEnded = true; });
    engine.Start();
    const bool started =
        RunJob([&] { return operations.ChangePassword(options.newPassword, options.newPassword); });
    engine.Stop();
    port.ClosePort();
    return started && changed && !failed ? 0 : 1;
}

int CliSession::Run()
{
    lang::SetCode(m_options.language);
    g_nDeviceGap = m_options.gap;
    Impl impl(m_options, m_err, m_out);
    if (!impl.PrepareFolder())
        return 1;
    if (m_options.command == CliOptions::Command::Verify && !impl.LoadFileToVerify())
        return 1;
    if (m_options.command == CliOptions::Command::Write && !impl.LoadFileToWrite())
        return 1;
    if (m_options.command == CliOptions::Command::Passwd && !impl.CheckNewPassword())
        return 1;
    if (!impl.LockPort() || !impl.Login())
        return 1;
    // As after a login in the program: the port is re-armed and the password
    // typed is the one the jobs use.
    impl.port.ResetHandles();
    g_strSoftwarePassword = m_options.password;
    switch (m_options.command) {
    case CliOptions::Command::Read: return impl.Read();
    case CliOptions::Command::Write: return impl.Write();
    case CliOptions::Command::Passwd: return impl.ChangePassword();
    case CliOptions::Command::Verify: return impl.Verify();
    }
    return 1;
}
