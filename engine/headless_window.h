#pragma once
// A main window without a screen, for the command-line front end and the
// engine's tests: it owns the port's notifications and the jobs' messages,
// runs timers 13 and 15 on a message queue served by the calling thread,
// and hands every text the GUI would show to a sink.

#include "engine/operations.h"
#include "link/line_receiver.h"
#include "platform/message_queue.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

class CSerialPort;

class HeadlessWindow : public platform::IMessageTarget, public IOperationWindow
{
public:
    // Every text the user would be shown; `error` for the ones that come with
    // the error or warning icon.
    using TextSink = std::function<void(const std::string &text, bool error)>;
    using ReportHandler = std::function<void(const JobReport &report)>;
    using FileImporter = std::function<void(const std::string &path)>;
    using ProgressHandler = std::function<void(const JobReport &report)>;

    HeadlessWindow(CSerialPort &port, TextSink sink);
    ~HeadlessWindow() override;

    platform::MessageQueue &Queue() { return m_queue; }
    bool PostMessage(uint32_t id, uintptr_t wParam = 0, intptr_t lParam = 0) override;

    // Lines go to `handler` (the login's way) until RouteLinesToEngine.
    // Receive errors are reported with `errorText`.
    void RouteLinesTo(LineReceiver::LineHandler handler,
                      std::function<std::string(RxError)> errorText,
                      LineReceiver::DroppedHandler onDropped = {});
    // Lines go to the worker, as in the main window; job messages and the
    // job watchdog are handled through `operations`.
    void RouteLinesToEngine(CommEngine &engine, Operations &operations, FileImporter importer,
                            ReportHandler onReport);
    // Timer 15 (the login's reply time-out) calls this.
    void OnLoginTimer(std::function<void()> handler) { m_onLoginTimer = std::move(handler); }
    // Timer 16 (the login's wait after the bare CR) calls this.
    void OnLineClearTimer(std::function<void()> handler)
    {
        m_onLineClearTimer = std::move(handler);
    }
    // Progress messages go here instead of to the text sink.
    void OnProgress(ProgressHandler handler) { m_onProgress = std::move(handler); }
    // Called after the job watchdog has ended a job.
    void OnWatchdog(std::function<void()> handler) { m_onWatchdog = std::move(handler); }

    bool ControlsEnabled() const { return m_controlsEnabled; }
    bool WaitBoxVisible() const { return m_waitBoxVisible; }

    // IOperationWindow
    void ShowStatus(const std::string &text, bool ok) override;
    void ShowMessageBox(const std::string &text, int style) override;
    void ShowWaitBox(const std::string &statusLine) override;
    void HideWaitBox() override { m_waitBoxVisible = false; }
    void EnableControls(bool enable) override { m_controlsEnabled = enable; }
    void ShowPage(uint32_t) override {}
    void KillJobTimer() override;
    void ShowAccount(const std::string &text) override { ShowStatus(text, false); }
    void ShowProgress(const JobReport &report) override;

private:
    void OnTimer(uintptr_t id);

    CSerialPort &m_port;
    TextSink m_sink;
    platform::MessageQueue m_queue;
    std::unique_ptr<LineReceiver> m_receiver;
    Operations *m_operations = nullptr;
    FileImporter m_importer;
    ReportHandler m_onReport;
    std::function<void()> m_onLoginTimer;
    std::function<void()> m_onLineClearTimer;
    std::function<void()> m_onWatchdog;
    ProgressHandler m_onProgress;
    bool m_controlsEnabled = true;
    bool m_waitBoxVisible = false;
    uint32_t m_timedJob = 0; // the job the watchdog timer was armed for
};
