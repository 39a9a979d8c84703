// The worker's part in the job watchdog: every line it takes re-arms the
// owner's timer by messages alone, in order, without pausing the worker.

#include "engine/comm_thread.h"
#include "link/serial_link.h"
#include "params/read_lists.h"
#include "platform/messages.h"

#include <gtest/gtest.h>
#include <mutex>

using namespace platform;
using namespace std::chrono_literals;

namespace {

// The owner window as a list of the message numbers posted to it.
class OwnerProbe : public IMessageTarget
{
public:
    bool PostMessage(uint32_t id, uintptr_t, intptr_t) override
    {
        std::lock_guard lock(m_mutex);
        m_ids.push_back(id);
        m_changed.notify_all();
        return true;
    }
    std::vector<uint32_t> WaitFor(size_t count)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, 10s, [&] { return m_ids.size() >= count; });
        return m_ids;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<uint32_t> m_ids;
};

class ProbeLink : public ISerialLink
{
public:
    int OpenPort() override { return 1; }
    void ClosePort() override {}
    bool IsOpen() const override { return true; }
    void Send(const char *, uint32_t) override {}
    IMessageTarget *Owner() const override { return &owner; }

    mutable OwnerProbe owner;
};

TEST(CommThread, EveryLineRestartsTheWatchdogByMessagesAlone)
{
    struct Case
    {
        const char *line;
        std::vector<uint32_t> posted;
    };
    // While idle an error reply leaves the watchdog running; anything else stops it.
    const Case cases[] = {
        {"RING", {WM_JOB_TIMER_STOP, WM_JOB_TIMER_START, WM_JOB_TIMER_STOP}},
        {"OK", {WM_JOB_TIMER_STOP, WM_JOB_TIMER_START, WM_JOB_TIMER_STOP}},
        {"ERROR", {WM_JOB_TIMER_STOP, WM_JOB_TIMER_START}},
    };
    for (const Case &c : cases) {
        ProbeLink link;
        ReadLists lists;
        CCommThread comm(link, lists);
        comm.Start();
        std::vector<uint32_t> expected;
        for (int line = 0; line < 3; ++line) {
            ASSERT_TRUE(PostOwned(comm.Thread(), WM_COMM_RX_LINE, std::make_unique<std::string>(c.line)));
            expected.insert(expected.end(), c.posted.begin(), c.posted.end());
        }
        EXPECT_EQ(link.owner.WaitFor(expected.size()), expected) << c.line;
        EXPECT_EQ(comm.PausedTime(), 0ms) << c.line << ": the worker never pauses for the timer";
        EXPECT_EQ(comm.GapTime(), 0ns) << c.line;
    }
}

} // namespace
