#pragma once
// Where kestrel-cli takes the passwords from when the command line does not
// carry them, so that no other user sees them in the process list: the first
// line of a file (--password-file, --new-file), the environment
// (KESTREL_PASSWORD, KESTREL_NEW_PASSWORD), or a prompt without echo when
// standard input is a terminal, in that order. --password and --new, when
// given, come first.

#include "cli/cli_options.h"

#include <functional>
#include <string>

struct PasswordSources
{
    // The environment variable's value, or nullptr when it is not set.
    std::function<const char *(const char *name)> getEnv;
    bool terminal = false; // whether the user can be asked
    // The line typed after the prompt, without echo; "" when input ended.
    std::function<std::string(const std::string &prompt)> ask;
};

// The environment and the terminal of this process.
PasswordSources ProcessPasswordSources();

struct PasswordsResult
{
    // 0 found; 1 a file that cannot be read or a new password typed
    // differently the second time; 2 wrong usage (nowhere to take one from).
    int status = 0;
    std::string error;
};

// Fills options.password and, for passwd, options.newPassword. A new password
// typed at the prompt is typed twice. What was found is checked by the run,
// as a password from the command line is.
PasswordsResult FindPasswords(CliOptions &options, const PasswordSources &sources);
