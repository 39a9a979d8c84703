#include "platform/hidden_input.h"

#include <cerrno>
#include <csignal>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

constexpr size_t kMaxLine = 1024;

volatile sig_atomic_t g_caught = 0;

void Catch(int signal)
{
    g_caught = signal;
}

// The signals that end the program, caught while the echo is off and given
// back their handlers afterwards. Caught without SA_RESTART, so that the read
// returns and the echo is turned back on before the signal takes its course.
class CaughtEndingSignals
{
public:
    CaughtEndingSignals()
    {
        struct sigaction catching = {};
        catching.sa_handler = Catch;
        sigemptyset(&catching.sa_mask);
        g_caught = 0;
        for (auto &[signal, previous] : m_saved)
            ::sigaction(signal, &catching, &previous);
    }
    ~CaughtEndingSignals()
    {
        for (const auto &[signal, previous] : m_saved)
            ::sigaction(signal, &previous, nullptr);
    }
    CaughtEndingSignals(const CaughtEndingSignals &) = delete;
    CaughtEndingSignals &operator=(const CaughtEndingSignals &) = delete;

private:
    std::pair<int, struct sigaction> m_saved[4] = {
        {SIGINT, {}}, {SIGTERM, {}}, {SIGHUP, {}}, {SIGQUIT, {}}};
};

} // namespace

bool StdinIsTerminal()
{
    return ::isatty(STDIN_FILENO) == 1;
}

std::string ReadHiddenLine(const std::string &prompt)
{
    termios saved{};
    if (::tcgetattr(STDIN_FILENO, &saved) != 0)
        return {};
    std::string line;
    {
        const CaughtEndingSignals caught;
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        quiet.c_lflag |= ECHONL;
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
        [[maybe_unused]] const ssize_t shown = ::write(STDERR_FILENO, prompt.data(), prompt.size());
        for (char c = 0; g_caught == 0;) {
            const ssize_t got = ::read(STDIN_FILENO, &c, 1);
            if (got < 0 && errno == EINTR)
                continue;
            if (got != 1 || c == '\n')
                break;
            if (line.size() < kMaxLine)
                line += c;
        }
        ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    }
    if (g_caught != 0) {
        ::raise(g_caught);
        return {};
    }
    return line;
}

} // namespace platform
