#pragma once
// One run of kestrel-cli: the login exchange, then the read, the write or
// the password change as the main window runs it after a login.

#include "cli/cli_options.h"

#include <ostream>

class CliSession
{
public:
    CliSession(const CliOptions &options, std::ostream &err);
    // The exit status: 0 success, 1 failure.
    int Run();

private:
    struct Impl;
    const CliOptions &m_options;
    std::ostream &m_err;
};
