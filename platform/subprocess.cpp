#include "platform/subprocess.h"

#include "platform/retry_interrupted.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <string_view>
#include <sys/wait.h>

extern char **environ;

namespace platform {

namespace {

// Ours, with the given variables set.
std::vector<std::string> Environment(const std::vector<std::string> &set)
{
    std::vector<std::string> result;
    for (char **entry = environ; entry && *entry; ++entry) {
        const std::string_view variable(*entry);
        const std::string_view name = variable.substr(0, variable.find('=') + 1);
        bool replaced = false;
        for (const std::string &wanted : set)
            replaced = replaced || std::string_view(wanted).starts_with(name);
        if (!replaced)
            result.emplace_back(variable);
    }
    result.insert(result.end(), set.begin(), set.end());
    return result;
}

std::vector<char *> Pointers(std::vector<std::string> &texts)
{
    std::vector<char *> pointers;
    pointers.reserve(texts.size() + 1);
    for (std::string &text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

Subprocess::~Subprocess()
{
    if (Running()) {
        Signal(SIGTERM);
        Wait();
    }
}

bool Subprocess::Start(const std::vector<std::string> &argv,
                       const std::vector<std::string> &environment, std::string &error)
{
    int errors[2];
    if (argv.empty() || ::pipe2(errors, O_CLOEXEC) != 0) {
        error = std::strerror(argv.empty() ? EINVAL : errno);
        return false;
    }
    UniqueFd readEnd(errors[0]), writeEnd(errors[1]);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, writeEnd.Get(), STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, stop;
    sigemptyset(&none);
    sigemptyset(&stop);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        sigaddset(&stop, signal);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &stop);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<std::string> args = argv;
    std::vector<std::string> variables = Environment(environment);
    const int failed = ::posix_spawn(&m_pid, args[0].c_str(), &actions, &attributes,
                                     Pointers(args).data(), Pointers(variables).data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    // The secrets in the copy of the environment go no further.
    for (std::string &variable : variables)
        std::fill(variable.begin(), variable.end(), '\0');
    if (failed != 0) {
        m_pid = -1;
        error = std::strerror(failed);
        return false;
    }
    ::fcntl(readEnd.Get(), F_SETFL, O_NONBLOCK);
    m_errors = std::move(readEnd);
    return true;
}

bool Subprocess::ReadErrors(std::string &text)
{
    char buffer[4096];
    for (;;) {
        const ssize_t n =
            RetryInterrupted([&] { return ::read(m_errors.Get(), buffer, sizeof buffer); });
        if (n > 0) {
            text.append(buffer, static_cast<size_t>(n));
            continue;
        }
        return n < 0 && errno == EAGAIN;
    }
}

bool Subprocess::Signal(int signal) const
{
    return m_pid > 0 && ::kill(m_pid, signal) == 0;
}

int Subprocess::Wait()
{
    if (m_pid <= 0)
        return -1;
    int status = 0;
    const pid_t waited = RetryInterrupted([&] { return ::waitpid(m_pid, &status, 0); });
    m_pid = -1;
    m_errors.Reset();
    if (waited == -1)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::vector<size_t> WaitReadable(const std::vector<int> &fds)
{
    std::vector<pollfd> polled;
    polled.reserve(fds.size());
    for (int fd : fds)
        polled.push_back({fd, POLLIN, 0});
    RetryInterrupted([&] { return ::poll(polled.data(), polled.size(), -1); });
    std::vector<size_t> ready;
    for (size_t i = 0; i < polled.size(); ++i) {
        if (polled[i].revents != 0)
            ready.push_back(i);
    }
    return ready;
}

std::string OwnProgramPath()
{
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).string();
}

} // namespace platform
