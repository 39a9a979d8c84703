#pragma once
// Message queues in the manner of posted window and thread messages: a
// message is a number and two word-sized arguments, delivered in the order
// posted to the handler registered for its number. A queue runs on the thread
// that calls Run(); MessageThread gives a queue a thread of its own.

#include "platform/sync.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <thread>
#include <unordered_map>

namespace platform {

struct Message
{
    uint32_t id = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

// Anything that takes posted messages: a window, a thread, a test probe.
class IMessageTarget
{
public:
    virtual ~IMessageTarget() = default;
    // Queues the message. false when the target takes no more messages; the
    // caller then still owns whatever wParam points to.
    virtual bool PostMessage(uint32_t id, uintptr_t wParam = 0, intptr_t lParam = 0) = 0;
};

// Hands a heap object to the receiver through wParam. On failure the object
// is freed here, so nothing leaks.
template <typename T>
bool PostOwned(IMessageTarget &target, uint32_t id, std::unique_ptr<T> object, intptr_t lParam = 0)
{
    const auto word = reinterpret_cast<uintptr_t>(object.get());
    if (!target.PostMessage(id, word, lParam))
        return false;
    static_cast<void>(object.release()); // the receiver owns it now
    return true;
}

// Takes back a heap object that came through wParam.
template <typename T> std::unique_ptr<T> TakeOwned(uintptr_t wParam)
{
    // The word is the pointer PostOwned sent.
    return std::unique_ptr<T>(reinterpret_cast<T *>(wParam)); // NOLINT(performance-no-int-to-ptr)
}

class MessageQueue : public IMessageTarget
{
public:
    using Handler = std::function<void(uintptr_t wParam, intptr_t lParam)>;

    MessageQueue() = default;
    ~MessageQueue() override;
    MessageQueue(const MessageQueue &) = delete;
    MessageQueue &operator=(const MessageQueue &) = delete;

    // The handler map. Set up before the loop runs, or from the loop's own thread.
    void On(uint32_t id, Handler handler);
    // Frees what a message of this number owns when it is never handled
    // (still queued when the queue goes away).
    void OnDispose(uint32_t id, Handler disposer);

    bool PostMessage(uint32_t id, uintptr_t wParam = 0, intptr_t lParam = 0) override;
    // Queues WM_QUIT behind the messages already posted. Sleeps on the loop
    // thread end early from now on.
    void PostQuit();
    bool QuitPosted() const;

    // Runs the loop on the calling thread until WM_QUIT is taken.
    void Run();
    // Runs the loop until `done` holds (checked after each message and timer),
    // WM_QUIT is taken, or the time-out passes. Returns done().
    bool RunUntil(const std::function<bool()> &done, Millis timeout);
    // Handles what is due now without waiting. Returns the number handled.
    int PumpPending();

    // Window timers: WM_TIMER with wParam = id every period until killed.
    // As with window timers, a due timer is delivered only when no posted
    // message is waiting. Setting a running timer restarts it.
    void SetTimer(uint32_t id, Millis period);
    void KillTimer(uint32_t id);
    bool TimerRunning(uint32_t id) const;

    // Sleeps on the loop thread without handling messages. Returns false
    // early when quit was posted, so a bounded shutdown is not held up, or
    // while a message of a number given to BreakSleepsOn waits.
    bool SleepFor(Millis duration);
    // The same up to a point in time, to the clock's own precision.
    bool SleepUntil(std::chrono::steady_clock::time_point until);
    // Messages of this number end sleeps until the loop takes them. Set up
    // before the loop runs.
    void BreakSleepsOn(uint32_t id) { m_sleepBreakers.insert(id); }

private:
    using Clock = std::chrono::steady_clock;
    enum class Next { Message, Timer, Quit, TimedOut };

    Next TakeNext(Message &out, Clock::time_point until);
    void dispatch(const Message &message);

    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<Message> m_queue;
    std::map<uint32_t, std::pair<Millis, Clock::time_point>> m_timers;
    bool m_quitPosted = false;
    std::set<uint32_t> m_sleepBreakers;
    bool m_sleepBroken = false;
    bool m_ended = false;
    std::unordered_map<uint32_t, Handler> m_handlers;
    std::unordered_map<uint32_t, Handler> m_disposers;
};

class MessageThread : public IMessageTarget
{
public:
    MessageThread() = default;
    // Posts WM_QUIT and joins.
    ~MessageThread() override;

    MessageQueue &Queue() { return m_queue; }

    // Starts the thread: onInit, the loop, then onExit, all on the new thread.
    void Start(std::function<void()> onInit = {}, std::function<void()> onExit = {});
    bool PostMessage(uint32_t id, uintptr_t wParam = 0, intptr_t lParam = 0) override;
    void PostQuit() { m_queue.PostQuit(); }
    // Waits at most `timeout` for the thread to end; true when it has ended.
    bool WaitForEnd(Millis timeout);
    // Posts WM_QUIT and waits at most `timeout`; the thread is joined when it
    // ended, otherwise at destruction.
    bool Stop(Millis timeout);
    bool Started() const { return m_thread.joinable(); }
    bool Ended() const { return m_ended.IsSet(); }
    std::thread::id Id() const { return m_thread.get_id(); }

private:
    MessageQueue m_queue;
    std::thread m_thread;
    Event m_ended{ResetMode::Manual, false};
};

} // namespace platform
