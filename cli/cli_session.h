#pragma once
// One run of kestrel-cli: the login exchange, then the read, the write, the
// password change or the verification as the main window runs it after a
// login. The port is kept for the whole run.

#include "cli/cli_options.h"

#include <ostream>

class CliSession
{
public:
    // Progress and results go to `err`, the verification report to `out`.
    CliSession(const CliOptions &options, std::ostream &err, std::ostream &out);
    // The exit status: 0 success, 1 failure (verify: also a difference).
    int Run();

private:
    struct Impl;
    const CliOptions &m_options;
    std::ostream &m_err;
    std::ostream &m_out;
};
