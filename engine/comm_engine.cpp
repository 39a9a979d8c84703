#include "engine/comm_engine.h"

#include "engine/engine_globals.h"
#include "engine/job_request.h"
#include "engine/job_steps.h"
#include "link/serial_link.h"
#include "platform/messages.h"

#include <thread>

using namespace platform;
using namespace std::chrono_literals;

CommEngine::CommEngine(ISerialLink &port, const ReadLists &readLists)
    : m_port(port), m_fifo([&port] { return port.Owner(); }), m_comm(port, readLists)
{
    m_fifo.SetCommThread(&m_comm.Thread());
    m_comm.SetFifoThread(&m_fifo.Thread());
}

CommEngine::~CommEngine()
{
    Stop();
}

void CommEngine::Start()
{
    if (m_started)
        return;
    m_fifo.Start();
    m_comm.Start();
    m_started = true;
}

void CommEngine::Stop(const ThreadWaiter &waiter)
{
    if (!m_started)
        return;
    m_started = false;
    for (MessageThread *thread : {&m_comm.Thread(), &m_fifo.Thread()}) {
        thread->PostQuit();
        const bool ended = waiter ? waiter(*thread, 1000ms) : thread->WaitForEnd(1000ms);
        if (!ended) {
            // A worker still inside Send waits for the port; closing the port
            // releases it, so the thread can be joined instead of left behind.
            m_port.ClosePort();
            thread->WaitForEnd(std::chrono::hours(1));
        }
    }
}

bool CommEngine::PostLine(std::unique_ptr<std::string> line)
{
    return PostOwned(m_comm.Thread(), WM_COMM_RX_LINE, std::move(line));
}

bool CommEngine::PostLineLost()
{
    return m_comm.Thread().PostMessage(WM_COMM_RX_LINE_LOST);
}

bool CommEngine::PostPortLost()
{
    return m_comm.Thread().PostMessage(WM_COMM_PORT_LOST);
}

bool CommEngine::PostStop(uint32_t jobNumber)
{
    return m_comm.Thread().PostMessage(WM_COMM_STOP_JOB, jobNumber);
}

// The timed-out job is ended once, and only it: the worker is idle before
// the queue can hand it the next job, and the one finish notification names
// the job, so the next job keeps its queue entry and the watchdog its
// dispatch armed. (A second finish here would drop the next job's entry and
// stop its timer; setting the worker idle after the dispatch would end it.)
void CommEngine::RunWatchdogExpiry(IJobWatchdogOwner &owner, uint32_t jobNumber)
{
    owner.KillJobTimer();
    // A timer armed for a job that has ended meanwhile ends nothing: the
    // worker has moved on, and its new job has a watchdog of its own.
    if (!m_comm.EndTimedOutJob(jobNumber))
        return;
    m_comm.Thread().PostMessage(WM_COMM_ABORT_JOB, jobNumber);
    g_hFifoGate.Set();
    m_fifo.Thread().PostMessage(WM_SEND_FINISH_NOTIFY, kFinishedByWatchdog, jobNumber);
    std::this_thread::sleep_for(kJobPauses.afterWatchdog);
    owner.ShowOvertime(kOvertimeText);
    owner.HideProgress();
    owner.EnableControls(true);
    m_port.ClosePort();
}
