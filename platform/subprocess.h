#pragma once
// Another program run beside this one, its standard error on a pipe that
// this program reads as it comes; its standard input and output are
// /dev/null, so it can neither prompt nor mix its output into ours.

#include "platform/unique_fd.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

class Subprocess
{
public:
    Subprocess() = default;
    // A program still running is ended (SIGTERM) and waited for.
    ~Subprocess();
    Subprocess(const Subprocess &) = delete;
    Subprocess &operator=(const Subprocess &) = delete;

    // Starts argv[0] (a path). Its environment is ours, with each
    // "NAME=value" of `environment` set (replacing ours of that name): the
    // way to hand it a secret that its command line, which every user of
    // the machine can see, must not carry. It starts with the stop signals
    // unblocked and at their default. false with the reason on failure.
    bool Start(const std::vector<std::string> &argv, const std::vector<std::string> &environment,
               std::string &error);
    bool Running() const { return m_pid > 0; }
    pid_t Pid() const { return m_pid; }

    // Readable when it has written to its standard error, or closed it.
    int ErrorFd() const { return m_errors.Get(); }
    // Appends what it has written since the last call, without waiting.
    // false once it has closed its standard error (it has ended, mostly).
    bool ReadErrors(std::string &text);

    bool Signal(int signal) const;
    // Waits for its end: its exit status, or 128 + the signal that ended it.
    int Wait();

private:
    pid_t m_pid = -1;
    UniqueFd m_errors;
};

// Waits until at least one of the descriptors is readable or closed, and
// gives their positions.
std::vector<size_t> WaitReadable(const std::vector<int> &fds);

// The path of the program running, to start another copy of it.
std::string OwnProgramPath();

} // namespace platform
