// kestrel-cli: reads, writes, verifies and changes the password of a
// terminal from the command line, through the same engine and driver as the
// program.

#include "cli/cli_options.h"
#include "cli/cli_session.h"
#include "cli/password_sources.h"
#include "engine/timeouts.h"
#include "params/language.h"
#include "platform/port_names.h"
#include "platform/virtual_ports.h"

#include <iostream>

namespace {

// The serial adapters first, then the virtual ports, in the login's order.
void PrintPortNames()
{
    for (const std::string &name : platform::ListSerialDevices())
        std::cout << name << '\n';
    for (const platform::VirtualPort &port : platform::ListVirtualPorts())
        std::cout << port.name << '\n';
}

int WrongUsage(const std::string &error)
{
    std::cerr << "kestrel-cli: " << error << "\n" << kUsage;
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    ParseResult parsed = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.help) {
        std::cout << kUsage;
        return 0;
    }
    if (parsed.version) {
        std::cout << "kestrel-cli " KESTREL_VERSION "\n";
        return 0;
    }
    if (parsed.listPorts) {
        PrintPortNames();
        return 0;
    }
    if (!parsed.ok)
        return WrongUsage(parsed.error);
    lang::SetCode(parsed.options.language); // for the prompts
    const PasswordsResult passwords = FindPasswords(parsed.options, ProcessPasswordSources());
    if (passwords.status == 2)
        return WrongUsage(passwords.error);
    if (passwords.status != 0) {
        std::cerr << passwords.error << '\n';
        return passwords.status;
    }
    ApplyTimeoutOverrides();
    CliSession session(parsed.options, std::cerr, std::cout);
    return session.Run();
}
