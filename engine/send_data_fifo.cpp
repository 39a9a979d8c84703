#include "engine/send_data_fifo.h"

#include "engine/engine_globals.h"
#include "platform/messages.h"

#include <algorithm>

using namespace platform;

CSendDataFIFO::CSendDataFIFO(std::function<IMessageTarget *()> owner) : m_owner(std::move(owner))
{
    g_hFifoGate.Set();
    auto &queue = m_thread.Queue();
    queue.On(WM_FIFO_ADD_JOB, [this](uintptr_t w, intptr_t) { OnAddJob(w); });
    queue.On(WM_SEND_FINISH_NOTIFY, [this](uintptr_t w, intptr_t l) { OnSendFinishNotify(w, l); });
    queue.OnDispose(WM_FIFO_ADD_JOB, [](uintptr_t w, intptr_t) { TakeOwned<JobRequest>(w); });
}

CSendDataFIFO::~CSendDataFIFO()
{
    m_thread.Stop(std::chrono::milliseconds(1000));
}

void CSendDataFIFO::Start()
{
    m_thread.Start({}, [this] { DropAll(); });
}

bool CSendDataFIFO::SubmitJob(uint32_t code)
{
    auto request = std::make_unique<JobRequest>();
    request->code = code;
    request->data = std::make_unique<uint8_t[]>(1);
    return PostOwned(m_thread, WM_FIFO_ADD_JOB, std::move(request));
}

void CSendDataFIFO::OnAddJob(uintptr_t wParam)
{
    std::unique_ptr<JobRequest> request = TakeOwned<JobRequest>(wParam);
    if (!request)
        return;
    const uint32_t code = request->code;
    if (IsExclusiveJob(code) && std::any_of(m_queue.begin(), m_queue.end(),
                                            [code](const Node &n) { return n.code == code; }))
        return;
    m_queue.push_back({code, std::move(request->data)});
    if (!m_busy)
        m_thread.PostMessage(WM_SEND_FINISH_NOTIFY, kFinishNone);
}

void CSendDataFIFO::OnSendFinishNotify(uintptr_t wParam, intptr_t jobNumber)
{
    if (!g_hFifoGate.IsSet())
        return;
    const bool finished = wParam == kFinishedByJob || wParam == kFinishedByWatchdog;
    const bool endsTheRunningJob = finished && static_cast<uint32_t>(jobNumber) == m_dispatched;
    // While a job is at the worker only its own finish dispatches: a late
    // finish of a job the watchdog has already ended opens the gate on its
    // way here, and an extra start notice queued behind it would otherwise
    // hand the worker a second job. With no job there, a finish has nothing
    // to drop.
    if (m_busy ? !endsTheRunningJob : finished)
        return;
    g_hFifoGate.Reset();
    IMessageTarget *owner = m_owner ? m_owner() : nullptr;
    if (finished) {
        if (owner)
            owner->PostMessage(WM_JOB_TIMER_STOP);
        if (!m_queue.empty())
            m_queue.pop_front();
        m_busy = false;
    }
    if (m_queue.empty() || !m_pCommThread) {
        g_hFifoGate.Set();
        return;
    }
    // The worker gets the job's number and code, never the node, which the
    // watchdog may make the queue drop in the meantime.
    ++m_dispatched;
    m_pCommThread->PostMessage(WM_COMM_START_JOB, m_dispatched, m_queue.front().code);
    if (owner)
        owner->PostMessage(WM_JOB_TIMER_START, m_dispatched);
    m_busy = true;
}

void CSendDataFIFO::DropAll()
{
    m_queue.clear();
    m_busy = false;
}
