#include "cli/cli_session.h"

#include "cli/verify_report.h"

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
#include "params/read_lists.h"
#include "platform/app_dir.h"
#include "platform/file_io.h"
#include "platform/messages.h"
#include "platform/port_lock.h"
#include "platform/port_names.h"

#include <filesystem>

using namespace platform;

namespace {

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
    platform::PortLock portLock;
    params::IniDocument fileToVerify;
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

bool CliSession::Impl::PrepareFolder()
{
    if (options.dir.empty()) {
        g_strAppDir = AppDir();
        return true;
    }
    std::error_code ec;
    std::filesystem::create_directories(options.dir, ec);
    if (!std::filesystem::is_directory(options.dir)) {
        Print("Cannot use the folder \"" + options.dir + "\"" + (ec ? ": " + ec.message() : std::string()), true);
        return false;
    }
    g_strAppDir = options.dir;
    if (g_strAppDir.back() != '/')
        g_strAppDir += '/';
    return true;
}

// Another run on the same port is turned away here, before either touches
// the terminal; a port that cannot be opened at all is the login's to report.
bool CliSession::Impl::LockPort()
{
    if (portLock.Acquire(DevicePathForPort(options.port)) != PortLock::Result::InUse)
        return true;
    Print(login::FormatText(login::texts::kPortInUse, options.port), true);
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
    else if (!fileToVerify.GetKeys("PARA", keys) && !fileToVerify.GetKeys("ATCMD", keys))
        Print("\"" + options.file + "\" has no settings to verify", true);
    else
        return true;
    return false;
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
    auto finish = [&](State result, const lang::Tr3 *message) {
        window.Queue().KillTimer(kLoginTimerId);
        port.ClosePort();
        state = result;
        if (message)
            Print(message->Text(), true);
    };
    window.RouteLinesTo(
        [&](std::unique_ptr<std::string> line) {
            if (state != State::Waiting)
                return;
            switch (login::Classify(*line)) {
            case login::LineKind::Empty: Print(login::texts::kNoData, false); break;
            case login::LineKind::Accepted: finish(State::Accepted, nullptr); break;
            case login::LineKind::Refused: finish(State::Failed, &login::texts::kPasswordInvalid); break;
            case login::LineKind::Unsolicited:
            case login::LineKind::Other: break;
            }
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

    if (!port.OpenPort()) {
        Print(login::FormatText(login::texts::kCannotOpenPort, options.port), true);
        if (const std::string advice = login::PortOpenAdvice(options.port, port.LastError());
            !advice.empty())
            Print(advice, true);
        else if (!port.LastErrorText().empty())
            Print(port.LastErrorText(), true);
        return false;
    }
    window.Queue().SetTimer(kLoginTimerId, Millis(login::g_nLoginTimeout));
    const std::string line = login::LoginLine(options.password);
    port.Send(line.data(), static_cast<uint32_t>(line.size()));
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
    return started;
}

int CliSession::Impl::Read()
{
    if (!ReadTerminal())
        return 1;
    // However the read ended, what was read so far is kept.
    const FileResult copied = CopyWholeFile(TempParameterFilePath(), options.out, params::kIniMaxFileSize);
    if (!copied.ok)
        Print(copied.error, true);
    return succeeded && !failed ? 0 : 1;
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
    return result.differences.empty() ? 0 : 1;
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
            const FileResult copied = CopyWholeFile(options.file, path, params::kIniMaxFileSize);
            return copied.ok ? std::string() : copied.error;
        });
    });
    engine.Stop();
    port.ClosePort();
    return started && succeeded && !failed ? 0 : 1;
}

int CliSession::Impl::ChangePassword()
{
    if (params::WrongLength(options.newPassword, params::kSoftwarePasswordForm)) {
        Print(params::kNewPasswordLength.Text(), true);
        return 1;
    }
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
