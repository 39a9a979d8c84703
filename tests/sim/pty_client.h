#pragma once
// The tool's side of the pty in tests: plain POSIX open, write, poll and read.

#include <functional>
#include <string>
#include <string_view>

namespace simtest {

class PtyClient
{
public:
    explicit PtyClient(const std::string &path);
    ~PtyClient();
    PtyClient(const PtyClient &) = delete;
    PtyClient &operator=(const PtyClient &) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    bool Send(std::string_view bytes);
    // Writes all of `bytes`, taking in what the terminal sends meanwhile, so
    // neither side waits for the other; the next read starts with it.
    bool SendWhileReading(std::string_view bytes);
    // Reads until `done` holds for everything read so far (or a safety
    // time-out of a few seconds passes) and returns it.
    std::string ReadUntil(const std::function<bool(const std::string &)> &done);
    std::string ReadUntilContains(std::string_view text);
    // Up to and including a final result line.
    std::string ReadReply();
    std::string Exchange(std::string_view line) { return Send(line) ? ReadReply() : std::string(); }
    // Nothing is waiting to be read.
    bool Quiet() const;

private:
    int m_fd = -1;
    std::string m_taken; // read by SendWhileReading, not yet handed out
};

bool EndsWithFinal(const std::string &bytes);

} // namespace simtest
