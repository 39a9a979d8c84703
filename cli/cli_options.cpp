#include "cli/cli_options.h"

#include "link/shared_settings.h"

#include <algorithm>
#include <functional>
#include <map>

const char *const kUsage =
    "Usage: kestrel-cli read   --port PORT [--password-file FILE] [--baud RATE] [--forward] "
    "[--language en|pt|es] [--dir DIR] --out FILE\n"
    "  or:  kestrel-cli write  --port PORT [--password-file FILE] [--baud RATE] [--verify] "
    "[--forward] [--language en|pt|es] [--dir DIR] FILE\n"
    "  or:  kestrel-cli passwd --port PORT [--password-file FILE] [--new-file FILE] [--baud RATE] "
    "[--language en|pt|es] [--dir DIR]\n"
    "  or:  kestrel-cli verify --port PORT [--password-file FILE] [--baud RATE] [--forward] "
    "[--language en|pt|es] [--dir DIR] FILE\n"
    "  or:  kestrel-cli provision --port PORT [--port PORT ...] [--password-file FILE] [--baud "
    "RATE] [--verify] [--forward] [--report FILE] [--language en|pt|es] [--dir DIR] FILE\n"
    "  or:  kestrel-cli ports  [--probe] [--baud RATE] [--port PORT ...] [--language en|pt|es]\n"
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
    "write sends only what the program itself writes, and nothing of a file it refuses;\n"
    "with --verify it then reads the terminal back and compares it with FILE.\n"
    "verify reads the terminal and compares it with FILE, naming every difference\n"
    "(--forward: call waiting and forwarding too).\n"
    "provision writes FILE to every --port at once, one kestrel-cli run a port, verifies\n"
    "each with --verify, and prints a table of the outcomes, also as CSV to --report FILE.\n"
    "ports lists the serial ports the program offers, the name first on each line; --probe\n"
    "sends a bare \"AT\" to each free port (at RATE, else at each rate of the login, 115200\n"
    "first) and tells which answer \"OK\"; --port limits both to the ports named.\n"
    "Every read and write keeps a copy of the values in the settings history,\n"
    "DIR/history/PORT/.\n"
    "\n"
    "Every command takes --gap MS, --quiet, --json and --progress text|json.\n"
    "The gap is the pause the terminal gets after each final reply before the next\n"
    "command, 0 to 1000 ms (default 20); quiet keeps only error messages and differences;\n"
    "json writes one JSON object with the outcome to standard output at the end;\n"
    "progress json writes the progress as JSON lines to standard error.\n"
    "\n"
    "Exit status: 0 success (verify: everything verifiable matches; provision: every port;\n"
    "ports --probe: a port answered), 1 failure or a difference, 2 wrong usage.\n";

namespace {

using Command = CliOptions::Command;

constexpr unsigned Bit(Command command)
{
    return 1u << static_cast<unsigned>(command);
}

constexpr unsigned kOneTerminal =
    Bit(Command::Read) | Bit(Command::Write) | Bit(Command::Passwd) | Bit(Command::Verify);
constexpr unsigned kLogsIn = kOneTerminal | Bit(Command::Provision);
constexpr unsigned kEvery = kLogsIn | Bit(Command::Ports);

const std::map<std::string, Command, std::less<>> kCommands = {
    {"read", Command::Read},     {"write", Command::Write},         {"passwd", Command::Passwd},
    {"verify", Command::Verify}, {"provision", Command::Provision}, {"ports", Command::Ports},
};

const std::map<std::string, int> kLanguages = {{"en", 1}, {"pt", 2}, {"es", 3}};

// Each option with the commands that take it; an option with a value
// reads it with `take` (false: the value is wrong, `error` says why).
struct Option
{
    unsigned commands;
    bool valued;
    std::function<bool(CliOptions &, const std::string &value, std::string &error)> take;
};

// An option whose value is kept as it is; `given` notes that it was given.
auto Store(std::string CliOptions::*member, bool CliOptions::*given = nullptr)
{
    return [member, given](CliOptions &o, const std::string &value, std::string &) {
        o.*member = value;
        if (given)
            o.*given = true;
        return true;
    };
}

const std::map<std::string, Option, std::less<>> &Options()
{
    using O = CliOptions;
    using V = const std::string &;
    static const std::map<std::string, Option, std::less<>> options = {
        {"--port",
         {kEvery, true,
          [](O &o, V v, std::string &) {
              o.ports.push_back(v);
              o.port = v;
              return true;
          }}},
        {"--password", {kLogsIn, true, Store(&O::password, &O::passwordGiven)}},
        {"--password-file", {kLogsIn, true, Store(&O::passwordFile)}},
        {"--baud", {kEvery, true, Store(&O::baud, &O::baudGiven)}},
        {"--dir", {kLogsIn, true, Store(&O::dir)}},
        {"--out", {Bit(Command::Read), true, Store(&O::out)}},
        {"--new", {Bit(Command::Passwd), true, Store(&O::newPassword, &O::newPasswordGiven)}},
        {"--new-file", {Bit(Command::Passwd), true, Store(&O::newPasswordFile)}},
        {"--report", {Bit(Command::Provision), true, Store(&O::report)}},
        {"--language",
         {kEvery, true,
          [](O &o, V v, std::string &error) {
              const auto language = kLanguages.find(v);
              if (language == kLanguages.end()) {
                  error = "--language must be en, pt or es";
                  return false;
              }
              o.language = language->second;
              return true;
          }}},
        {"--gap",
         {kEvery, true,
          [](O &o, V v, std::string &error) {
              const std::optional<int> gap = ParseDeviceGap(v);
              if (!gap) {
                  error = "--gap must be a whole number of milliseconds from 0 to 1000";
                  return false;
              }
              o.gap = *gap;
              return true;
          }}},
        {"--progress",
         {kEvery, true,
          [](O &o, V v, std::string &error) {
              error = "--progress must be text or json";
              o.progressJson = v == "json";
              return v == "json" || v == "text";
          }}},
        {"--forward",
         {kOneTerminal | Bit(Command::Provision), false,
          [](O &o, V, std::string &) { return o.forward = true; }}},
        {"--verify",
         {Bit(Command::Write) | Bit(Command::Provision), false,
          [](O &o, V, std::string &) { return o.verify = true; }}},
        {"--probe",
         {Bit(Command::Ports), false, [](O &o, V, std::string &) { return o.probe = true; }}},
        {"--quiet", {kEvery, false, [](O &o, V, std::string &) { return o.quiet = true; }}},
        {"--json", {kEvery, false, [](O &o, V, std::string &) { return o.json = true; }}},
    };
    return options;
}

ParseResult Fail(std::string error)
{
    ParseResult result;
    result.error = std::move(error);
    return result;
}

// What the command needs beyond its options, and what does not go together.
std::string CheckCombination(const CliOptions &o, const std::vector<std::string> &positional)
{
    const bool onePort = Bit(o.command) & kOneTerminal;
    if (onePort && o.ports.empty())
        return "--port is required";
    if (onePort && o.ports.size() > 1)
        return "--port is given more than once";
    if (o.command == Command::Provision && o.ports.empty())
        return "provision needs at least one --port";
    for (size_t i = 1; i < o.ports.size(); ++i) {
        if (std::find(o.ports.begin(), o.ports.begin() + static_cast<long>(i), o.ports[i]) !=
            o.ports.begin() + static_cast<long>(i))
            return "the port " + o.ports[i] + " is named twice";
    }
    if (o.passwordGiven && !o.passwordFile.empty())
        return "give --password or --password-file, not both";
    if (o.newPasswordGiven && !o.newPasswordFile.empty())
        return "give --new or --new-file, not both";
    if (o.forward && (o.command == Command::Write || o.command == Command::Provision) && !o.verify)
        return "--forward belongs to the verification: give --verify";
    if (o.command == Command::Ports && o.baudGiven && !o.probe)
        return "--baud belongs to --probe";
    const bool takesFile = o.command == Command::Write || o.command == Command::Verify ||
                           o.command == Command::Provision;
    if (takesFile && positional.size() != 1)
        return std::string(CommandName(o.command)) + " needs exactly one FILE";
    if (!takesFile && !positional.empty())
        return std::string(CommandName(o.command)) + " takes no FILE argument";
    if (o.command == Command::Read && o.out.empty())
        return "read needs --out FILE";
    return {};
}

} // namespace

std::string_view CommandName(CliOptions::Command command)
{
    for (const auto &[name, value] : kCommands) {
        if (value == command)
            return name;
    }
    return {};
}

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
    if (args[0] == "--version") {
        if (args.size() > 1)
            return Fail("--version takes no options");
        result.version = true;
        return result;
    }
    auto command = kCommands.find(args[0]);
    if (command == kCommands.end())
        return Fail("unknown command '" + args[0] + "'");
    o.command = command->second;

    std::vector<std::string> positional;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg == "--help" || arg == "-h") {
            result.help = true;
            return result;
        }
        const auto option = Options().find(arg);
        if (option == Options().end()) {
            if (arg.rfind("--", 0) == 0)
                return Fail("unknown option '" + arg + "'");
            positional.push_back(arg);
            continue;
        }
        if (!(option->second.commands & Bit(o.command)))
            return Fail(arg + " does not belong to " + args[0]);
        std::string value, error;
        if (option->second.valued) {
            if (++i >= args.size())
                return Fail(arg + " needs a value");
            value = args[i];
        }
        if (!option->second.take(o, value, error))
            return Fail(error);
    }
    if (const std::string error = CheckCombination(o, positional); !error.empty())
        return Fail(error);
    if (!positional.empty())
        o.file = positional[0];
    result.ok = true;
    return result;
}
