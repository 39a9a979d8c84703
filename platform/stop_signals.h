#pragma once
// Ctrl+C (SIGINT), SIGTERM and SIGHUP as requests that a program answers in
// its own time: a job under way is ended cleanly and the port closed,
// instead of the process vanishing in the middle of a transaction.
//
// The signals are blocked from the construction on, in the constructing
// thread and in every thread it starts afterwards, so construct this before
// any thread is started; the kernel then keeps each signal for Take().

#include "platform/unique_fd.h"

#include <functional>
#include <signal.h>
#include <thread>

namespace platform {

class StopSignals
{
public:
    StopSignals();
    // Ends the watch. The signals stay blocked: one that comes after the
    // run has ended is left unanswered rather than ending the process with
    // another exit status than the run's.
    ~StopSignals();
    StopSignals(const StopSignals &) = delete;
    StopSignals &operator=(const StopSignals &) = delete;

    // Readable while a signal waits to be taken.
    int Fd() const { return m_fd.Get(); }
    // The signal that came, 0 when none waits.
    int Take();
    // Calls `handler` with each signal, on a thread of its own, until destruction.
    void Watch(std::function<void(int signal)> handler);

private:
    UniqueFd m_fd;
    UniqueFd m_quit; // eventfd that ends the watch
    std::thread m_watch;
};

} // namespace platform
