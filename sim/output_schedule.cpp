#include "sim/output_schedule.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace sim {

namespace {
constexpr int64_t kBitsPerByte = 10;
// A serial adapter hands the bytes of a line over in small bursts (the
// receive FIFO's trigger level), and the last ones as soon as the line
// falls quiet, instead of waking the reader for every byte. Chunked output
// makes its own pieces.
constexpr int64_t kWireBurst = 16;
} // namespace

void OutputSchedule::SetChunking(bool on, std::size_t maxChunk, std::chrono::milliseconds pause)
{
    m_chunked = on;
    m_maxChunk = std::max<std::size_t>(maxChunk, 1);
    m_pause = pause;
}

void OutputSchedule::SetWireBaud(uint32_t baud)
{
    using std::chrono::nanoseconds;
    m_byteTime =
        baud == 0 ? nanoseconds(0) : nanoseconds((kBitsPerByte * 1'000'000'000 + baud / 2) / baud);
}

void OutputSchedule::Push(std::string bytes, Clock::time_point notBefore,
                          std::optional<std::size_t> finalLineEnd)
{
    m_pendingBytes += bytes.size();
    if (!bytes.empty())
        m_items.push_back({std::move(bytes), 0, notBefore, finalLineEnd});
}

std::size_t OutputSchedule::Carried(const Item &item, std::size_t wanted, Clock::time_point start,
                                    Clock::time_point now, FlushResult &result) const
{
    const auto left = static_cast<int64_t>(item.bytes.size() - item.sent);
    const auto crossed = std::min<int64_t>(now >= start ? (now - start) / m_byteTime : 0, left);
    const int64_t burst = std::min(m_chunked ? 1 : kWireBurst, left);
    if (crossed < burst) {
        result.due = start + m_byteTime * burst;
        return 0;
    }
    return std::min(wanted, static_cast<std::size_t>(crossed));
}

OutputSchedule::FlushResult OutputSchedule::Flush(int fd, Clock::time_point now)
{
    FlushResult result;
    while (!m_items.empty()) {
        Item &item = m_items.front();
        if (item.notBefore > now) {
            result.due = item.notBefore;
            return result;
        }
        std::size_t length = item.bytes.size() - item.sent;
        if (m_chunked)
            length = std::min(length,
                              std::uniform_int_distribution<std::size_t>(1, m_maxChunk)(m_random));
        // A byte is handed over once it has crossed the wire; the wire starts
        // on a piece when the piece is due and the byte before it is through.
        const Clock::time_point wireStart = std::max(m_wireFreeAt, item.notBefore);
        if (m_byteTime.count() > 0) {
            length = Carried(item, length, wireStart, now, result);
            if (length == 0)
                return result;
        }
        const auto writeTime = Clock::now();
        const ssize_t written = ::write(fd, item.bytes.data() + item.sent, length);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            result.blocked = errno == EAGAIN || errno == EWOULDBLOCK;
            result.failed = !result.blocked;
            return result;
        }
        const auto count = static_cast<std::size_t>(written);
        if (item.finalLineEnd && item.sent < *item.finalLineEnd &&
            item.sent + count >= *item.finalLineEnd)
            result.finalRepliesSent.push_back(writeTime);
        if (m_byteTime.count() > 0)
            m_wireFreeAt = wireStart + m_byteTime * static_cast<int64_t>(count);
        item.sent += count;
        m_pendingBytes -= count;
        if (item.sent == item.bytes.size())
            m_items.pop_front();
        if (m_chunked && !m_items.empty()) {
            Item &next = m_items.front();
            next.notBefore = std::max(next.notBefore, now + m_pause);
        }
    }
    return result;
}

} // namespace sim
