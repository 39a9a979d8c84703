#pragma once
// One run of kestrel-cli: the login exchange, then the read, the write (and
// with --verify the verification that follows it), the password change or
// the verification as the main window runs it after a login. The port is
// kept for the whole run.

#include "cli/cli_options.h"

#include <memory>
#include <ostream>

class CliSession
{
public:
    // Progress and results go to `err`, the verification report and the
    // --json summary to `out`.
    CliSession(const CliOptions &options, std::ostream &err, std::ostream &out);
    ~CliSession();
    CliSession(const CliSession &) = delete;
    CliSession &operator=(const CliSession &) = delete;

    // The exit status: 0 success, 1 failure (verify: also a difference).
    int Run();
    // From any thread (Ctrl+C): the login or the job under way ends at once
    // (a write tells what the terminal holds), the port is closed, and the
    // run ends as stopped; nothing more is sent.
    void Stop();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
