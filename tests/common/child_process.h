#pragma once
// A program started with its standard output on a pipe, as a user starts it
// from a shell; stopped with SIGTERM at the latest when this goes.

#include <csignal>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

class ChildProcess
{
public:
    // Which of its outputs ReadLine reads; standard error goes to ours otherwise.
    enum class Output { StandardOnly, WithErrors };

    // `input`, when given, becomes its standard input (a terminal, say).
    explicit ChildProcess(std::vector<std::string> args, Output output = Output::StandardOnly,
                          int input = -1)
    {
        int out[2];
        if (::pipe(out) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        if (input >= 0)
            posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
        if (output == Output::WithErrors)
            posix_spawn_file_actions_adddup2(&actions, out[1], STDERR_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::vector<char *> argv;
        for (std::string &arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        if (::posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        m_out = out[0];
    }
    ~ChildProcess()
    {
        Stop();
        if (m_out >= 0)
            ::close(m_out);
    }
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // One line of its output, byte by byte so that nothing after it is taken.
    std::string ReadLine()
    {
        std::string line;
        char c = 0;
        while (m_out >= 0 && ::read(m_out, &c, 1) == 1 && c != '\n')
            line.push_back(c);
        return line;
    }
    // Everything it prints until it closes its output.
    std::string ReadAll()
    {
        std::string all;
        char buffer[4096];
        for (ssize_t n; m_out >= 0 && (n = ::read(m_out, buffer, sizeof buffer)) > 0;)
            all.append(buffer, size_t(n));
        return all;
    }
    // Waits for it to end by itself; its exit status (-1 when killed).
    int Wait()
    {
        if (m_pid <= 0)
            return -1;
        int status = 0;
        const bool waited = ::waitpid(m_pid, &status, 0) == m_pid;
        m_pid = -1;
        return waited && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // Still running; an end found here is collected, and Stop does nothing more.
    bool Running()
    {
        int status = 0;
        if (m_pid <= 0 || ::waitpid(m_pid, &status, WNOHANG) == 0)
            return m_pid > 0;
        m_pid = -1;
        return false;
    }
    pid_t Pid() const { return m_pid; }

    // The signal, then its exit status (-1 when it did not exit by itself).
    int Stop(int signal = SIGTERM)
    {
        if (m_pid <= 0)
            return -1;
        int status = 0;
        ::kill(m_pid, signal);
        const bool waited = ::waitpid(m_pid, &status, 0) == m_pid;
        m_pid = -1;
        return waited && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
};
