#pragma once
// What the terminal has still to send, in order, each piece not before its
// time (a reply latency, the pause between chunks). Writes never block: the
// serving loop waits for the descriptor to take more.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <random>
#include <string>

namespace sim {

class OutputSchedule
{
public:
    using Clock = std::chrono::steady_clock;

    struct FlushResult
    {
        bool blocked = false;                 // the descriptor is full: wait until writable
        std::optional<Clock::time_point> due; // the next piece waits until then
        bool failed = false;                  // the descriptor refused the bytes
    };

    // Random pieces of 1..maxChunk bytes with `pause` between them.
    void SetChunking(bool on, std::size_t maxChunk, std::chrono::milliseconds pause);
    void Seed(uint32_t seed) { m_random.seed(seed); }

    void Push(std::string bytes, Clock::time_point notBefore);
    void Clear()
    {
        m_items.clear();
        m_pendingBytes = 0;
    }
    bool Empty() const { return m_items.empty(); }
    std::size_t PendingBytes() const { return m_pendingBytes; }

    // Writes what is due at `now` to the non-blocking descriptor `fd`.
    FlushResult Flush(int fd, Clock::time_point now);

private:
    struct Item
    {
        std::string bytes;
        std::size_t sent = 0;
        Clock::time_point notBefore;
    };

    std::deque<Item> m_items;
    std::size_t m_pendingBytes = 0;
    bool m_chunked = false;
    std::size_t m_maxChunk = 16;
    std::chrono::milliseconds m_pause{1};
    std::mt19937 m_random{1};
};

} // namespace sim
