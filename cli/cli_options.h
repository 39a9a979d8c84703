#pragma once
// The command line of kestrel-cli.

#include "link/shared_settings.h"

#include <string>
#include <vector>

struct CliOptions
{
    enum class Command { Read, Write, Passwd, Verify, Provision, Ports };

    Command command = Command::Read;
    std::string port;               // the one port of read, write, passwd and verify
    std::vector<std::string> ports; // provision: every port; ports: those to list (none: all)
    std::string password;
    bool passwordGiven = false; // --password, even empty
    std::string passwordFile;   // --password-file: its first line is the password
    std::string baud{kUsualBaudRate};
    bool baudGiven = false; // ports --probe: this rate alone
    bool forward = false;
    bool verify = false; // write, provision: read back and compare after writing
    bool probe = false;  // ports: send "AT" and tell which answer
    int language = 1;
    std::string dir;    // replaces the user's data folder for the per-port files
    std::string out;    // read: where the result goes
    std::string file;   // write, provision: what to send; verify: what to compare with
    std::string report; // provision: the CSV report
    std::string newPassword;
    bool newPasswordGiven = false; // --new
    std::string newPasswordFile;   // --new-file
    bool quiet = false;
    bool json = false;           // one JSON object on standard output at the end
    bool progressJson = false;   // the progress as JSON lines on standard error
    int gap = kDefaultDeviceGap; // milliseconds
};

struct ParseResult
{
    bool ok = false;
    bool help = false;
    bool version = false;
    std::string error;
    CliOptions options;
};

ParseResult ParseCommandLine(const std::vector<std::string> &args);

// The command's name as typed ("read").
std::string_view CommandName(CliOptions::Command command);

extern const char *const kUsage;
