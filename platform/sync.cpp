#include "platform/sync.h"

namespace platform {

Event::Event(ResetMode mode, bool initiallySet) : m_mode(mode), m_set(initiallySet) {}

void Event::Set()
{
    {
        std::lock_guard lock(m_mutex);
        m_set = true;
    }
    if (m_mode == ResetMode::Manual)
        m_cv.notify_all();
    else
        m_cv.notify_one();
}

void Event::Reset()
{
    std::lock_guard lock(m_mutex);
    m_set = false;
}

bool Event::IsSet() const
{
    std::lock_guard lock(m_mutex);
    return m_set;
}

void Event::TakeLocked()
{
    if (m_mode == ResetMode::Auto)
        m_set = false;
}

void Event::Wait()
{
    std::unique_lock lock(m_mutex);
    m_cv.wait(lock, [this] { return m_set; });
    TakeLocked();
}

bool Event::WaitFor(Millis timeout)
{
    std::unique_lock lock(m_mutex);
    if (!m_cv.wait_for(lock, timeout, [this] { return m_set; }))
        return false;
    TakeLocked();
    return true;
}

Semaphore::Semaphore(int initial, int maximum) : m_count(initial), m_maximum(maximum) {}

bool Semaphore::Release()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_count >= m_maximum)
            return false;
        ++m_count;
    }
    m_cv.notify_one();
    return true;
}

uint64_t Semaphore::Epoch() const
{
    std::lock_guard lock(m_mutex);
    return m_epoch;
}

bool Semaphore::Acquire(uint64_t epoch)
{
    std::unique_lock lock(m_mutex);
    m_cv.wait(lock, [&] { return m_count > 0 || m_epoch != epoch; });
    if (m_epoch != epoch)
        return false;
    --m_count;
    return true;
}

bool Semaphore::AcquireFor(uint64_t epoch, Millis timeout)
{
    std::unique_lock lock(m_mutex);
    if (!m_cv.wait_for(lock, timeout, [&] { return m_count > 0 || m_epoch != epoch; }))
        return false;
    if (m_epoch != epoch)
        return false;
    --m_count;
    return true;
}

void Semaphore::Cancel()
{
    {
        std::lock_guard lock(m_mutex);
        ++m_epoch;
    }
    m_cv.notify_all();
}

int Semaphore::Count() const
{
    std::lock_guard lock(m_mutex);
    return m_count;
}

void Gate::Close()
{
    m_open.Wait();
}
void Gate::Open()
{
    m_open.Set();
}
bool Gate::IsOpen() const
{
    return m_open.IsSet();
}

} // namespace platform
