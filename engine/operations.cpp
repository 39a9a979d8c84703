#include "engine/operations.h"

#include "engine/engine_globals.h"
#include "engine/job_failure.h"
#include "engine/job_request.h"
#include "engine/login.h"
#include "engine/temp_parameter_file.h"
#include "link/at_log.h"
#include "link/serial_link.h"
#include "link/shared_settings.h"
#include "params/ini_document.h"
#include "params/ini_file.h"
#include "params/param_file.h"
#include "params/read_lists.h"
#include "params/settings_history.h"
#include "platform/file_io.h"

#include <chrono>

using lang::Tr3;

namespace {

constexpr Tr3 kReading = {"Reading Kestrel Manager parameter ...",
                          "Lendo configurações Kestrel Manager ...",
                          "Leyendo de los parámetros Kestrel Manager ..."};
constexpr Tr3 kCannotDeleteTemp = {"Fail to delete temp file!",
                                   "Falha ao apagar arquivos temporários!",
                                   "Erro al eliminar los archivos temporales!"};
constexpr Tr3 kPleaseWait = {"Please wait!", "Por favor, aguarde!", "Por favor espere!"};
constexpr Tr3 kHistoryNotKept = {
    "No copy of the values could be kept in the settings history: %s",
    "Não foi possível guardar uma cópia dos valores no histórico de configurações: %s",
    "No se pudo guardar una copia de los valores en el historial de configuraciones: %s"};
constexpr std::string_view kActivatedForWriting = "comm activated for writing";
constexpr Tr3 kWriting = {"Writing parameter ...", "Escrevendo configurações ...",
                          "Escribiendo de los parámetros ..."};

// The port would not open: the text, then what the user can do about it
// when the cause is one to mend (another run holds the port, say).
std::string CannotOpen(std::string_view pattern, platform::PortErrorKind error)
{
    std::string text = lang::Fill(pattern, {g_strPortName});
    if (const std::string advice = login::PortOpenAdvice(g_strPortName, error); !advice.empty())
        text += "\n\n" + advice;
    return text;
}

} // namespace

Operations::Operations(ISerialLink &port, CommEngine &engine, ReadLists &lists,
                       IOperationWindow &window)
    : m_port(port), m_engine(engine), m_lists(lists), m_window(window)
{}

bool Operations::PortFilesWritable()
{
    const std::string problem = PortFilesProblem();
    if (!problem.empty())
        m_window.ShowStatus(problem, false);
    return problem.empty();
}

bool Operations::Receive(const std::function<void(ReadLists &)> &appendReadItems)
{
    if (!PortFilesWritable())
        return false;
    if (!m_port.OpenPort()) {
        m_window.ShowStatus(CannotOpen("can`t open port : %s !", m_port.LastError().kind), false);
        return false;
    }
    LogNote("comm activated for reading");
    m_lists.Clear();
    if (appendReadItems)
        appendReadItems(m_lists);
    m_window.ShowStatus(kReading.Text(), true);
    if (!platform::ForceDeleteFile(TempParameterFilePath()))
        m_window.ShowStatus(kCannotDeleteTemp.Text(), false);
    m_window.ShowWaitBox(kPleaseWait.Text());
    m_engine.SubmitJob(kJobRead);
    m_window.EnableControls(false);
    return true;
}

bool Operations::Transmit(const std::function<bool()> &validate, const std::function<void()> &store,
                          const FileWriter &writeFile)
{
    g_strNewPassword.clear();
    g_strConfirmPassword.clear();
    if (!OpenForWriting())
        return false;
    if (validate && !validate())
        return false; // the page has told the user; the port stays open
    LogNote(kActivatedForWriting);
    m_window.EnableControls(false);
    if (validate && !validate()) {
        m_window.EnableControls(true);
        return false;
    }
    if (store)
        store();
    const bool started = WriteAndSubmit(writeFile, [this] {
        m_window.ShowStatus("Unable to delete temp script file, operation terminated!", false);
    });
    if (started)
        KeepHistory(false);
    return started;
}

bool Operations::OpenForWriting()
{
    if (!PortFilesWritable())
        return false;
    if (!m_port.OpenPort()) {
        m_window.ShowStatus(CannotOpen("can`t open port :  %s !", m_port.LastError().kind), false);
        return false;
    }
    return true;
}

bool Operations::ChangePin(const FileWriter &writeFile)
{
    if (!OpenForWriting())
        return false;
    LogNote(kActivatedForWriting);
    // The buttons stay off while the job runs, as for a Transmit; the job's
    // end gives them back.
    m_window.EnableControls(false);
    return WriteAndSubmit(writeFile, {});
}

bool Operations::WriteAndSubmit(const FileWriter &writeFile,
                                const std::function<void()> &tellCannotDelete)
{
    const std::string path = TempParameterFilePath();
    if (!platform::ForceDeleteFile(path)) {
        if (tellCannotDelete)
            tellCannotDelete();
        m_window.EnableControls(true);
        return false;
    }
    if (const std::string error = writeFile ? writeFile(path) : std::string(); !error.empty()) {
        m_window.ShowStatus(error, false);
        m_window.EnableControls(true);
        return false;
    }
    std::vector<std::string> keys;
    CIniFile file(path);
    if (!file.GetKeys(params::kParaSection, keys) && !file.GetKeys(params::kAtcmdSection, keys)) {
        m_window.ShowStatus("No data to be downloaded!", false);
        m_window.EnableControls(true);
        return false;
    }
    m_window.ShowStatus(kWriting.Text(), true);
    m_engine.SubmitJob(kJobWrite);
    m_window.ShowWaitBox(kPleaseWait.Text());
    return true;
}

bool Operations::ChangePassword(const std::string &newPassword, const std::string &confirm)
{
    g_strNewPassword = newPassword;
    g_strConfirmPassword = confirm;
    if (!PortFilesWritable())
        return false;
    if (!m_port.OpenPort()) {
        m_window.ShowMessageBox(login::CannotOpenPortText(g_strPortName, m_port.LastError().kind),
                                platform::kStyleError);
        return false;
    }
    m_engine.SubmitJob(kJobModifyPassword);
    return true;
}

void Operations::Show(const JobReport &report)
{
    if (report.showPage)
        m_window.ShowPage(report.showPage);
    switch (report.display) {
    case JobReport::Display::Status:
        if (report.progress != JobReport::Progress::None)
            m_window.ShowProgress(report);
        else
            m_window.ShowStatus(report.text, report.ok);
        break;
    case JobReport::Display::Box:
        m_window.ShowMessageBox(report.text, report.boxStyle);
        break;
    case JobReport::Display::None:
        break;
    }
    if (!report.account.empty())
        m_window.ShowAccount(report.account);
}

JobReport
Operations::OnJobMessage(uint32_t message, uintptr_t wParam, intptr_t lParam,
                         const std::function<void(const std::string &path)> &importTempFile)
{
    const std::unique_ptr<JobFailure> carried =
        CarriesJobFailure(message) ? platform::TakeOwned<JobFailure>(wParam) : nullptr;
    JobReport report = DescribeJobMessage(message, wParam, lParam, m_lists.atNames);
    Show(report);
    switch (report.after) {
    case JobReport::After::EndOfRead:
        // Every value read before a failure still reaches the pages.
        if (importTempFile)
            importTempFile(TempParameterFilePath());
        if (!report.failure)
            KeepHistory(true);
        m_window.HideWaitBox();
        m_window.EnableControls(true);
        m_port.ClosePort();
        LogNote("comm closed after reading\n\n");
        break;
    case JobReport::After::EndOfWrite:
        m_window.HideWaitBox();
        m_window.EnableControls(true);
        break;
    case JobReport::After::PasswordChanged:
        g_strSoftwarePassword = g_strNewPassword;
        break;
    case JobReport::After::ClosePort:
        m_port.ClosePort();
        break;
    case JobReport::After::Nothing:
        break;
    }
    return report;
}

void Operations::KeepHistory(bool afterRead)
{
    m_historyCopy.clear();
    const std::string path = TempParameterFilePath();
    std::string bytes;
    platform::FileResult kept = afterRead
                                    ? params::ReadResultText(path, m_lists, bytes)
                                    : platform::ReadWholeFile(path, params::kIniMaxFileSize, bytes);
    if (kept.ok)
        kept = params::KeepInHistory(g_strAppDir, g_strPortName,
                                     afterRead ? params::HistoryOperation::Read
                                               : params::HistoryOperation::Write,
                                     bytes, std::chrono::system_clock::now(), m_historyCopy);
    if (!kept.ok)
        m_window.ShowStatus(kHistoryNotKept.Text({kept.error}), true);
}

void Operations::OnPortHangUp()
{
    // A notice left over from an earlier open of the port changes nothing.
    if (m_port.HungUp())
        m_engine.PostPortLost();
}

void Operations::OnJobTimer(uint32_t jobNumber)
{
    m_engine.RunWatchdogExpiry(*this, jobNumber);
}

void Operations::ShowOvertime(const char *text)
{
    m_window.ShowMessageBox(text, platform::kStyleError);
}
