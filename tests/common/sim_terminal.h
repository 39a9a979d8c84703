#pragma once
// The simulated terminal on its pty as the tests start it: the options
// changed by a set-up function, a failure to start reported to the test.

#include "sim/terminal_simulator.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

using SimSetUp = std::function<void(sim::SimOptions &)>;

inline std::unique_ptr<sim::TerminalSimulator> StartSimulator(const SimSetUp &setUp = {},
                                                              sim::SimOptions options = {})
{
    if (setUp)
        setUp(options);
    auto terminal = std::make_unique<sim::TerminalSimulator>(std::move(options));
    std::string error;
    if (!terminal->Start(error))
        ADD_FAILURE() << "the simulated terminal did not start: " << error;
    return terminal;
}
