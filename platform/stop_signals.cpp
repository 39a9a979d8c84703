#include "platform/stop_signals.h"

#include "platform/retry_interrupted.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>

namespace platform {

StopSignals::StopSignals()
{
    sigset_t stop;
    sigemptyset(&stop);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&stop, signal);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);
    m_fd.Reset(::signalfd(-1, &stop, SFD_CLOEXEC | SFD_NONBLOCK));
    m_quit.Reset(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
}

StopSignals::~StopSignals()
{
    if (m_watch.joinable()) {
        const uint64_t one = 1;
        RetryInterrupted([&] { return ::write(m_quit.Get(), &one, sizeof one); });
        m_watch.join();
    }
}

int StopSignals::Take()
{
    signalfd_siginfo info{};
    const ssize_t n = RetryInterrupted([&] { return ::read(m_fd.Get(), &info, sizeof info); });
    return n == sizeof info ? static_cast<int>(info.ssi_signo) : 0;
}

void StopSignals::Watch(std::function<void(int signal)> handler)
{
    m_watch = std::thread([this, handler = std::move(handler)] {
        for (;;) {
            std::array<pollfd, 2> fds{pollfd{m_fd.Get(), POLLIN, 0},
                                      pollfd{m_quit.Get(), POLLIN, 0}};
            if (RetryInterrupted([&] { return ::poll(fds.data(), fds.size(), -1); }) == -1 ||
                fds[1].revents != 0)
                return;
            if (const int signal = Take(); signal != 0)
                handler(signal);
        }
    });
}

} // namespace platform
