#include "platform/message_queue.h"

#include "platform/messages.h"

namespace platform {

MessageQueue::~MessageQueue()
{
    for (const Message &message : m_queue) {
        auto it = m_disposers.find(message.id);
        if (it != m_disposers.end())
            it->second(message.wParam, message.lParam);
    }
}

void MessageQueue::On(uint32_t id, Handler handler)
{
    m_handlers[id] = std::move(handler);
}

void MessageQueue::OnDispose(uint32_t id, Handler disposer)
{
    m_disposers[id] = std::move(disposer);
}

bool MessageQueue::PostMessage(uint32_t id, uintptr_t wParam, intptr_t lParam)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_ended)
            return false;
        m_queue.push_back({id, wParam, lParam});
        if (id == WM_QUIT)
            m_quitPosted = true;
        if (m_sleepBreakers.contains(id))
            m_sleepBroken = true;
    }
    m_cv.notify_all();
    return true;
}

void MessageQueue::PostQuit()
{
    PostMessage(WM_QUIT);
}

bool MessageQueue::QuitPosted() const
{
    std::lock_guard lock(m_mutex);
    return m_quitPosted;
}

MessageQueue::Next MessageQueue::TakeNext(Message &out, Clock::time_point until)
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (!m_queue.empty()) {
            out = m_queue.front();
            m_queue.pop_front();
            if (m_sleepBreakers.contains(out.id))
                m_sleepBroken = false;
            if (out.id == WM_QUIT) {
                m_ended = true;
                return Next::Quit;
            }
            return Next::Message;
        }
        const auto now = Clock::now();
        auto wake = until;
        for (auto &[id, timer] : m_timers) {
            auto &[period, due] = timer;
            if (due <= now) {
                due = now + period;
                out = {WM_TIMER, id, 0};
                return Next::Timer;
            }
            wake = std::min(wake, due);
        }
        if (now >= until)
            return Next::TimedOut;
        if (wake == Clock::time_point::max())
            m_cv.wait(lock);
        else
            m_cv.wait_until(lock, wake);
    }
}

void MessageQueue::dispatch(const Message &message)
{
    if (auto it = m_handlers.find(message.id); it != m_handlers.end()) {
        it->second(message.wParam, message.lParam);
        return;
    }
    // Nobody handles it: free what it carries.
    if (auto it = m_disposers.find(message.id); it != m_disposers.end())
        it->second(message.wParam, message.lParam);
}

void MessageQueue::Run()
{
    Message message;
    while (TakeNext(message, Clock::time_point::max()) != Next::Quit)
        dispatch(message);
}

bool MessageQueue::RunUntil(const std::function<bool()> &done, Millis timeout)
{
    const auto until = Clock::now() + timeout;
    Message message;
    while (!done()) {
        switch (TakeNext(message, until)) {
        case Next::Message:
        case Next::Timer:
            dispatch(message);
            // A queue that never runs dry (a handler that posts again, a
            // timer that is always due) still ends on time.
            if (Clock::now() >= until)
                return done();
            break;
        case Next::Quit:
        case Next::TimedOut:
            return done();
        }
    }
    return true;
}

int MessageQueue::PumpPending()
{
    int handled = 0;
    Message message;
    for (;;) {
        const Next next = TakeNext(message, Clock::now());
        if (next != Next::Message && next != Next::Timer)
            return handled;
        dispatch(message);
        ++handled;
    }
}

void MessageQueue::SetTimer(uint32_t id, Millis period)
{
    {
        std::lock_guard lock(m_mutex);
        m_timers[id] = {period, Clock::now() + period};
    }
    m_cv.notify_all();
}

void MessageQueue::KillTimer(uint32_t id)
{
    std::lock_guard lock(m_mutex);
    m_timers.erase(id);
}

bool MessageQueue::TimerRunning(uint32_t id) const
{
    std::lock_guard lock(m_mutex);
    return m_timers.contains(id);
}

bool MessageQueue::SleepFor(Millis duration)
{
    std::unique_lock lock(m_mutex);
    return !m_cv.wait_for(lock, duration, [this] { return m_quitPosted || m_sleepBroken; });
}

bool MessageQueue::SleepUntil(Clock::time_point until)
{
    std::unique_lock lock(m_mutex);
    return !m_cv.wait_until(lock, until, [this] { return m_quitPosted || m_sleepBroken; });
}

MessageThread::~MessageThread()
{
    if (m_thread.joinable()) {
        m_queue.PostQuit();
        m_thread.join();
    }
}

void MessageThread::Start(std::function<void()> onInit, std::function<void()> onExit)
{
    m_thread = std::thread([this, onInit = std::move(onInit), onExit = std::move(onExit)] {
        if (onInit)
            onInit();
        m_queue.Run();
        if (onExit)
            onExit();
        m_ended.Set();
    });
}

bool MessageThread::PostMessage(uint32_t id, uintptr_t wParam, intptr_t lParam)
{
    return m_queue.PostMessage(id, wParam, lParam);
}

bool MessageThread::WaitForEnd(Millis timeout)
{
    if (!m_thread.joinable())
        return true;
    if (!m_ended.WaitFor(timeout))
        return false;
    m_thread.join();
    return true;
}

bool MessageThread::Stop(Millis timeout)
{
    m_queue.PostQuit();
    return WaitForEnd(timeout);
}

} // namespace platform
