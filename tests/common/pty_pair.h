#pragma once
// The two ends of a pseudo-terminal as tests play them, with plain POSIX
// writes, polls and reads:
//   PtyPair    the test is the terminal on the master side; the code under
//              test opens the slave by its path.
//   PtyClient  the test is the tool on a slave opened by its path (the
//              simulated terminal's pty).

#include "platform/unique_fd.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <regex>
#include <string>
#include <string_view>
#include <termios.h>
#include <unistd.h>

class PtyEnd
{
public:
    bool IsOpen() const { return m_fd.Valid(); }
    int Fd() const { return m_fd.Get(); }

    // All of `bytes`, waiting while the other side is behind.
    bool Write(std::string_view bytes) const
    {
        while (!bytes.empty()) {
            const ssize_t n = ::write(m_fd.Get(), bytes.data(), bytes.size());
            if (n > 0) {
                bytes.remove_prefix(static_cast<size_t>(n));
                continue;
            }
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                return false;
            pollfd fd{m_fd.Get(), POLLOUT, 0};
            ::poll(&fd, 1, 1000);
        }
        return true;
    }
    // All of `bytes`, taking in what comes meanwhile so that neither side
    // waits for the other; the next read starts with it.
    bool WriteWhileReading(std::string_view bytes)
    {
        const int flags = ::fcntl(m_fd.Get(), F_GETFL);
        ::fcntl(m_fd.Get(), F_SETFL, flags | O_NONBLOCK);
        pollfd fd{m_fd.Get(), POLLIN | POLLOUT, 0};
        while (!bytes.empty() && ::poll(&fd, 1, kPatienceMs) > 0 &&
               (fd.revents & (POLLIN | POLLOUT))) {
            if (fd.revents & POLLIN) {
                char buffer[4096];
                const ssize_t n = ::read(fd.fd, buffer, sizeof buffer);
                m_taken.append(buffer, static_cast<size_t>(std::max<ssize_t>(n, 0)));
            }
            if (fd.revents & POLLOUT) {
                const ssize_t n = ::write(fd.fd, bytes.data(), std::min<size_t>(bytes.size(), 512));
                bytes.remove_prefix(static_cast<size_t>(std::max<ssize_t>(n, 0)));
            }
        }
        ::fcntl(m_fd.Get(), F_SETFL, flags);
        return bytes.empty();
    }

    // Reads, at most `limit` bytes, until `done` holds for what came or
    // nothing more comes for a while (a bound against hanging, not a time
    // that is measured).
    std::string ReadUntil(const std::function<bool(const std::string &)> &done,
                          size_t limit = SIZE_MAX)
    {
        std::string bytes = std::exchange(m_taken, {});
        pollfd fd{m_fd.Get(), POLLIN, 0};
        while (!done(bytes) && bytes.size() < limit && ::poll(&fd, 1, kPatienceMs) > 0) {
            char buffer[4096];
            const ssize_t n = ::read(fd.fd, buffer, std::min(sizeof buffer, limit - bytes.size()));
            if (n <= 0)
                break;
            bytes.append(buffer, static_cast<size_t>(n));
        }
        return bytes;
    }
    std::string Read(size_t count)
    {
        return ReadUntil([count](const std::string &bytes) { return bytes.size() >= count; },
                         count);
    }
    std::string ReadUntilEnd(std::string_view end)
    {
        return ReadUntil([end](const std::string &bytes) { return bytes.ends_with(end); });
    }
    std::string ReadUntilContains(std::string_view text)
    {
        return ReadUntil(
            [text](const std::string &bytes) { return bytes.find(text) != std::string::npos; });
    }
    // Up to and including a final result line.
    std::string ReadReply()
    {
        static const std::regex final(R"(\r\n(OK|ERROR|\+CME ERROR: \d+)\r\n$)");
        return ReadUntil([](const std::string &bytes) { return std::regex_search(bytes, final); });
    }
    std::string Exchange(std::string_view line)
    {
        return Write(line) ? ReadReply() : std::string();
    }
    // Nothing is waiting to be read.
    bool Quiet() const
    {
        pollfd fd{m_fd.Get(), POLLIN, 0};
        return ::poll(&fd, 1, 0) == 0;
    }

protected:
    static constexpr int kPatienceMs = 10000;
    platform::UniqueFd m_fd;
    std::string m_taken; // read while writing, not yet handed out
};

class PtyPair : public PtyEnd
{
public:
    PtyPair()
    {
        int master = -1, slave = -1;
        char name[128] = {};
        if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) {
            ADD_FAILURE() << "openpty failed";
            return;
        }
        m_fd.Reset(master);
        m_slave.Reset(slave);
        m_slavePath = name;
        MakeRaw(master);
    }

    const std::string &SlavePath() const { return m_slavePath; }
    // The test's own descriptor of the slave: keeps the pty alive while the
    // code under test closes and reopens it, and shows its line settings.
    int Slave() const { return m_slave.Get(); }
    // The terminal goes away: the slave is hung up.
    void CloseMaster() { m_fd.Reset(); }

    static void MakeRaw(int fd)
    {
        termios raw{};
        ::tcgetattr(fd, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(fd, TCSANOW, &raw);
    }

private:
    platform::UniqueFd m_slave;
    std::string m_slavePath;
};

class PtyClient : public PtyEnd
{
public:
    explicit PtyClient(const std::string &path)
    {
        m_fd.Reset(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
        if (IsOpen())
            PtyPair::MakeRaw(m_fd.Get());
    }
};

// Open descriptors of this process, to show that nothing leaks.
inline int OpenFdCount()
{
    int count = 0;
    if (DIR *dir = ::opendir("/proc/self/fd")) {
        while (::readdir(dir))
            ++count;
        ::closedir(dir);
    }
    return count;
}
