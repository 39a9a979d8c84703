#include "engine/comm_thread.h"

#include "engine/engine_globals.h"
#include "engine/temp_parameter_file.h"
#include "link/at_log.h"
#include "link/reply.h"
#include "link/serial_link.h"
#include "platform/messages.h"

#include <algorithm>
#include <cstring>

using namespace platform;
using namespace std::chrono_literals;

CCommThread::CCommThread(ISerialLink &port, const ReadLists &readLists)
    : m_port(port), m_readJob(*this, readLists), m_writeJob(*this), m_passwordJob(*this)
{
    auto &queue = m_thread.Queue();
    queue.On(WM_COMM_START_JOB, [this](uintptr_t, intptr_t code) { OnStartJob(code); });
    queue.On(WM_COMM_ABORT_JOB, [this](uintptr_t, intptr_t) { OnAbortJob(); });
    queue.On(WM_COMM_RX_LINE, [this](uintptr_t line, intptr_t) { OnRxLine(line); });
    queue.OnDispose(WM_COMM_RX_LINE, [](uintptr_t line, intptr_t) { TakeOwned<std::string>(line); });
}

CCommThread::~CCommThread()
{
    m_thread.Stop(1000ms);
}

void CCommThread::Start()
{
    m_thread.Start([this] { m_hComDelayEvent.Set(); });
}

void CCommThread::OnStartJob(intptr_t code)
{
    m_nJobState = static_cast<uint32_t>(code) + 1;
    ResetJobSteps();
    m_thread.PostMessage(WM_COMM_RX_LINE, 0);
}

void CCommThread::ResetJobSteps()
{
    m_readJob.Abort();
    m_writeJob.Abort();
    m_passwordJob.Abort();
}

void CCommThread::OnAbortJob()
{
    m_nJobState = kIdle;
    ResetJobSteps();
}

void CCommThread::OnRxLine(uintptr_t wParam)
{
    const std::unique_ptr<std::string> line = TakeOwned<std::string>(wParam);
    RestartJobTimer();
    if (line)
        LogTraffic(*line, 1);
    switch (m_nJobState.load()) {
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
        // Idle. An error reply leaves the watchdog running, so a terminal
        // that reports errors by itself ends in "Error:Overtime!".
        if (!line || !IsErrorReply(*line))
            StopJobTimer();
        break;
    }
}

bool CCommThread::SetCommand(std::string_view text)
{
    constexpr size_t kMaxCommandText = sizeof m_szCommand - 1;
    std::memset(m_szCommand, 0, sizeof m_szCommand);
    if (text.size() + 1 > kMaxCommandText) {
        // Keep what fits, without the CR; the length stays 0 so it is
        // never sent.
        const size_t kept = std::min(text.size(), kMaxCommandText);
        std::memcpy(m_szCommand, text.data(), kept);
        m_nCommandLength = 0;
        return false;
    }
    std::memcpy(m_szCommand, text.data(), text.size());
    m_szCommand[text.size()] = '\r';
    m_nCommandLength = static_cast<uint32_t>(text.size() + 1);
    return true;
}

void CCommThread::SendCommand()
{
    if (m_nCommandLength == 0)
        return;
    LogTraffic(std::string_view(m_szCommand, m_nCommandLength), 0);
    m_port.Send(m_szCommand, m_nCommandLength);
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

void CCommThread::RestartJobTimer()
{
    PostToOwner(WM_JOB_TIMER_STOP);
    Sleep(20ms);
    PostToOwner(WM_JOB_TIMER_START);
}

void CCommThread::StopJobTimer()
{
    PostToOwner(WM_JOB_TIMER_STOP);
    Sleep(20ms);
}

void CCommThread::CompleteJob(const char *)
{
    m_nJobState = kIdle;
    g_hFifoGate.Set();
    if (m_pFIFOThread)
        m_pFIFOThread->PostMessage(WM_SEND_FINISH_NOTIFY, 1);
}

void CCommThread::Sleep(Millis duration)
{
    m_pausedMs += duration.count();
    m_thread.Queue().SleepFor(duration);
}

void CCommThread::PauseForDevice()
{
    if (!m_hComDelayEvent.IsSet())
        Sleep(2000ms);
    m_hComDelayEvent.Reset();
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
