#include "platform/message_queue.h"
#include "platform/messages.h"

#include <functional>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

using namespace platform;
using namespace std::chrono_literals;

TEST(MessageQueue, DeliversInOrderWithBothArguments)
{
    MessageQueue queue;
    std::vector<std::tuple<uint32_t, uintptr_t, intptr_t>> seen;
    for (uint32_t id : {1u, 2u})
        queue.On(id, [&, id](uintptr_t w, intptr_t l) { seen.emplace_back(id, w, l); });
    queue.PostMessage(1, 10, -1);
    queue.PostMessage(2, 20, 2);
    queue.PostMessage(1, 30, 3);
    queue.PostQuit();
    queue.Run();
    EXPECT_EQ(seen, (decltype(seen){{1, 10, -1}, {2, 20, 2}, {1, 30, 3}}));
    EXPECT_FALSE(queue.PostMessage(1)) << "a queue that ended takes no more";
}

TEST(MessageQueue, UnhandledOwnedMessagesAreFreed)
{
    // Heap blocks in wParam are freed when nobody handles them, whether the
    // message is dispatched without a handler or left in the queue.
    int freed = 0;
    {
        MessageQueue queue;
        queue.OnDispose(7, [&](uintptr_t w, intptr_t) {
            TakeOwned<int>(w);
            ++freed;
        });
        PostOwned(queue, 7, std::make_unique<int>(1));
        queue.PumpPending();
        PostOwned(queue, 7, std::make_unique<int>(2));
    }
    EXPECT_EQ(freed, 2);
}

TEST(MessageQueue, TimersWaitForPostedMessagesAndRepeatUntilKilled)
{
    MessageQueue queue;
    std::vector<uint32_t> order;
    queue.On(WM_TIMER, [&](uintptr_t id, intptr_t) {
        order.push_back(static_cast<uint32_t>(id));
        if (order.size() == 4)
            queue.KillTimer(static_cast<uint32_t>(id));
    });
    queue.On(99, [&](uintptr_t, intptr_t) { order.push_back(99); });
    queue.SetTimer(13, 1ms);
    EXPECT_TRUE(queue.TimerRunning(13));
    queue.PostMessage(99);
    EXPECT_TRUE(queue.RunUntil([&] { return !queue.TimerRunning(13); }, 5s));
    EXPECT_EQ(order, (std::vector<uint32_t>{99, 13, 13, 13}));
}

TEST(MessageQueue, RunUntilReturnsFalseWhenItEndsBeforeItsCondition)
{
    constexpr uint32_t kAgain = 42;
    const std::pair<const char *, std::function<void(MessageQueue &)>> cases[] = {
        {"nothing comes", [](MessageQueue &) {}},
        {"a timer keeps firing", [](MessageQueue &queue) { queue.SetTimer(1, 1ms); }},
        {"a timer is always due", [](MessageQueue &queue) { queue.SetTimer(1, 0ms); }},
        {"a handler posts again at once",
         [](MessageQueue &queue) {
             queue.On(kAgain, [&queue](uintptr_t, intptr_t) { queue.PostMessage(kAgain); });
             queue.PostMessage(kAgain);
         }},
        {"quit is taken", [](MessageQueue &queue) { queue.PostQuit(); }},
    };
    for (const auto &[name, setUp] : cases) {
        MessageQueue queue;
        queue.On(WM_TIMER, [](uintptr_t, intptr_t) {});
        setUp(queue);
        EXPECT_FALSE(queue.RunUntil([] { return false; }, 20ms)) << name;
    }
}

TEST(MessageQueue, SleepEndsEarlyWhenQuitOrABreakingMessageIsPosted)
{
    MessageQueue queue;
    queue.BreakSleepsOn(7);
    queue.PostMessage(6);
    EXPECT_TRUE(queue.SleepFor(1ms)) << "another message lets the sleep run its time";
    queue.PostMessage(7);
    EXPECT_FALSE(queue.SleepFor(1h));
    EXPECT_FALSE(queue.SleepUntil(std::chrono::steady_clock::now() + 1h)) << "until it is taken";
    EXPECT_EQ(queue.PumpPending(), 2);
    EXPECT_TRUE(queue.SleepFor(1ms));
    queue.PostQuit();
    EXPECT_FALSE(queue.SleepFor(1h));
}

TEST(MessageThread, RunsInitLoopAndExitOnItsOwnThread)
{
    MessageThread thread;
    std::thread::id initOn, handledOn, exitOn;
    Event handled(ResetMode::Manual, false);
    thread.Queue().On(5, [&](uintptr_t, intptr_t) {
        handledOn = std::this_thread::get_id();
        handled.Set();
    });
    thread.Start([&] { initOn = std::this_thread::get_id(); },
                 [&] { exitOn = std::this_thread::get_id(); });
    thread.PostMessage(5);
    handled.Wait();
    const auto id = thread.Id();
    EXPECT_TRUE(thread.Stop(10s));
    EXPECT_EQ(initOn, id);
    EXPECT_EQ(handledOn, id);
    EXPECT_EQ(exitOn, id);
}

TEST(MessageThread, StopGivesUpAfterItsTimeButTheThreadStillEnds)
{
    MessageThread thread;
    Event busy(ResetMode::Manual, false), release(ResetMode::Manual, false);
    thread.Queue().On(1, [&](uintptr_t, intptr_t) {
        busy.Set();
        release.Wait();
    });
    thread.Start();
    thread.PostMessage(1);
    busy.Wait();
    EXPECT_FALSE(thread.Stop(10ms));
    release.Set();
    EXPECT_TRUE(thread.WaitForEnd(10s));
}
