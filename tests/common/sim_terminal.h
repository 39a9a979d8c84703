#pragma once
// The simulated terminal on its pty as the tests start it, a failure to
// start reported to the test.

#include "sim/terminal_simulator.h"
#include "tests/common/sim_set_up.h"

#include <gtest/gtest.h>
#include <memory>

inline std::unique_ptr<sim::TerminalSimulator> StartSimulator(const SimSetUp &setUp = {})
{
    auto terminal = std::make_unique<sim::TerminalSimulator>(SimOptionsWith(setUp));
    std::string error;
    if (!terminal->Start(error))
        ADD_FAILURE() << "the simulated terminal did not start: " << error;
    return terminal;
}
