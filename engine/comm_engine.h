#pragma once
// The two engine threads as one object: the job queue thread and the comm
// worker, started queue first and stopped worker first.

#include "engine/comm_thread.h"
#include "engine/send_data_fifo.h"

#include <functional>

class ISerialLink;
struct ReadLists;

// What the owner window does when the job watchdog expires.
class IJobWatchdogOwner
{
public:
    virtual ~IJobWatchdogOwner() = default;
    virtual void KillJobTimer() = 0;
    // Shows the text in the application's message box with the stop icon.
    virtual void ShowOvertime(const char *text) = 0;
    virtual void HideProgress() = 0;
    virtual void EnableControls(bool enable) = 0;
};

class CommEngine
{
public:
    // Waits at most the given time for a thread to end (the GUI dispatches
    // its own messages meanwhile); true when it ended.
    using ThreadWaiter = std::function<bool(platform::MessageThread &, platform::Millis)>;

    CommEngine(ISerialLink &port, const ReadLists &readLists);
    ~CommEngine();
    CommEngine(const CommEngine &) = delete;
    CommEngine &operator=(const CommEngine &) = delete;

    void Start();
    // Quits the worker, then the queue thread, each waited for at most 1000 ms.
    void Stop(const ThreadWaiter &waiter = {});

    // Posts a job request (kJobRead, kJobWrite, kJobModifyPassword).
    bool SubmitJob(uint32_t code) { return m_fifo.SubmitJob(code); }
    uint32_t JobState() const { return m_comm.JobState(); }
    bool JobRunning() const { return JobState() != CCommThread::kIdle; }

    // Hands a received line to the worker, which owns it from now on.
    bool PostLine(std::unique_ptr<std::string> line);
    // Tells the worker, in order with the lines, that a line was dropped.
    bool PostLineLost();
    // The port hung up: the worker ends its job.
    bool PostPortLost();
    // The user stopped the run: the worker ends its job at once (or the
    // next one as it starts), reported as stopped, with a write's account.
    // Given a job number, only that job, and only while it runs.
    bool PostStop(uint32_t jobNumber = CCommThread::kAnyJob);

    // The job watchdog's expiry, run by the owner window when its timer 13
    // fires; `jobNumber` is what the timer's last WM_JOB_TIMER_START carried.
    void RunWatchdogExpiry(IJobWatchdogOwner &owner, uint32_t jobNumber);

    CCommThread &Comm() { return m_comm; }
    CSendDataFIFO &Fifo() { return m_fifo; }

private:
    ISerialLink &m_port;
    CSendDataFIFO m_fifo;
    CCommThread m_comm;
    bool m_started = false;
};

inline constexpr const char *kOvertimeText = "Error:Overtime!";
