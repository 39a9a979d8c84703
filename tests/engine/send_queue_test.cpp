// The job queue hands the worker one job at a time, whatever order the
// start notices and the finish notices of jobs already ended come in.

#include "engine/engine_globals.h"
#include "engine/send_data_fifo.h"
#include "platform/messages.h"

#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>

using namespace platform;
using namespace std::chrono_literals;

namespace {

// The worker as the list of jobs handed to it: (number, code).
class WorkerProbe : public IMessageTarget
{
public:
    bool PostMessage(uint32_t id, uintptr_t wParam, intptr_t lParam) override
    {
        if (id != WM_COMM_START_JOB)
            return true;
        std::lock_guard lock(m_mutex);
        m_jobs.emplace_back(static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam));
        m_changed.notify_all();
        return true;
    }
    std::vector<std::pair<uint32_t, uint32_t>> WaitFor(size_t count)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, 10s, [&] { return m_jobs.size() >= count; });
        return m_jobs;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::pair<uint32_t, uint32_t>> m_jobs;
};

TEST(SendQueue, AJobAtTheWorkerIsHandedOnOnlyByItsOwnFinish)
{
    using Jobs = std::vector<std::pair<uint32_t, uint32_t>>;
    // While job 1 (a read) runs, notices a late sender put before and after
    // an extra start notice; every sender of a finish opens the gate first.
    const std::pair<const char *, std::vector<JobFinish>> orders[] = {
        {"late finish, then start notice", {kFinishedByWatchdog, kFinishNone}},
        {"start notice, then late finish", {kFinishNone, kFinishedByJob}},
        {"start notice alone", {kFinishNone}},
    };
    for (const auto &[order, notices] : orders) {
        WorkerProbe worker;
        CSendDataFIFO queue(nullptr);
        queue.SetCommThread(&worker);
        queue.Start();
        ASSERT_TRUE(queue.SubmitJob(kJobRead));
        ASSERT_EQ(worker.WaitFor(1), (Jobs{{1, kJobRead}})) << order;
        for (const JobFinish notice : notices) {
            g_hFifoGate.Set();
            ASSERT_TRUE(queue.Thread().PostMessage(WM_SEND_FINISH_NOTIFY, notice, 7));
        }
        ASSERT_TRUE(queue.SubmitJob(kJobWrite));
        g_hFifoGate.Set();
        ASSERT_TRUE(queue.Thread().PostMessage(WM_SEND_FINISH_NOTIFY, kFinishedByJob, 1));
        EXPECT_EQ(worker.WaitFor(2), (Jobs{{1, kJobRead}, {2, kJobWrite}})) << order;
    }
}

} // namespace
