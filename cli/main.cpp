// kestrel-cli: reads, writes, verifies and changes the password of a
// terminal from the command line, through the same engine and driver as the
// program.

#include "cli/cli_options.h"
#include "cli/cli_session.h"
#include "engine/timeouts.h"

#include <iostream>

int main(int argc, char **argv)
{
    const ParseResult parsed = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.help) {
        std::cout << kUsage;
        return 0;
    }
    if (!parsed.ok) {
        std::cerr << "kestrel-cli: " << parsed.error << "\n" << kUsage;
        return 2;
    }
    ApplyTimeoutOverrides();
    CliSession session(parsed.options, std::cerr, std::cout);
    return session.Run();
}
