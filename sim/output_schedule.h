#pragma once
// What the terminal has still to send, in order, each piece not before its
// time (a reply latency, the pause between chunks, the wire's pace). Writes
// never block: the serving loop waits for the descriptor to take more.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <random>
#include <string>
#include <vector>

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
        // For every final reply line whose CR went out: the time just before
        // the write that carried it, so the reader cannot have had it sooner.
        std::vector<Clock::time_point> finalRepliesSent;
    };

    // Random pieces of 1..maxChunk bytes with `pause` between them.
    void SetChunking(bool on, std::size_t maxChunk, std::chrono::milliseconds pause);
    void Seed(uint32_t seed) { m_random.seed(seed); }
    // Sends no faster than a line at `baud` carries (ten bits a byte: start,
    // eight data bits, stop); 0 hands every byte over at once.
    void SetWireBaud(uint32_t baud);

    // `finalLineEnd`: the offset just past the CR that ends the final reply
    // line in `bytes`, when they carry one.
    void Push(std::string bytes, Clock::time_point notBefore,
              std::optional<std::size_t> finalLineEnd = std::nullopt);
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
        std::optional<std::size_t> finalLineEnd;
    };

    // How many of the front item's next `wanted` bytes are handed over at
    // `now`; sets `due` to when the next ones are when that is none.
    std::size_t Carried(const Item &item, std::size_t wanted, Clock::time_point start,
                        Clock::time_point now, FlushResult &result) const;

    std::deque<Item> m_items;
    std::size_t m_pendingBytes = 0;
    bool m_chunked = false;
    std::size_t m_maxChunk = 16;
    std::chrono::milliseconds m_pause{1};
    std::mt19937 m_random{1};
    std::chrono::nanoseconds m_byteTime{0};
    Clock::time_point m_wireFreeAt{}; // when the last byte handed over has crossed the wire
};

} // namespace sim
