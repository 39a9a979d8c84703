#pragma once
// The main window: eleven navigation buttons down the left, the page title
// and the page area, and the operation buttons Transmit, Receive, Open, Save
// and Exit at the bottom. It owns the parameter store and the two engine
// threads, is the serial port's owner for the whole run, and turns every job
// message into what the user sees (through Operations, as kestrel-cli does).

#include "app/file_dialog.h"
#include "app/main_texts.h"
#include "app/page_host.h"
#include "app/qt_message_target.h"
#include "app/status_texts.h"
#include "engine/comm_engine.h"
#include "engine/operations.h"
#include "link/line_builder.h"
#include "params/parameter_store.h"
#include "params/read_lists.h"

#include <QStringList>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class NavButton;
class ProvisionDialog;
class StatusLine;
class CSerialPort;
class CWaitDlg;
class QAction;
class QLabel;
class QPushButton;

class CMainDlg : public CPageHostDlg, public IOperationWindow, private IRxLineOwner
{
    Q_OBJECT
public:
    static constexpr int kPlaceholderId = 1019;
    static constexpr int kPageTitleId = 1380;
    static constexpr int kFirstNavButtonId = 1369;

    explicit CMainDlg(CSerialPort &port, QWidget *parent = nullptr);
    // Pages go first, then the worker and the queue thread (each waited for
    // at most 1000 ms while the UI's events are dispatched), then the port
    // is closed and this window stops being its owner.
    ~CMainDlg() override;

    // What Open and Save ask of a file dialog; the answer is the chosen
    // path, empty when the user cancelled. Tests answer without a dialog.
    using FileRequest = ::FileRequest;
    using FileChooser = std::function<QString(const FileRequest &)>;
    void SetFileChooser(FileChooser chooser) { m_fileChooser = std::move(chooser); }

    // The operation buttons.
    void OnTransmit();
    void OnReceive();
    void OnOpen();
    void OnSave();
    void OnExit();

    // IPageServices, the two changes run through the operations.
    ParameterStore &Store() override { return m_store; }
    void SendShowPage(int templateId) override;
    bool SaveToFileFlag() const override { return m_saveToFile; }
    void SetSaveToFileFlag(bool set) override { m_saveToFile = set; }
    bool IsSoftwarePassword(std::string_view password) const override;
    bool ChangeSoftwarePassword(const std::string &newPassword,
                                const std::string &confirm) override;
    bool ChangePin() override;

    // The page's title in the current language.
    QString PageTitle(int templateId) const;
    CommEngine &Engine() { return m_engine; }

    // IOperationWindow
    void ShowStatus(const std::string &text, bool ok) override;
    void ShowMessageBox(const std::string &text, int style) override;
    void ShowWaitBox(const std::string &statusLine) override;
    void HideWaitBox() override;
    void EnableControls(bool enable) override;
    void ShowPage(uint32_t templateId) override;
    void KillJobTimer() override { m_jobTimer.stop(); }
    void ShowAccount(const std::string &text) override;
    void ShowProgress(const JobReport &report) override;

    // The window's parts, as the user and the tests see them.
    NavButton *NavButtonAt(int pageIndex) const;
    QPushButton *OperationButton(main_texts::BottomButton which) const;
    QString PageTitleText() const;
    int SelectedNavIndex() const { return m_selectedNav; }
    CWaitDlg *WaitDialog() const { return m_waitDlg.get(); }
    QAction *AboutAction() const { return m_aboutAction; }
    QAction *ProvisionAction() const { return m_provisionAction; }
    // Opens the provisioning window (once; later calls bring it up again).
    void ShowProvisionWindow();
    ProvisionDialog *ProvisionWindow() const { return m_provisionDlg.get(); }
    QtMessageTarget &MessageTarget() { return m_target; }
    bool JobTimerActive() const { return m_jobTimer.isActive(); }
    const QString &ChosenFilePath() const { return m_filePath; }
    // The outcome of the last Receive, Transmit, Open or Save.
    StatusLine *StatusLineWidget() const { return m_statusLine; }
    // A whole Receive or an Open has filled the pages, and no Receive has
    // run since that did not end well.
    bool PagesFilled() const { return m_pagesFilled; }
    QWidget *PageArea() const { return m_placeholder; }

protected:
    std::unique_ptr<CParameterPage> CreatePage(int templateId) override;
    // The title and the highlighted navigation button follow the page.
    void OnPageShown(int templateId) override;
    // Enter does nothing in the main window; Escape is the dialog's Cancel.
    void keyPressEvent(QKeyEvent *event) override;
    // Exit, Escape and closing during a job stop it first (a write only
    // when the user agrees to leave the terminal half-written), and the
    // window closes when it has ended; with edits not yet saved or sent the
    // user is asked whether to save them. The window's place and size are
    // kept for the next run.
    void done(int result) override;

private:
    // IRxLineOwner
    void OnRxLineReady() override;
    void OnRxError(RxError error) override;
    void OnRxLineDropped() override;

    void BuildWindow();
    void InstallMessageHandlers();
    void OnShowPageMessage(uintptr_t templateId);
    void OnJobMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    void OnJobTimer();
    void OnImportFile();
    // true when the file was written.
    bool OnExportFile();
    // Imports a parameter file into the store; on success every page loads
    // it, on failure store and pages stay as they were.
    // true when it was imported.
    bool ImportParameterFile(const std::string &path, bool confirm);
    // Transmit over pages that nothing, or a failed Receive, has filled
    // asks first.
    bool ConfirmTransmit();
    // A read ended: `whole` when it read every setting and they reached the
    // pages; otherwise the pages it did not reach are worked out from what
    // it stored in `readFile`, "" when that did not reach the store.
    void OnReadEnded(bool whole, const std::string &readFile);
    // The titles of the pages holding values the last Receive did not read.
    QString UnreadPageTitles() const;
    // The wait box's Cancel: the job running stops; a Receive leaves the
    // store and the pages as they were before it.
    void OnCancelJob();
    // What the pages show now, to tell later whether the user edited them.
    void NotePagesUnedited();
    bool PagesEdited() const;
    // Asks about edits not yet saved or sent; false when the window stays.
    bool SettleUnsavedEdits();

    // The status line follows one operation from its start to its end; the
    // first failure reported meanwhile is its outcome.
    using Operation = status_texts::Operation;
    void BeginOutcome(Operation operation);
    void NoteFailure(const QString &text);
    // The page that refused a value, as what failed.
    void NotePageRefused();
    // `detail` goes with a success (the file's name).
    void EndOutcome(const QString &detail = {});
    QString ChooseFile(FileRequest::Kind kind);
    bool WaitDispatching(platform::MessageThread &thread, platform::Millis timeout);

    CSerialPort &m_port;
    ParameterStore m_store;
    ReadLists m_readLists;
    QtMessageTarget m_target;
    CommEngine m_engine;
    Operations m_operations;
    RxLineBuilder m_lineBuilder;
    QTimer m_jobTimer;
    uint32_t m_timedJob = 0; // the job the timer was last armed for

    std::unique_ptr<CWaitDlg> m_waitDlg;
    StatusLine *m_statusLine = nullptr;
    QLabel *m_title = nullptr;
    QWidget *m_placeholder = nullptr;
    QAction *m_aboutAction = nullptr;
    QAction *m_provisionAction = nullptr;
    std::unique_ptr<ProvisionDialog> m_provisionDlg;
    std::array<NavButton *, 11> m_navButtons{};
    std::array<QPushButton *, main_texts::kBottomButtonCount> m_bottomButtons{};

    int m_selectedNav = 0;
    QString m_filePath;
    bool m_saveToFile = false;
    bool m_closing = false;
    bool m_pagesFilled = false;
    // From the start of a Receive to its good end; then m_unreadPages holds
    // the template ids of the pages showing what it did not read.
    bool m_receiveIncomplete = false;
    std::vector<int> m_unreadPages;
    std::vector<params::ReadShare> m_readShares;
    size_t m_atQueriesSent = 0; // by the read running or last run
    // What a cancelled Receive gives back: the pages' state before it.
    struct PagesState
    {
        bool filled = false;
        bool receiveIncomplete = false;
        std::vector<int> unreadPages;
    };
    PagesState m_beforeReceive;
    bool m_cancelled = false;     // the user cancelled the job running
    bool m_closeAfterJob = false; // the user closed the window during a job
    int m_closeResult = 0;
    QString m_uneditedPages; // the pages' fingerprint when last filled, saved or sent
    std::optional<Operation> m_outcomeFor;
    QString m_firstFailure;
    // What the terminal holds after a write that did not go through.
    QString m_outcomeAccount;
    FileChooser m_fileChooser;
};
