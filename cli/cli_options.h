#pragma once
// The command line of kestrel-cli.

#include "link/shared_settings.h"

#include <string>
#include <vector>

struct CliOptions
{
    enum class Command { Read, Write, Passwd, Verify };

    Command command = Command::Read;
    std::string port;
    std::string password;
    bool passwordGiven = false; // --password, even empty
    std::string passwordFile;   // --password-file: its first line is the password
    std::string baud = "115200";
    bool forward = false;
    int language = 1;
    std::string dir; // replaces the user's data folder for the per-port files
    std::string out;  // read: where the result goes
    std::string file; // write: what to send; verify: what to compare with
    std::string newPassword;
    bool newPasswordGiven = false; // --new
    std::string newPasswordFile;   // --new-file
    bool quiet = false;
    int gap = kDefaultDeviceGap; // milliseconds
};

struct ParseResult
{
    bool ok = false;
    bool help = false;
    bool version = false;
    bool listPorts = false; // the ports command: nothing else to do
    std::string error;
    CliOptions options;
};

ParseResult ParseCommandLine(const std::vector<std::string> &args);

extern const char *const kUsage;
