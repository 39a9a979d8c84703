#include "platform/sync.h"

#include <gtest/gtest.h>
#include <thread>

using namespace platform;
using namespace std::chrono_literals;

TEST(Event, ManualResetStaysSetForEveryWaiter)
{
    Event event(ResetMode::Manual, false);
    EXPECT_FALSE(event.WaitFor(0ms));
    event.Set();
    EXPECT_TRUE(event.WaitFor(0ms));
    EXPECT_TRUE(event.WaitFor(0ms));
    event.Reset();
    EXPECT_FALSE(event.IsSet());
}

TEST(Event, AutoResetReleasesOneWaiter)
{
    Event event(ResetMode::Auto, true);
    EXPECT_TRUE(event.IsSet()); // looking does not consume
    EXPECT_TRUE(event.WaitFor(0ms));
    EXPECT_FALSE(event.WaitFor(0ms));
}

TEST(Event, SetFromAnotherThreadWakesTheWaiter)
{
    Event event(ResetMode::Manual, false);
    std::thread setter([&] { event.Set(); });
    event.Wait();
    setter.join();
    EXPECT_TRUE(event.IsSet());
}

TEST(Semaphore, ReleaseBeyondTheMaximumFails)
{
    Semaphore semaphore(0, 1);
    EXPECT_TRUE(semaphore.Release());
    EXPECT_FALSE(semaphore.Release());
    EXPECT_EQ(semaphore.Count(), 1);
    EXPECT_TRUE(semaphore.AcquireFor(semaphore.Epoch(), 0ms));
    EXPECT_FALSE(semaphore.AcquireFor(semaphore.Epoch(), 0ms));
}

TEST(Semaphore, CancelEndsAWaitThatStartedBefore)
{
    Semaphore semaphore(0, 1);
    const uint64_t epoch = semaphore.Epoch();
    bool acquired = true;
    std::thread waiter([&] { acquired = semaphore.Acquire(epoch); });
    semaphore.Cancel();
    waiter.join();
    EXPECT_FALSE(acquired);
    // A wait that starts after the cancellation works normally.
    semaphore.Release();
    EXPECT_TRUE(semaphore.Acquire(semaphore.Epoch()));
    // ...but one holding the old epoch never gets through again.
    semaphore.Release();
    EXPECT_FALSE(semaphore.Acquire(epoch));
}

TEST(Gate, AnyThreadMayOpenWhatAnotherClosed)
{
    Gate gate;
    gate.Close();
    EXPECT_FALSE(gate.IsOpen());
    std::thread opener([&] { gate.Open(); });
    gate.Close(); // waits for the other thread
    opener.join();
    EXPECT_FALSE(gate.IsOpen());
}
