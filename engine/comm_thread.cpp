#include "engine/comm_thread.h"

#include "engine/engine_globals.h"
#include "engine/job_request.h"
#include "engine/job_steps.h"
#include "engine/temp_parameter_file.h"
#include "link/at_log.h"
#include "link/reply.h"
#include "link/serial_link.h"
#include "link/shared_settings.h"
#include "platform/messages.h"

#include <algorithm>
#include <cstring>
#include <utility>

using namespace platform;
using namespace std::chrono_literals;

CCommThread::CCommThread(ISerialLink &port, const ReadLists &readLists)
    : m_port(port), m_readJob(*this, readLists), m_writeJob(*this), m_passwordJob(*this)
{
    auto &queue = m_thread.Queue();
    queue.On(WM_COMM_START_JOB,
             [this](uintptr_t number, intptr_t code) { OnStartJob(number, code); });
    queue.On(WM_COMM_ABORT_JOB, [this](uintptr_t number, intptr_t) { OnAbortJob(number); });
    queue.On(WM_COMM_RX_LINE, [this](uintptr_t line, intptr_t) { OnRxLine(line); });
    queue.On(WM_COMM_RX_LINE_LOST, [this](uintptr_t, intptr_t) { OnRxLineLost(); });
    queue.On(WM_COMM_PORT_LOST, [this](uintptr_t, intptr_t) { OnCut(JobCut::PortLost); });
    queue.On(WM_COMM_STOP_JOB, [this](uintptr_t number, intptr_t) { OnStop(number); });
    // A job pausing for the terminal hears at once that it is gone, or stopped.
    queue.BreakSleepsOn(WM_COMM_PORT_LOST);
    queue.BreakSleepsOn(WM_COMM_STOP_JOB);
    queue.OnDispose(WM_COMM_RX_LINE,
                    [](uintptr_t line, intptr_t) { TakeOwned<std::string>(line); });
}

CCommThread::~CCommThread()
{
    m_thread.Stop(1000ms);
}

void CCommThread::Start()
{
    m_thread.Start([this] { m_comDelayEvent.Set(); });
}

void CCommThread::OnStartJob(uintptr_t jobNumber, intptr_t code)
{
    m_exchange.Clear();
    {
        const std::lock_guard lock(m_jobMutex);
        m_jobNumber = static_cast<uint32_t>(jobNumber);
        m_jobState = static_cast<uint32_t>(code) + 1;
    }
    ResetJobSteps();
    if (std::exchange(m_stopPending, false)) {
        OnCut(JobCut::Stopped);
        return;
    }
    m_thread.PostMessage(WM_COMM_RX_LINE, 0);
}

void CCommThread::ResetJobSteps()
{
    m_readJob.Abort();
    m_writeJob.Abort();
    m_passwordJob.Abort();
}

// The abort names the job the watchdog ended; the next job, started after
// it, is not touched.
void CCommThread::OnAbortJob(uintptr_t jobNumber)
{
    {
        const std::lock_guard lock(m_jobMutex);
        if (static_cast<uint32_t>(jobNumber) != m_jobNumber)
            return;
        m_jobState = kIdle;
    }
    ResetJobSteps();
    m_exchange.Clear();
    // The terminal may be another one by the next job, or have its echo
    // switched: what a job that went silent knew of it is not trusted.
    g_terminalEcho = EchoMode::Unknown;
}

uint32_t CCommThread::JobNumber() const
{
    const std::lock_guard lock(m_jobMutex);
    return m_jobNumber;
}

bool CCommThread::EndTimedOutJob(uint32_t jobNumber)
{
    const std::lock_guard lock(m_jobMutex);
    if (jobNumber != m_jobNumber)
        return false;
    m_jobState = kIdle;
    return true;
}

void CCommThread::OnRxLine(uintptr_t wParam)
{
    const std::unique_ptr<std::string> line = TakeOwned<std::string>(wParam);
    if (line)
        LogTraffic(*line, 1);
    const uint32_t state = m_jobState.load();
    if (state == kIdle) {
        // Every line restarts the watchdog, and an error reply leaves it
        // running: a terminal that reports errors by itself ends in
        // "Error:Overtime!".
        RestartJobTimer();
        if (!line || !IsErrorReply(*line))
            StopJobTimer();
        return;
    }
    if (line && !TakeForJob(*line))
        return;
    // The start of a job and each line of its own give it a fresh period.
    RestartJobTimer();
    switch (state) {
    case kReading:
        m_readJob.Step(line.get());
        break;
    case kWriting:
        m_writeJob.Step(line.get());
        break;
    case kChangingPassword:
        m_passwordJob.Step(line.get());
        break;
    default:
        break;
    }
}

// Only the information lines and the final reply of the command in flight
// reach the job. Lines the terminal sends by itself keep no job alive: a
// terminal that rings every few seconds but never answers still times out.
bool CCommThread::TakeForJob(const std::string &line)
{
    switch (m_exchange.Take(line)) {
    case CommandExchange::Verdict::Information:
    case CommandExchange::Verdict::Final:
        return true;
    case CommandExchange::Verdict::Echo:
        RestartJobTimer(); // the terminal has taken the command
        return false;
    case CommandExchange::Verdict::Stray:
        LogNote("the reply above answers no command in flight and was ignored");
        return false;
    case CommandExchange::Verdict::Unrelated:
        return false;
    }
    return false;
}

// A line dropped while a command waits for its answer may have been part of
// it; one dropped between commands was the terminal's own.
void CCommThread::OnRxLineLost()
{
    LogNote("a line longer than 1024 characters was dropped");
    if (m_jobState.load() == kReading && m_exchange.InFlight())
        m_readJob.OnLineLost();
}

// A stop that names a job (the window's Cancel) ends that job alone: when
// it has ended meanwhile, the next job is left to run. A stop naming none
// (Ctrl+C) ends the job running, or the next one as it starts.
void CCommThread::OnStop(uintptr_t jobNumber)
{
    if (jobNumber != kAnyJob) {
        const std::lock_guard lock(m_jobMutex);
        if (m_jobState.load() == kIdle || static_cast<uint32_t>(jobNumber) != m_jobNumber)
            return;
    }
    OnCut(JobCut::Stopped);
}

// No answer can come any more, or none is wanted: the job ends now rather
// than at the watchdog.
void CCommThread::OnCut(JobCut cut)
{
    m_exchange.Clear();
    switch (m_jobState.load()) {
    case kReading:
        m_readJob.OnCut(cut);
        break;
    case kWriting:
        m_writeJob.OnCut(cut);
        break;
    case kChangingPassword:
        m_passwordJob.OnCut(cut);
        break;
    default:
        m_stopPending = cut == JobCut::Stopped;
        m_port.ClosePort();
        break;
    }
}

bool CCommThread::SetCommand(std::string_view text)
{
    constexpr size_t kMaxCommandText = sizeof m_command - 1;
    std::memset(m_command, 0, sizeof m_command);
    if (text.size() + 1 > kMaxCommandText) {
        // Keep what fits, without the CR; the length stays 0 so it is
        // never sent.
        const size_t kept = std::min(text.size(), kMaxCommandText);
        std::memcpy(m_command, text.data(), kept);
        m_commandLength = 0;
        return false;
    }
    std::memcpy(m_command, text.data(), text.size());
    m_command[text.size()] = '\r';
    m_commandLength = static_cast<uint32_t>(text.size() + 1);
    return true;
}

void CCommThread::SendCommand()
{
    if (m_commandLength == 0)
        return;
    KeepDeviceGap();
    LogTraffic(std::string_view(m_command, m_commandLength), 0);
    m_port.Send(m_command, m_commandLength);
    m_exchange.Sent(std::string_view(m_command, m_commandLength - 1));
}

// The terminal gets its gap after every final reply, however quickly the
// job has its next command ready. Lines that arrive meanwhile wait in the
// queue, as during any pause.
void CCommThread::KeepDeviceGap()
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point due = m_port.LastFinalReply() + Millis(g_nDeviceGap.load());
    const Clock::time_point start = Clock::now();
    if (start >= due)
        return;
    m_thread.Queue().SleepUntil(due);
    m_gapNs += std::chrono::nanoseconds(Clock::now() - start).count();
}

void CCommThread::PostToOwner(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (IMessageTarget *owner = m_port.Owner())
        owner->PostMessage(message, wParam, lParam);
}

void CCommThread::PostFailureToOwner(uint32_t message, JobFailure failure)
{
    // Without an owner, or when it takes no more messages, the failure is freed here.
    if (IMessageTarget *owner = m_port.Owner())
        PostOwned(*owner, message, std::make_unique<JobFailure>(std::move(failure)));
}

// The owner's queue takes the two in the order posted, so the timer is
// restarted without the worker waiting for it.
void CCommThread::RestartJobTimer()
{
    PostToOwner(WM_JOB_TIMER_STOP);
    PostToOwner(WM_JOB_TIMER_START, JobNumber());
}

void CCommThread::StopJobTimer()
{
    PostToOwner(WM_JOB_TIMER_STOP);
}

void CCommThread::CompleteJob(const char *)
{
    uint32_t number = 0;
    {
        const std::lock_guard lock(m_jobMutex);
        m_jobState = kIdle;
        number = m_jobNumber;
    }
    m_exchange.Clear();
    g_hFifoGate.Set();
    if (m_pFIFOThread)
        m_pFIFOThread->PostMessage(WM_SEND_FINISH_NOTIFY, kFinishedByJob, number);
}

void CCommThread::Sleep(Millis duration)
{
    const Millis scaled = duration * m_pausePercent.load() / 100;
    m_pausedMs += scaled.count();
    m_thread.Queue().SleepFor(scaled);
}

void CCommThread::PauseForDevice()
{
    if (!m_comDelayEvent.IsSet())
        Sleep(kJobPauses.afterAtCommands);
    m_comDelayEvent.Reset();
}

void CCommThread::ClosePort()
{
    m_port.ClosePort();
}

void CCommThread::LogNote(std::string_view text)
{
    ::LogNote(text);
}

std::string CCommThread::TempParameterFilePath() const
{
    return ::TempParameterFilePath();
}
