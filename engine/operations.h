#pragma once
// The operations of the main window as steps that do not depend on how they
// are shown: Receive, Transmit and the software password change start their
// jobs, and every job message is turned into what the user sees and what
// happens next. The GUI main window and the command-line front end both run
// them; each provides the window side.

#include "engine/comm_engine.h"
#include "engine/job_reports.h"

#include <functional>
#include <string>

class ISerialLink;
struct ReadLists;

class IOperationWindow
{
public:
    virtual ~IOperationWindow() = default;
    // The wait box's status line; with ok == false the text also goes to the
    // application's message box with the error icon.
    virtual void ShowStatus(const std::string &text, bool ok) = 0;
    virtual void ShowMessageBox(const std::string &text, int style) = 0;
    // Shows the wait box (when hidden) with this status line.
    virtual void ShowWaitBox(const std::string &statusLine) = 0;
    virtual void HideWaitBox() = 0;
    virtual void EnableControls(bool enable) = 0;
    // Brings the page with this template id to the front.
    virtual void ShowPage(uint32_t templateId) = 0;
    // Stops the job watchdog timer (13).
    virtual void KillJobTimer() = 0;
    // What the terminal holds after a write that did not go through: the
    // GUI adds it to the operation's outcome, the command line prints it.
    virtual void ShowAccount(const std::string &) {}
    // A job's progress message (JobReport::progress set); the wait box's
    // status line unless the window tells progress its own way.
    virtual void ShowProgress(const JobReport &report) { ShowStatus(report.text, report.ok); }
};

class Operations : private IJobWatchdogOwner
{
public:
    Operations(ISerialLink &port, CommEngine &engine, ReadLists &lists, IOperationWindow &window);

    // Opens the port, lets `appendReadItems` fill the read lists and starts
    // the read job. false when nothing was started.
    bool Receive(const std::function<void(ReadLists &)> &appendReadItems);

    // `validate` runs the checks of every page (which report their own
    // failures), `store` moves the pages into the store, `writeFile` writes
    // the temporary parameter file and returns why it could not ("" when it
    // did). false when nothing was started.
    using FileWriter = std::function<std::string(const std::string &path)>;
    bool Transmit(const std::function<bool()> &validate, const std::function<void()> &store,
                  const FileWriter &writeFile);

    // The SIM PIN change: opens the port, lets `writeFile` write the PIN
    // change's own parameter file in place of the temporary file and starts
    // the write job on it, reported like a Transmit. false when nothing was
    // started (a port that cannot be opened is reported; a temporary file
    // that cannot be deleted stops it without a word).
    bool ChangePin(const FileWriter &writeFile);

    // Opens the port and starts the software password change to `newPassword`.
    bool ChangePassword(const std::string &newPassword, const std::string &confirm);

    // Shows a job's progress or result message and does what follows from it,
    // and frees the JobFailure the message carries. `importTempFile` takes
    // the read's result from the temporary file.
    JobReport OnJobMessage(uint32_t message, uintptr_t wParam, intptr_t lParam,
                           const std::function<void(const std::string &path)> &importTempFile);

    // Timer 13, armed for the job with this number, fired: the job
    // watchdog's expiry.
    void OnJobTimer(uint32_t jobNumber);
    // WM_PORT_HANGUP: a job on a port that hung up ends at once.
    void OnPortHangUp();

    void Show(const JobReport &report);

    // Where the values of the last successful read, or of the last write
    // started, are kept in the settings history; "" when none was kept.
    const std::string &HistoryCopy() const { return m_historyCopy; }

private:
    // Whether the per-port files may be written; says why not otherwise.
    // Checked before the port is opened, so nothing reaches the terminal.
    bool PortFilesWritable();
    // The port files writable and the port open for a write; false (told)
    // when not.
    bool OpenForWriting();

    // A copy of the temporary parameter file's values in the settings
    // history; a copy that cannot be kept is told, and is no failure of
    // the operation.
    void KeepHistory(bool afterRead);

    // Replaces the temporary file by what `writeFile` writes and starts the
    // write job on it; `tellCannotDelete` reports a file that stays.
    bool WriteAndSubmit(const FileWriter &writeFile, const std::function<void()> &tellCannotDelete);

    // IJobWatchdogOwner
    void KillJobTimer() override { m_window.KillJobTimer(); }
    void ShowOvertime(const char *text) override;
    void HideProgress() override { m_window.HideWaitBox(); }
    void EnableControls(bool enable) override { m_window.EnableControls(enable); }

    ISerialLink &m_port;
    CommEngine &m_engine;
    ReadLists &m_lists;
    IOperationWindow &m_window;
    std::string m_historyCopy;
};
