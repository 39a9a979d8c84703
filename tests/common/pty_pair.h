#pragma once
// A pseudo-terminal pair for tests: the code under test opens the slave by
// its path, the test plays the terminal on the master side (raw).

#include "platform/unique_fd.h"

#include <algorithm>
#include <chrono>
#include <dirent.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <string>
#include <string_view>
#include <termios.h>
#include <unistd.h>

class PtyPair
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
        m_master.Reset(master);
        m_slave.Reset(slave);
        m_slavePath = name;
        termios raw{};
        ::tcgetattr(master, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(master, TCSANOW, &raw);
    }

    const std::string &SlavePath() const { return m_slavePath; }
    int Master() const { return m_master.Get(); }
    // The test's own descriptor of the slave: keeps the pty alive while the
    // code under test closes and reopens it, and shows its line settings.
    int Slave() const { return m_slave.Get(); }

    // The terminal goes away: the slave is hung up.
    void CloseMaster() { m_master.Reset(); }

    void Write(std::string_view bytes) const
    {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(m_master.Get(), bytes.data() + done, bytes.size() - done);
            if (n > 0) {
                done += static_cast<size_t>(n);
            } else {
                pollfd fd{m_master.Get(), POLLOUT, 0};
                ::poll(&fd, 1, 1000);
            }
        }
    }

    // Reads until `count` bytes have come or nothing more comes within the
    // time-out (a generous bound against hanging, not a measured time).
    std::string Read(size_t count,
                     std::chrono::milliseconds timeout = std::chrono::seconds(10)) const
    {
        std::string bytes;
        while (bytes.size() < count) {
            pollfd fd{m_master.Get(), POLLIN, 0};
            if (::poll(&fd, 1, static_cast<int>(timeout.count())) <= 0)
                break;
            char buffer[4096];
            const ssize_t n =
                ::read(m_master.Get(), buffer, std::min(sizeof buffer, count - bytes.size()));
            if (n <= 0)
                break;
            bytes.append(buffer, static_cast<size_t>(n));
        }
        return bytes;
    }

    // Reads until what came ends with `end` (or nothing more comes).
    std::string ReadUntil(std::string_view end) const
    {
        std::string bytes;
        while (!std::string_view(bytes).ends_with(end)) {
            const std::string more = Read(1);
            if (more.empty())
                break;
            bytes += more;
        }
        return bytes;
    }

private:
    platform::UniqueFd m_master, m_slave;
    std::string m_slavePath;
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
