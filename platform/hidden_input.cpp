#include "platform/hidden_input.h"

#include <cerrno>
#include <csignal>
#include <iterator>
#include <termios.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr size_t kMaxLine = 1024;
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

volatile sig_atomic_t g_caught = 0;

void Catch(int signal)
{
    g_caught = signal;
}

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
    // Caught without SA_RESTART, so that the read returns and the echo is
    // turned back on before the signal takes its course.
    struct sigaction catching = {};
    catching.sa_handler = Catch;
    sigemptyset(&catching.sa_mask);
    struct sigaction previous[std::size(kEndingSignals)]{};
    g_caught = 0;
    for (size_t i = 0; i < std::size(kEndingSignals); ++i)
        ::sigaction(kEndingSignals[i], &catching, &previous[i]);

    termios quiet = saved;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    quiet.c_lflag |= ECHONL;
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    [[maybe_unused]] const ssize_t shown = ::write(STDERR_FILENO, prompt.data(), prompt.size());
    std::string line;
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

    for (size_t i = 0; i < std::size(kEndingSignals); ++i)
        ::sigaction(kEndingSignals[i], &previous[i], nullptr);
    if (g_caught != 0) {
        ::raise(g_caught);
        return {};
    }
    return line;
}

} // namespace platform
