#pragma once
// The job queue thread: takes job requests, drops a request whose code is
// already queued or running, and hands the jobs to the worker one at a time.

#include "engine/job_request.h"
#include "platform/message_queue.h"

#include <functional>
#include <list>

class CSendDataFIFO
{
public:
    struct Node
    {
        uint32_t code = 0;
        std::unique_ptr<uint8_t[]> data;
    };

    // `owner` returns the window that runs the job watchdog (the port's owner).
    explicit CSendDataFIFO(std::function<platform::IMessageTarget *()> owner);
    ~CSendDataFIFO();
    CSendDataFIFO(const CSendDataFIFO &) = delete;
    CSendDataFIFO &operator=(const CSendDataFIFO &) = delete;

    void SetCommThread(platform::IMessageTarget *commThread) { m_pCommThread = commThread; }
    void Start();
    platform::MessageThread &Thread() { return m_thread; }

    // Posts a request with a one-byte data block, as the window does.
    bool SubmitJob(uint32_t code);

private:
    void OnAddJob(uintptr_t wParam);
    void OnSendFinishNotify(uintptr_t wParam, intptr_t jobNumber);
    void DropAll();

    platform::MessageThread m_thread;
    std::function<platform::IMessageTarget *()> m_owner;
    platform::IMessageTarget *m_pCommThread = nullptr;
    // Touched only by the queue thread. A list, because the worker is handed
    // the head node's address and it must stay put while the job runs.
    std::list<Node> m_queue;
    bool m_busy = false;
    // The number of the job last handed to the worker. The finish of a job
    // names it, so that a late finish of a job already ended (by the
    // watchdog) cannot end the one that now runs.
    uint32_t m_dispatched = 0;
};
