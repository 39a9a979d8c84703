// The worker itself: its command buffer, and its part in the job watchdog,
// which every line it takes re-arms by messages alone, in order, without
// pausing the worker; and the job queue that hands it its jobs.

#include "engine/comm_thread.h"
#include "engine/engine_globals.h"
#include "engine/job_failure.h"
#include "engine/send_data_fifo.h"
#include "link/serial_link.h"
#include "link/shared_settings.h"
#include "params/read_lists.h"
#include "platform/messages.h"
#include "tests/common/temp_folder.h"

#include <gtest/gtest.h>
#include <mutex>

using namespace platform;
using namespace std::chrono_literals;

namespace {

// The owner window as a list of the message numbers posted to it; the
// worker as the list of jobs handed to it (number, code).
class OwnerProbe : public IMessageTarget
{
public:
    using Jobs = std::vector<std::pair<uint32_t, uint32_t>>;
    bool PostMessage(uint32_t id, uintptr_t wParam, intptr_t lParam) override
    {
        if (CarriesJobFailure(id))
            TakeOwned<JobFailure>(wParam);
        std::lock_guard lock(m_mutex);
        m_ids.push_back(id);
        if (id == WM_COMM_START_JOB)
            m_jobs.emplace_back(static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam));
        m_changed.notify_all();
        return true;
    }
    std::vector<uint32_t> WaitFor(size_t count)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, 10s, [&] { return m_ids.size() >= count; });
        return m_ids;
    }
    Jobs WaitForJobs(size_t count)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, 10s, [&] { return m_jobs.size() >= count; });
        return m_jobs;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<uint32_t> m_ids;
    Jobs m_jobs;
};

class RecordingLink : public ISerialLink
{
public:
    int OpenPort() override { return 1; }
    void ClosePort() override {}
    bool IsOpen() const override { return true; }
    void Send(const char *data, uint32_t length) override { sent.emplace_back(data, length); }
    IMessageTarget *Owner() const override { return &owner; }

    std::vector<std::string> sent;
    mutable OwnerProbe owner;
};

// A worker on a recording link, its traffic log in a fresh folder.
class Worker : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_strAppDir = m_folder.Path() + "/";
        g_strSoftwarePassword = "1234";
    }

    TempFolder m_folder;
    RecordingLink link;
    ReadLists lists;
    CCommThread comm{link, lists};
};

TEST_F(Worker, HoldsAtMost511CharactersWithTheCr)
{
    // The text's length, and whether the line with its CR fits.
    const std::pair<size_t, bool> cases[] = {{509, true}, {510, true}, {511, false}, {600, false}};
    for (const auto &[length, fits] : cases) {
        link.sent.clear();
        const std::string text(length, 'A');
        EXPECT_EQ(comm.SetCommand(text), fits) << length;
        comm.SendCommand();
        // A line that does not fit is never sent.
        EXPECT_EQ(link.sent, fits ? std::vector{text + "\r"} : std::vector<std::string>{})
            << length;
        EXPECT_TRUE(!fits || comm.Command() == text + "\r") << length;
    }
}

TEST_F(Worker, EveryLineRestartsTheWatchdogByMessagesAlone)
{
    // While idle an error reply leaves the watchdog running; anything else stops it.
    const std::pair<const char *, std::vector<uint32_t>> cases[] = {
        {"RING", {WM_JOB_TIMER_STOP, WM_JOB_TIMER_START, WM_JOB_TIMER_STOP}},
        {"OK", {WM_JOB_TIMER_STOP, WM_JOB_TIMER_START, WM_JOB_TIMER_STOP}},
        {"ERROR", {WM_JOB_TIMER_STOP, WM_JOB_TIMER_START}},
    };
    for (const auto &[line, posted] : cases) {
        RecordingLink own; // a worker of its own for each line
        CCommThread worker(own, lists);
        worker.Start();
        std::vector<uint32_t> expected;
        for (int time = 0; time < 3; ++time) {
            ASSERT_TRUE(
                PostOwned(worker.Thread(), WM_COMM_RX_LINE, std::make_unique<std::string>(line)));
            expected.insert(expected.end(), posted.begin(), posted.end());
        }
        EXPECT_EQ(own.owner.WaitFor(expected.size()), expected) << line;
        EXPECT_EQ(worker.PausedTime(), 0ms) << line << ": the worker never pauses for the timer";
        EXPECT_EQ(worker.GapTime(), 0ns) << line;
    }
}

TEST_F(Worker, OnlyTheLinesOfTheCommandInFlightRestartTheWatchdog)
{
    comm.Start();
    const std::vector<uint32_t> restart = {WM_JOB_TIMER_STOP, WM_JOB_TIMER_START};
    // The password job: its start sends the login line.
    ASSERT_TRUE(comm.Thread().PostMessage(WM_COMM_START_JOB, 1, 13));
    std::vector<uint32_t> expected = restart;
    ASSERT_EQ(link.owner.WaitFor(expected.size()), expected);
    const std::pair<const char *, bool> lines[] = {
        {"RING", false},
        {"AT+WPAR=9996,\"1234\"", true},
        {"+CMTI: \"SM\",3", false},
        {"+RPAR: 5", false},
        {"OK", true},
        {"OK", false},
        {"RING", false},
    };
    for (const auto &[line, restarts] : lines) {
        ASSERT_TRUE(PostOwned(comm.Thread(), WM_COMM_RX_LINE, std::make_unique<std::string>(line)));
        if (restarts)
            expected.insert(expected.end(), restart.begin(), restart.end());
    }
    // A marker behind the lines: the idle worker answers it with a restart and a stop.
    ASSERT_TRUE(comm.Thread().PostMessage(WM_COMM_ABORT_JOB, 1));
    ASSERT_TRUE(PostOwned(comm.Thread(), WM_COMM_RX_LINE, std::make_unique<std::string>("x")));
    expected.insert(expected.end(), {WM_JOB_TIMER_STOP, WM_JOB_TIMER_START, WM_JOB_TIMER_STOP});
    EXPECT_EQ(link.owner.WaitFor(expected.size()), expected);
}

// The terminal needs 2000 ms after supplementary-service changes before
// "AT&W"; only the first such pause after the worker starts ends at once.
TEST_F(Worker, OnlyTheFirstDevicePauseOfARunEndsAtOnce)
{
    comm.Start();
    // The idle worker's answer to a line shows it has started.
    ASSERT_TRUE(PostOwned(comm.Thread(), WM_COMM_RX_LINE, std::make_unique<std::string>("OK")));
    ASSERT_EQ(link.owner.WaitFor(3).size(), 3u);
    // With the worker told to quit every pause ends at once, but counts in full.
    comm.Thread().PostQuit();
    for (const auto paused : {0ms, 2000ms, 4000ms}) {
        comm.PauseForDevice();
        EXPECT_EQ(comm.PausedTime(), paused);
    }
}

// The window's Cancel names its job: a stop for another job, or for one that
// has ended, leaves the worker and the next job alone.
TEST_F(Worker, AStopOrAbortNamingAJobEndsThatJobAlone)
{
    comm.Start();
    const std::vector<uint32_t> start = {WM_JOB_TIMER_STOP, WM_JOB_TIMER_START};
    std::vector<uint32_t> expected = start;
    ASSERT_TRUE(comm.Thread().PostMessage(WM_COMM_START_JOB, 1, 13));
    ASSERT_EQ(link.owner.WaitFor(expected.size()), expected);
    EXPECT_FALSE(comm.EndTimedOutJob(2)) << "another job's watchdog leaves this one running";
    ASSERT_TRUE(comm.Thread().PostMessage(WM_COMM_ABORT_JOB, 2)); // the watchdog's, too late
    ASSERT_TRUE(comm.Thread().PostMessage(WM_COMM_STOP_JOB, 2));
    ASSERT_TRUE(comm.Thread().PostMessage(WM_COMM_STOP_JOB, 1));
    ASSERT_TRUE(comm.Thread().PostMessage(WM_COMM_STOP_JOB, 1)); // ended by now
    ASSERT_TRUE(comm.Thread().PostMessage(WM_COMM_START_JOB, 2, 13));
    expected.push_back(WM_JOB_STOPPED_NOTIFY);
    expected.insert(expected.end(), start.begin(), start.end());
    EXPECT_EQ(link.owner.WaitFor(expected.size()), expected);
}

// kestrel-cli's Ctrl+C names no job: between jobs it ends the next as it starts.
TEST_F(Worker, AStopNamingNoJobEndsTheNextAtItsStart)
{
    comm.Start();
    ASSERT_TRUE(comm.Thread().PostMessage(WM_COMM_STOP_JOB, CCommThread::kAnyJob));
    ASSERT_TRUE(comm.Thread().PostMessage(WM_COMM_START_JOB, 1, 13));
    EXPECT_EQ(link.owner.WaitFor(1), std::vector<uint32_t>{WM_JOB_STOPPED_NOTIFY});
}

// The job queue hands the worker one job at a time, whatever order the
// start notices and the finish notices of jobs already ended come in.
TEST(SendQueue, AJobAtTheWorkerIsHandedOnOnlyByItsOwnFinish)
{
    using Jobs = OwnerProbe::Jobs;
    // While job 1 (a read) runs, notices a late sender put before and after
    // an extra start notice; every sender of a finish opens the gate first.
    const std::pair<const char *, std::vector<JobFinish>> orders[] = {
        {"late finish, then start notice", {kFinishedByWatchdog, kFinishNone}},
        {"start notice, then late finish", {kFinishNone, kFinishedByJob}},
        {"start notice alone", {kFinishNone}},
    };
    for (const auto &[order, notices] : orders) {
        OwnerProbe worker;
        CSendDataFIFO queue(nullptr);
        queue.SetCommThread(&worker);
        queue.Start();
        ASSERT_TRUE(queue.SubmitJob(kJobRead));
        ASSERT_EQ(worker.WaitForJobs(1), (Jobs{{1, kJobRead}})) << order;
        for (const JobFinish notice : notices) {
            g_hFifoGate.Set();
            ASSERT_TRUE(queue.Thread().PostMessage(WM_SEND_FINISH_NOTIFY, notice, 7));
        }
        ASSERT_TRUE(queue.SubmitJob(kJobWrite));
        g_hFifoGate.Set();
        ASSERT_TRUE(queue.Thread().PostMessage(WM_SEND_FINISH_NOTIFY, kFinishedByJob, 1));
        EXPECT_EQ(worker.WaitForJobs(2), (Jobs{{1, kJobRead}, {2, kJobWrite}})) << order;
    }
}

} // namespace
