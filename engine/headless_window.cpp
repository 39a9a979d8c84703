#include "engine/headless_window.h"

#include "engine/engine_globals.h"
#include "engine/job_failure.h"
#include "link/serial_port.h"
#include "platform/messages.h"

using namespace platform;

HeadlessWindow::HeadlessWindow(CSerialPort &port, TextSink sink)
    : m_port(port), m_sink(std::move(sink))
{
    m_queue.On(WM_JOB_TIMER_START, [this](uintptr_t jobNumber, intptr_t) {
        m_timedJob = static_cast<uint32_t>(jobNumber);
        m_queue.SetTimer(kJobTimerId, Millis(g_nJobTimeout));
    });
    m_queue.On(WM_JOB_TIMER_STOP, [this](uintptr_t, intptr_t) { KillJobTimer(); });
    m_queue.On(WM_TIMER, [this](uintptr_t id, intptr_t) { OnTimer(id); });
    for (uint32_t message : kJobReportMessages)
        m_queue.OnDispose(
            message, [message](uintptr_t wParam, intptr_t) { DisposeJobMessage(message, wParam); });
    m_port.SetOwner(this);
}

HeadlessWindow::~HeadlessWindow()
{
    if (m_port.Owner() == this)
        m_port.SetOwner(nullptr);
}

bool HeadlessWindow::PostMessage(uint32_t id, uintptr_t wParam, intptr_t lParam)
{
    return m_queue.PostMessage(id, wParam, lParam);
}

void HeadlessWindow::RouteLinesTo(LineReceiver::LineHandler handler,
                                  std::function<std::string(RxError)> errorText,
                                  LineReceiver::DroppedHandler onDropped)
{
    // Each receiving window has a line builder of its own.
    m_receiver = std::make_unique<LineReceiver>(
        m_port, std::move(handler),
        [this, errorText = std::move(errorText)](RxError error) {
            ShowMessageBox(errorText(error), kStyleInformation);
        },
        std::move(onDropped));
    m_receiver->Attach(m_queue);
}

void HeadlessWindow::RouteLinesToEngine(CommEngine &engine, Operations &operations,
                                        FileImporter importer, ReportHandler onReport)
{
    RouteLinesTo([&engine](std::unique_ptr<std::string> line) { engine.PostLine(std::move(line)); },
                 [](RxError error) { return std::string(MainWindowRxErrorText(error)); },
                 [&engine] { engine.PostLineLost(); });
    m_operations = &operations;
    m_importer = std::move(importer);
    m_onReport = std::move(onReport);
    m_queue.On(WM_PORT_HANGUP, [this](uintptr_t, intptr_t) { m_operations->OnPortHangUp(); });
    for (uint32_t message : kJobReportMessages) {
        m_queue.On(message, [this, message](uintptr_t wParam, intptr_t lParam) {
            const JobReport report =
                m_operations->OnJobMessage(message, wParam, lParam, m_importer);
            if (m_onReport)
                m_onReport(report);
        });
    }
}

void HeadlessWindow::OnTimer(uintptr_t id)
{
    if (id == kJobTimerId && m_operations) {
        m_operations->OnJobTimer(m_timedJob);
        if (m_onWatchdog)
            m_onWatchdog();
    } else if (id == kLoginTimerId && m_onLoginTimer) {
        m_onLoginTimer();
    } else if (id == kLineClearTimerId && m_onLineClearTimer) {
        m_onLineClearTimer();
    }
}

void HeadlessWindow::KillJobTimer()
{
    m_queue.KillTimer(kJobTimerId);
}

void HeadlessWindow::ShowStatus(const std::string &text, bool ok)
{
    if (m_sink && !text.empty())
        m_sink(text, !ok);
}

void HeadlessWindow::ShowProgress(const JobReport &report)
{
    if (m_onProgress)
        m_onProgress(report);
    else
        ShowStatus(report.text, report.ok);
}

void HeadlessWindow::ShowMessageBox(const std::string &text, int style)
{
    if (m_sink && !text.empty())
        m_sink(text, style == kStyleError || style == kStyleWarning);
}

void HeadlessWindow::ShowWaitBox(const std::string &statusLine)
{
    m_waitBoxVisible = true;
    ShowStatus(statusLine, true);
}
