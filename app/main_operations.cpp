// The operations of the main window: the five buttons, the job messages and
// the job watchdog.

#include "app/main_dialog.h"
#include "app/settings_store.h"
#include "engine/engine_globals.h"
#include "engine/job_failure.h"
#include "engine/job_steps.h"
#include "link/shared_settings.h"
#include "params/ini_document.h"
#include "params/param_file.h"
#include "params/settings_history.h"
#include "platform/file_io.h"
#include "platform/messages.h"
#include "widgets/app_message_box.h"
#include "widgets/qt_text.h"
#include "widgets/status_line.h"
#include "widgets/wait_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <algorithm>

using namespace platform;

void CMainDlg::OnReceive()
{
    BeginOutcome(Operation::Receive);
    m_beforeReceive = {m_pagesFilled, m_receiveIncomplete, m_unreadPages};
    const bool started = m_operations.Receive([this](ReadLists &lists) {
        m_readShares = AppendAllReadItems(lists);
        // From here on the store is the read's: until it ends well, every
        // page counts as holding what the terminal has not sent.
        m_atQueriesSent = 0;
        m_pagesFilled = false;
        m_receiveIncomplete = true;
        m_unreadPages = params::PagesNotReached(m_readShares, {});
    });
    if (!started) {
        EndOutcome();
        return;
    }
    m_waitDlg->SetProgress(0, int(m_readLists.numbers.size() + m_readLists.atCommands.size()));
    m_waitDlg->SetCancellable(true);
}

void CMainDlg::ShowProgress(const JobReport &report)
{
    ShowStatus(report.text, report.ok);
    if (m_outcomeFor == Operation::Receive && report.progress != JobReport::Progress::Saving)
        m_waitDlg->SetProgress(ProgressDone(report, int(m_readLists.numbers.size())),
                               m_waitDlg->ProgressTotal());
}

void CMainDlg::OnReadEnded(bool whole, const std::string &readFile)
{
    m_pagesFilled = whole;
    m_receiveIncomplete = !whole;
    m_unreadPages.clear();
    if (whole)
        return;
    params::IniDocument stored;
    if (!readFile.empty() && stored.Load(readFile).ok) {
        m_unreadPages = params::PagesNotReached(
            m_readShares, params::ReachOfRead(m_readLists, stored, m_atQueriesSent));
    }
    // A read that failed has missed something, even where it cannot be told.
    if (m_unreadPages.empty())
        m_unreadPages = params::PagesNotReached(m_readShares, {});
}

QString CMainDlg::UnreadPageTitles() const
{
    if (m_unreadPages == params::PagesNotReached(m_readShares, {}))
        return lang::QtText(status_texts::kAllPages);
    QStringList titles;
    for (int templateId : m_unreadPages)
        titles << QLatin1Char('"') + PageTitle(templateId) + QLatin1Char('"');
    return titles.join(QStringLiteral(", "));
}

void CMainDlg::OnTransmit()
{
    BeginOutcome(Operation::Transmit);
    if (!ConfirmTransmit()) {
        m_outcomeFor.reset();
        m_statusLine->ShowOutcome(lang::QtText(status_texts::kTransmitCancelled), false);
        return;
    }
    const bool started = m_operations.Transmit(
        [this] {
            if (ValidateAllPages())
                return true;
            NotePageRefused();
            return false;
        },
        [this] { SaveAllPagesToStore(); },
        [this](const std::string &path) {
            const params::ScriptResult written = params::Export(path, m_store);
            return written.ok ? std::string() : written.text;
        });
    if (!started)
        EndOutcome();
}

bool CMainDlg::IsSoftwarePassword(std::string_view password) const
{
    return password == g_strSoftwarePassword;
}

bool CMainDlg::ChangeSoftwarePassword(const std::string &newPassword, const std::string &confirm)
{
    BeginOutcome(Operation::PasswordChange);
    // The operations say why when the port cannot be opened.
    const bool started = m_operations.ChangePassword(newPassword, confirm);
    if (started)
        EnableControls(false); // the job's end gives them back
    else
        EndOutcome();
    return started;
}

bool CMainDlg::ChangePin()
{
    BeginOutcome(Operation::PinChange);
    const bool started = m_operations.ChangePin([this](const std::string &path) {
        const params::ScriptResult written = params::ExportPinChange(path, m_store);
        return written.ok ? std::string() : written.text;
    });
    if (!started)
        EndOutcome();
    return started;
}

bool CMainDlg::ConfirmTransmit()
{
    if (m_pagesFilled)
        return true;
    using namespace status_texts;
    return AppQuestion(this, m_receiveIncomplete
                                 ? lang::QtText(kTransmitAfterFailedReceive,
                                                lang::QtText(kUnreadPages, UnreadPageTitles()))
                                 : lang::QtText(kTransmitQuestion));
}

void CMainDlg::OnOpen()
{
    const QString path = ChooseFile(FileRequest::Kind::Open);
    if (path.isEmpty())
        return;
    m_filePath = path;
    BeginOutcome(Operation::Open);
    EnableControls(false);
    m_target.PostMessage(WM_IMPORT_FILE);
}

void CMainDlg::OnSave()
{
    const QString path = ChooseFile(FileRequest::Kind::Save);
    if (path.isEmpty())
        return;
    m_filePath = path;
    BeginOutcome(Operation::Save);
    EnableControls(false);
    m_saveToFile = true;
    m_target.PostMessage(WM_EXPORT_FILE);
}

QString CMainDlg::ChooseFile(FileRequest::Kind kind)
{
    FileRequest request;
    request.kind = kind;
    const lang::Tr3 &title =
        kind == FileRequest::Kind::Open ? main_texts::kOpenTitle : main_texts::kSaveTitle;
    request.title = lang::QtLabel(title);
    request.folder = LoadFileFolder();
    OfferParameterFiles(request);
    request.defaultSuffix = QString::fromUtf8(main_texts::kConfigSuffix);
    if (kind == FileRequest::Kind::Save)
        request.proposedName = QString::fromUtf8(main_texts::kProposedConfigName);
    else
        request.historyFolder = QString::fromStdString(params::HistoryRoot(g_strAppDir));

    QString path;
    if (m_fileChooser) {
        path = m_fileChooser(request);
    } else {
        const std::unique_ptr<QFileDialog> dialog = MakeFileDialog(request, this);
        if (dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty())
            path = dialog->selectedFiles().constFirst();
    }
    if (!path.isEmpty())
        SaveFileFolder(QFileInfo(path).absolutePath());
    return path;
}

void CMainDlg::OnImportFile()
{
    if (m_closing)
        return;
    if (ImportParameterFile(m_filePath.toStdString(), true)) {
        m_pagesFilled = true;
        m_receiveIncomplete = false;
        m_unreadPages.clear();
        NotePagesUnedited();
    }
    EnableControls(true);
    EndOutcome(QFileInfo(m_filePath).fileName());
}

bool CMainDlg::ImportParameterFile(const std::string &path, bool confirm)
{
    const params::ScriptResult imported = params::Import(path, m_store);
    if (confirm)
        ShowStatus(imported.text, imported.ok);
    else if (!imported.ok)
        NoteFailure(QString::fromStdString(imported.text)); // what was read never arrived
    // A file that could not be read changed nothing, so the pages keep
    // what the user may have typed since the last load.
    if (imported.ok)
        LoadAllPagesFromStore();
    return imported.ok;
}

bool CMainDlg::OnExportFile()
{
    if (m_closing)
        return false;
    bool written = false;
    const bool valid = ValidateAllPages();
    // The flag serves this one validation pass; a later Transmit must check
    // every page again.
    m_saveToFile = false;
    if (valid) {
        SaveAllPagesToStore();
        // The chosen file is replaced only by a complete new one: should the
        // export fail (a full disk, say), the old file stays as it was. A
        // read-only file is made writable and replaced.
        const params::ScriptResult exported =
            params::Export(m_filePath.toStdString(), m_store, ReadOnlyTarget::MakeWritable);
        ShowStatus(exported.text, exported.ok);
        written = exported.ok;
        if (written)
            NotePagesUnedited();
    } else {
        NotePageRefused();
    }
    EnableControls(true);
    EndOutcome(QFileInfo(m_filePath).fileName());
    return written;
}

void CMainDlg::OnJobMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (m_closing) {
        DisposeJobMessage(message, wParam);
        return;
    }
    // The progress of the AT queries counts the queries sent.
    if (message == WM_READ_PARA_PROGRESS_NOTIFY && wParam == kStepAtCommands)
        m_atQueriesSent = size_t(std::max<intptr_t>(lParam, 0));
    // What a cancelled read had read never reaches the store.
    const bool cancelled = m_cancelled && message == WM_JOB_STOPPED_NOTIFY;
    std::string imported;
    std::function<void(const std::string &)> import;
    if (!cancelled) {
        import = [ this, &imported ](const std::string &path) {
            if (ImportParameterFile(path, false)) imported = path;
    };
}
const JobReport report = m_operations.OnJobMessage(message, wParam, lParam, import);
if (report.failure)
    NoteFailure(QString::fromStdString(report.text));
if (!report.jobEnded)
    return;
m_cancelled = false;
// Only a whole read fills the pages; after a failed one they hold a mix
// of what was read and defaults.
if (report.after == JobReport::After::EndOfRead && cancelled) {
    m_pagesFilled = m_beforeReceive.filled;
    m_receiveIncomplete = m_beforeReceive.receiveIncomplete;
    m_unreadPages = m_beforeReceive.unreadPages;
    m_outcomeFor.reset();
    m_statusLine->ShowOutcome(lang::QtText(status_texts::kReceiveCancelled), false);
} else if (report.after == JobReport::After::EndOfRead) {
    OnReadEnded(!report.failure && !imported.empty(), imported);
    if (!imported.empty())
        NotePagesUnedited();
} else if (report.after == JobReport::After::EndOfWrite && !report.failure &&
           m_outcomeFor == Operation::Transmit) {
    NotePagesUnedited();
}
if (m_outcomeFor == Operation::PasswordChange)
    EnableControls(true);
EndOutcome();
if (std::exchange(m_closeAfterJob, false))
    done(m_closeResult);
}

void CMainDlg::OnJobTimer()
{
    if (m_closing) {
        m_jobTimer.stop();
        return;
    }
    m_operations.OnJobTimer(m_timedJob);
    // The "Error:Overtime!" box has been noted as the failure.
    if (!m_engine.JobRunning()) {
        m_cancelled = false;
        EndOutcome();
        if (std::exchange(m_closeAfterJob, false))
            done(m_closeResult);
    }
}
