#include "engine/comm_engine.h"

#include "engine/engine_globals.h"
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

void CommEngine::RunWatchdogExpiry(IJobWatchdogOwner &owner)
{
    owner.KillJobTimer();
    m_comm.Thread().PostMessage(WM_COMM_ABORT_JOB);
    g_hFifoGate.Set();
    m_fifo.Thread().PostMessage(WM_SEND_FINISH_NOTIFY, 2);
    std::this_thread::sleep_for(20ms);
    owner.ShowOvertime(kOvertimeText);
    owner.HideProgress();
    m_comm.CompleteJob("watchdog");
    owner.EnableControls(true);
    m_port.ClosePort();
}
