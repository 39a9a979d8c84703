#pragma once
// Synchronisation objects with the semantics the link and the engine rely on:
// events that stay set until reset (or release one waiter), a counting
// semaphore with a maximum, and a gate that any thread may open.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace platform {

using Millis = std::chrono::milliseconds;

enum class ResetMode { Manual, Auto };

class Event
{
public:
    Event(ResetMode mode, bool initiallySet);
    Event(const Event &) = delete;
    Event &operator=(const Event &) = delete;

    void Set();
    void Reset();
    // Looks at the state without waiting and without consuming it.
    bool IsSet() const;
    // Waits until set; an auto-reset event is consumed by the waiter it releases.
    void Wait();
    // false on time-out.
    bool WaitFor(Millis timeout);

private:
    // The event once a waiter has seen it set: an auto-reset one is reset.
    void TakeLocked();

    const ResetMode m_mode;
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_set;
};

// Counting semaphore with a maximum count. Waiters can be abandoned: Cancel()
// ends every wait that started before it, so a thread blocked on a semaphore
// of a port that has been closed gets out instead of hanging.
class Semaphore
{
public:
    Semaphore(int initial, int maximum);
    Semaphore(const Semaphore &) = delete;
    Semaphore &operator=(const Semaphore &) = delete;

    // false when the count is already at its maximum (the release then has no effect).
    bool Release();
    // The cancellation epoch to pass to Acquire.
    uint64_t Epoch() const;
    // Takes one unit. false when Cancel() was called since `epoch` was read.
    bool Acquire(uint64_t epoch);
    // Takes one unit within the time-out. false on time-out or cancellation.
    bool AcquireFor(uint64_t epoch, Millis timeout);
    void Cancel();
    int Count() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    int m_count;
    const int m_maximum;
    uint64_t m_epoch = 0;
};

// One holder at a time; opened by whichever thread finishes the work, not
// necessarily the one that closed it.
class Gate
{
public:
    Gate() = default;
    void Close(); // waits until open, then closes
    void Open();
    bool IsOpen() const;

private:
    Event m_open{ResetMode::Auto, true};
};

} // namespace platform
