#pragma once
// Options of the simulated terminal as a test wants them: the defaults,
// changed by a set-up function.

#include "sim/sim_options.h"

#include <functional>

using SimSetUp = std::function<void(sim::SimOptions &)>;

inline sim::SimOptions SimOptionsWith(const SimSetUp &setUp)
{
    sim::SimOptions options;
    if (setUp)
        setUp(options);
    return options;
}

// A terminal that answers nothing at all.
inline const SimSetUp kSilent = [](sim::SimOptions &o) { o.faults.silentAfter = 0; };
