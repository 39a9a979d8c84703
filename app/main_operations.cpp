// The operations of the main window: the five buttons, the job messages and
// the job watchdog.

#include "app/main_dialog.h"
#include "engine/job_failure.h"
#include "link/shared_settings.h"
#include "params/param_file.h"
#include "platform/file_io.h"
#include "platform/messages.h"

#include <QFileDialog>

using namespace platform;

void CMainDlg::OnReceive()
{
    m_operations.Receive([this](ReadLists &lists) { AppendAllReadItems(lists); });
}

void CMainDlg::OnTransmit()
{
    m_operations.Transmit([this] { return ValidateAllPages(); }, [this] { SaveAllPagesToStore(); },
                          [this](const std::string &path) {
                              const params::ScriptResult written = params::Export(path, m_store);
                              return written.ok ? std::string() : written.text;
                          });
}

void CMainDlg::OnOpen()
{
    const QString path = ChooseFile(FileRequest::Kind::Open);
    if (path.isEmpty())
        return;
    m_strFilePath = path;
    EnableControls(false);
    m_target.PostMessage(WM_IMPORT_FILE);
}

void CMainDlg::OnSave()
{
    const QString path = ChooseFile(FileRequest::Kind::Save);
    if (path.isEmpty())
        return;
    m_strFilePath = path;
    EnableControls(false);
    m_bSaveToFile = true;
    m_target.PostMessage(WM_EXPORT_FILE);
}

QString CMainDlg::ChooseFile(FileRequest::Kind kind)
{
    FileRequest request;
    request.kind = kind;
    const lang::Tr3 &title =
        kind == FileRequest::Kind::Open ? main_texts::kOpenTitle : main_texts::kSaveTitle;
    const char *chosen = title.Current();
    request.title = QString::fromUtf8(chosen ? chosen : title.en);
    request.folder = QString::fromStdString(g_strAppDir);
    request.filters = {QString::fromUtf8(main_texts::kConfigFilter),
                       QString::fromUtf8(main_texts::kAllFilesFilter)};
    request.defaultSuffix = QString::fromUtf8(main_texts::kConfigSuffix);
    if (kind == FileRequest::Kind::Save)
        request.proposedName = QString::fromUtf8(main_texts::kProposedConfigName);
    if (m_fileChooser)
        return m_fileChooser(request);

    QFileDialog dialog(this, request.title, request.folder);
    dialog.setNameFilters(request.filters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (kind == FileRequest::Kind::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        // Overwriting asks first (the dialog's default).
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.selectFile(request.proposedName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void CMainDlg::OnImportFile()
{
    if (m_bClosing)
        return;
    ImportParameterFile(m_strFilePath.toStdString(), true);
    EnableControls(true);
}

void CMainDlg::ImportParameterFile(const std::string &path, bool confirm)
{
    const params::ScriptResult imported = params::Import(path, m_store);
    if (confirm)
        ShowStatus(imported.text, imported.ok);
    // A file that could not be read changed nothing, so the pages keep
    // what the user may have typed since the last load.
    if (imported.ok)
        LoadAllPagesFromStore();
}

void CMainDlg::OnExportFile()
{
    if (m_bClosing)
        return;
    const bool valid = ValidateAllPages();
    // The flag serves this one validation pass; a later Transmit must check
    // every page again.
    m_bSaveToFile = false;
    if (valid) {
        SaveAllPagesToStore();
        // The chosen file is replaced only by a complete new one: should the
        // export fail (a full disk, say), the old file stays as it was. A
        // read-only file is made writable and replaced.
        const params::ScriptResult exported = params::Export(
            m_strFilePath.toStdString(), m_store, ReadOnlyTarget::MakeWritable);
        ShowStatus(exported.text, exported.ok);
    }
    EnableControls(true);
}

void CMainDlg::OnJobMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (m_bClosing) {
        DisposeJobMessage(message, wParam);
        return;
    }
    m_operations.OnJobMessage(message, wParam, lParam, [this](const std::string &path) {
        ImportParameterFile(path, false);
    });
}

void CMainDlg::OnJobTimer()
{
    if (m_bClosing) {
        m_jobTimer.stop();
        return;
    }
    m_operations.OnJobTimer();
}
