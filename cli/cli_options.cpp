#include "cli/cli_options.h"

#include "link/shared_settings.h"

#include <map>

const char *const kUsage =
    "Usage: kestrel-cli read   --port PORT [--password-file FILE] [--baud RATE] [--forward] [--language en|pt|es] [--dir DIR] --out FILE\n"
    "  or:  kestrel-cli write  --port PORT [--password-file FILE] [--baud RATE] [--language en|pt|es] [--dir DIR] FILE\n"
    "  or:  kestrel-cli passwd --port PORT [--password-file FILE] [--new-file FILE] [--baud RATE] [--language en|pt|es] [--dir DIR]\n"
    "  or:  kestrel-cli verify --port PORT [--password-file FILE] [--baud RATE] [--forward] [--language en|pt|es] [--dir DIR] FILE\n"
    "  or:  kestrel-cli ports\n"
    "  or:  kestrel-cli --help | --version\n"
    "Reads, writes, verifies and changes the password of a desk terminal over a\n"
    "serial line, through the same engine as Kestrel Manager.\n"
    "\n"
    "The software password is the first line of --password-file FILE, else $KESTREL_PASSWORD,\n"
    "else typed at a prompt without echo when standard input is a terminal; the new password\n"
    "of passwd likewise from --new-file FILE, $KESTREL_NEW_PASSWORD or the prompt (twice).\n"
    "--password PW and --new NEWPW work too, but every user of the machine sees them in the\n"
    "process list while the command runs.\n"
    "PORT is a device name (ttyUSB0, or an advertised virtual port such as SIM0) or a path.\n"
    "DIR holds the per-port temporary parameter file and AT log (default: the user's data\n"
    "folder, ~/.local/share/Quillenbrook/Kestrel Manager/).\n"
    "\n"
    "read writes --out FILE only after a whole read, as the program's Save writes it;\n"
    "write sends only what the program itself writes, and nothing of a file it refuses.\n"
    "verify reads the terminal and compares it with FILE, naming every difference.\n"
    "ports lists the names of the serial adapters found and of the advertised virtual\n"
    "ports, one a line.\n"
    "Every read and write keeps a copy of the values in the settings history,\n"
    "DIR/history/PORT/.\n"
    "\n"
    "Every command takes --gap MS and --quiet.\n"
    "The gap is the pause the terminal gets after each final reply before the next\n"
    "command, 0 to 1000 ms (default 20); quiet keeps only error messages and differences.\n"
    "\n"
    "Exit status: 0 success (verify: everything verifiable matches), 1 failure or a\n"
    "difference, 2 wrong usage.\n";

namespace {

const std::map<std::string, CliOptions::Command> kCommands = {
    {"read", CliOptions::Command::Read},
    {"write", CliOptions::Command::Write},
    {"passwd", CliOptions::Command::Passwd},
    {"verify", CliOptions::Command::Verify},
};

const std::map<std::string, int> kLanguages = {{"en", 1}, {"pt", 2}, {"es", 3}};

ParseResult Fail(std::string error)
{
    ParseResult result;
    result.error = std::move(error);
    return result;
}

} // namespace

ParseResult ParseCommandLine(const std::vector<std::string> &args)
{
    ParseResult result;
    CliOptions &o = result.options;
    if (args.empty())
        return Fail("missing command");
    if (args[0] == "--help" || args[0] == "-h") {
        result.help = true;
        return result;
    }
    if (args[0] == "--version" || args[0] == "ports") {
        if (args.size() > 1)
            return Fail(args[0] + " takes no options");
        result.version = args[0] == "--version";
        result.listPorts = !result.version;
        return result;
    }
    auto command = kCommands.find(args[0]);
    if (command == kCommands.end())
        return Fail("unknown command '" + args[0] + "'");
    o.command = command->second;

    const std::map<std::string, std::string *> valued = {
        {"--port", &o.port}, {"--password", &o.password}, {"--baud", &o.baud}, {"--dir", &o.dir},
        {"--out", &o.out},   {"--new", &o.newPassword}, {"--password-file", &o.passwordFile},
        {"--new-file", &o.newPasswordFile},
    };
    std::vector<std::string> positional;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg == "--help" || arg == "-h") {
            result.help = true;
            return result;
        }
        if (arg == "--forward") {
            o.forward = true;
        } else if (arg == "--quiet") {
            o.quiet = true;
        } else if (arg == "--language") {
            if (++i >= args.size())
                return Fail("--language needs a value");
            auto language = kLanguages.find(args[i]);
            if (language == kLanguages.end())
                return Fail("--language must be en, pt or es");
            o.language = language->second;
        } else if (arg == "--gap") {
            if (++i >= args.size())
                return Fail("--gap needs a value");
            const std::optional<int> gap = ParseDeviceGap(args[i]);
            if (!gap)
                return Fail("--gap must be a whole number of milliseconds from 0 to 1000");
            o.gap = *gap;
        } else if (auto option = valued.find(arg); option != valued.end()) {
            if (++i >= args.size())
                return Fail(arg + " needs a value");
            *option->second = args[i];
            o.passwordGiven = o.passwordGiven || arg == "--password";
            o.newPasswordGiven = o.newPasswordGiven || arg == "--new";
        } else if (arg.rfind("--", 0) == 0) {
            return Fail("unknown option '" + arg + "'");
        } else {
            positional.push_back(arg);
        }
    }

    if (o.port.empty())
        return Fail("--port is required");
    if (o.command != CliOptions::Command::Passwd &&
        (o.newPasswordGiven || !o.newPasswordFile.empty()))
        return Fail("--new and --new-file belong to passwd");
    if (o.passwordGiven && !o.passwordFile.empty())
        return Fail("give --password or --password-file, not both");
    if (o.newPasswordGiven && !o.newPasswordFile.empty())
        return Fail("give --new or --new-file, not both");
    switch (o.command) {
    case CliOptions::Command::Read:
        if (o.out.empty())
            return Fail("read needs --out FILE");
        if (!positional.empty())
            return Fail("read takes no FILE argument; use --out");
        break;
    case CliOptions::Command::Write:
        if (positional.size() != 1)
            return Fail("write needs exactly one FILE");
        if (o.forward || !o.out.empty())
            return Fail("--forward and --out belong to read");
        o.file = positional[0];
        break;
    case CliOptions::Command::Verify:
        if (positional.size() != 1)
            return Fail("verify needs exactly one FILE");
        if (!o.out.empty())
            return Fail("verify takes no --out");
        o.file = positional[0];
        break;
    case CliOptions::Command::Passwd:
        if (!positional.empty() || o.forward || !o.out.empty())
            return Fail("passwd takes no FILE, --forward or --out");
        break;
    }
    result.ok = true;
    return result;
}
