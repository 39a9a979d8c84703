#include "sim/output_schedule.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace sim {

void OutputSchedule::SetChunking(bool on, std::size_t maxChunk, std::chrono::milliseconds pause)
{
    m_chunked = on;
    m_maxChunk = std::max<std::size_t>(maxChunk, 1);
    m_pause = pause;
}

void OutputSchedule::Push(std::string bytes, Clock::time_point notBefore)
{
    m_pendingBytes += bytes.size();
    if (!bytes.empty())
        m_items.push_back({std::move(bytes), 0, notBefore});
}

OutputSchedule::FlushResult OutputSchedule::Flush(int fd, Clock::time_point now)
{
    while (!m_items.empty()) {
        Item &item = m_items.front();
        if (item.notBefore > now)
            return {false, item.notBefore, false};
        std::size_t length = item.bytes.size() - item.sent;
        if (m_chunked)
            length = std::min(length,
                              std::uniform_int_distribution<std::size_t>(1, m_maxChunk)(m_random));
        const ssize_t written = ::write(fd, item.bytes.data() + item.sent, length);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK)
                return {true, std::nullopt, false};
            return {false, std::nullopt, true};
        }
        item.sent += static_cast<std::size_t>(written);
        m_pendingBytes -= static_cast<std::size_t>(written);
        if (item.sent == item.bytes.size())
            m_items.pop_front();
        if (m_chunked && !m_items.empty()) {
            Item &next = m_items.front();
            next.notBefore = std::max(next.notBefore, now + m_pause);
        }
    }
    return {};
}

} // namespace sim
