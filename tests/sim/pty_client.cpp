#include "pty_client.h"

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <regex>
#include <termios.h>
#include <unistd.h>

namespace simtest {

namespace {
constexpr auto kSafetyTimeout = std::chrono::seconds(5);
}

PtyClient::PtyClient(const std::string &path)
{
    m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios settings{};
    if (m_fd >= 0 && ::tcgetattr(m_fd, &settings) == 0) {
        ::cfmakeraw(&settings);
        ::tcsetattr(m_fd, TCSANOW, &settings);
    }
}

PtyClient::~PtyClient()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool PtyClient::Send(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(m_fd, bytes.data(), bytes.size());
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool PtyClient::SendWhileReading(std::string_view bytes)
{
    const int flags = ::fcntl(m_fd, F_GETFL);
    ::fcntl(m_fd, F_SETFL, flags | O_NONBLOCK);
    const auto deadline = std::chrono::steady_clock::now() + kSafetyTimeout;
    while (!bytes.empty() && std::chrono::steady_clock::now() < deadline) {
        pollfd fd{m_fd, POLLIN | POLLOUT, 0};
        if (::poll(&fd, 1, 100) < 0)
            break;
        if (fd.revents & POLLIN) {
            char buffer[4096];
            const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
            if (got > 0)
                m_taken.append(buffer, static_cast<std::size_t>(got));
        }
        if (fd.revents & POLLOUT) {
            const ssize_t written =
                ::write(m_fd, bytes.data(), std::min<std::size_t>(bytes.size(), 512));
            if (written > 0)
                bytes.remove_prefix(static_cast<std::size_t>(written));
        }
    }
    ::fcntl(m_fd, F_SETFL, flags);
    return bytes.empty();
}

std::string PtyClient::ReadUntil(const std::function<bool(const std::string &)> &done)
{
    std::string bytes = std::move(m_taken);
    m_taken.clear();
    const auto deadline = std::chrono::steady_clock::now() + kSafetyTimeout;
    while (!done(bytes)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd fd{m_fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&fd, 1, static_cast<int>(left.count())) <= 0)
            break;
        char buffer[2048];
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

std::string PtyClient::ReadUntilContains(std::string_view text)
{
    return ReadUntil(
        [text](const std::string &bytes) { return bytes.find(text) != std::string::npos; });
}

std::string PtyClient::ReadReply()
{
    return ReadUntil(EndsWithFinal);
}

bool PtyClient::Quiet() const
{
    pollfd fd{m_fd, POLLIN, 0};
    return ::poll(&fd, 1, 0) == 0;
}

bool EndsWithFinal(const std::string &bytes)
{
    static const std::regex final(R"(\r\n(OK|ERROR|\+CME ERROR: \d+)\r\n$)");
    return std::regex_search(bytes, final);
}

} // namespace simtest
