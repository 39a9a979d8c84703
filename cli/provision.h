#pragma once
// `kestrel-cli provision FILE --port A --port B ...`: writes FILE to every
// port at once, one `kestrel-cli write` run a port (the engine serves one
// port a process), each verified where asked, and tells each port's
// outcome in a table and, with --report, in a CSV file.
//
// The runs tell their progress as JSON lines (--progress json), which this
// one follows and, with --progress json itself, passes on as they come: a
// program that shows the provisioning live reads one stream with a state
// for every port (see RunOutput). The password reaches the runs in their
// environment, never on their command lines.

#include "cli/cli_options.h"

#include <ostream>

namespace platform {
class StopSignals;
}

// `stop`, when given, is watched while the runs go on: at its first signal
// every run is told to stop (each ends its job, closes its port and says
// so), and ports not started yet are skipped. The exit status is 0 when
// every port succeeded.
int RunProvision(const CliOptions &options, std::ostream &err, std::ostream &out,
                 platform::StopSignals *stop);
