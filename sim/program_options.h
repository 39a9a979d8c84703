#pragma once
// The command line of kestrel-sim.

#include "sim/sim_options.h"

#include <string>
#include <vector>

namespace sim {

struct ProgramOptions
{
    SimOptions sim;
    std::string portName = "SIM0"; // the name the port is advertised under
    bool advertise = true;
    bool help = false;
    bool version = false;
};

// Parses the arguments (without the program name) over the defaults in
// `options`. false with a message for an unknown option or a bad value.
bool ParseProgramOptions(const std::vector<std::string> &args, ProgramOptions &options,
                         std::string &error);

std::string ProgramUsage();

} // namespace sim
