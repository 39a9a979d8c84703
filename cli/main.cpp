// kestrel-cli: reads, writes, verifies and changes the password of a
// terminal from the command line, through the same engine and driver as the
// program; provisions many terminals at once; lists the serial ports and
// finds the one the terminal is on.

#include "cli/cli_options.h"
#include "cli/cli_session.h"
#include "cli/password_sources.h"
#include "cli/ports_command.h"
#include "cli/provision.h"
#include "cli/run_output.h"
#include "params/language.h"
#include "platform/stop_signals.h"

#include <algorithm>
#include <iostream>
#include <sstream>

namespace {

// A run that ends before it starts still gives a script its one object;
// the error, already on standard error, goes only into it.
void PrintEarlyEnd(const std::vector<std::string> &args, Outcome outcome, int status,
                   const std::string &error)
{
    if (std::find(args.begin(), args.end(), "--json") == args.end())
        return;
    CliOptions none;
    none.quiet = true;
    std::ostringstream told;
    RunOutput output(none, told, {});
    output.Tell(error, true);
    std::cout << output.Summary(args.empty() ? "" : args[0], outcome, status).Str() << std::endl;
}

int WrongUsage(const std::vector<std::string> &args, const std::string &error)
{
    std::cerr << "kestrel-cli: " << error << "\n" << kUsage;
    PrintEarlyEnd(args, Outcome::WrongUsage, 2, "kestrel-cli: " + error);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    ParseResult parsed = ParseCommandLine(args);
    if (parsed.help) {
        std::cout << kUsage;
        return 0;
    }
    if (parsed.version) {
        std::cout << "kestrel-cli " KESTREL_VERSION "\n";
        return 0;
    }
    if (!parsed.ok)
        return WrongUsage(args, parsed.error);
    CliOptions &options = parsed.options;
    lang::SetCode(options.language); // for the prompts

    // From here on Ctrl+C (and SIGTERM, SIGHUP) ends the work cleanly: the
    // signals are blocked before any thread starts, and taken by a watch.
    if (options.command == CliOptions::Command::Ports) {
        PortsCommand ports(options, std::cerr, std::cout);
        platform::StopSignals stop;
        stop.Watch([&](int) { ports.Stop(); });
        return ports.Run();
    }
    const PasswordsResult passwords = FindPasswords(options, ProcessPasswordSources());
    if (passwords.status == 2)
        return WrongUsage(args, passwords.error);
    if (passwords.status != 0) {
        std::cerr << passwords.error << '\n';
        PrintEarlyEnd(args, Outcome::Failed, passwords.status, passwords.error);
        return passwords.status;
    }
    if (options.command == CliOptions::Command::Provision) {
        platform::StopSignals stop;
        return RunProvision(options, std::cerr, std::cout, &stop);
    }
    CliSession session(options, std::cerr, std::cout);
    platform::StopSignals stop;
    stop.Watch([&](int) { session.Stop(); });
    return session.Run();
}
