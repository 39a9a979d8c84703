#pragma once
// `kestrel-cli ports`: the serial ports the program offers, one a line, the
// name first (the bash completion takes it from there) and then what the
// port says of itself; with --probe, also which answer a bare "AT" with
// "OK", and at which rate.

#include "cli/cli_options.h"
#include "link/port_probe.h"

#include <ostream>

class PortsCommand
{
public:
    // The list (or the --json summary) goes to `out`, messages to `err`.
    PortsCommand(const CliOptions &options, std::ostream &err, std::ostream &out);
    // 0; with --probe, 0 when a port answered and 1 when none did.
    int Run();
    // From any thread: the probes under way end now.
    void Stop() { m_probe.Stop(); }

private:
    const CliOptions &m_options;
    std::ostream &m_err;
    std::ostream &m_out;
    PortProbe m_probe;
};
