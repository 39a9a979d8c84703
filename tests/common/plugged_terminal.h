#pragma once
// A simulated terminal on a pty, advertised as a virtual port under a name.

#include "platform/virtual_ports.h"
#include "sim/terminal_simulator.h"

#include <string>

class PluggedTerminal
{
public:
    PluggedTerminal(std::string name, sim::SimOptions options)
        : m_name(std::move(name)), m_terminal(std::move(options))
    {}
    PluggedTerminal(const PluggedTerminal &) = delete;
    PluggedTerminal &operator=(const PluggedTerminal &) = delete;

    // Starts serving and advertises the port; false with the reason.
    bool PlugIn(std::string &error)
    {
        return m_terminal.Start(error) &&
               m_advertised.Advertise(m_name, m_terminal.SlavePath(), error);
    }

    const std::string &Name() const { return m_name; }
    sim::TerminalSimulator &Terminal() { return m_terminal; }

private:
    std::string m_name;
    sim::TerminalSimulator m_terminal;
    platform::AdvertisedPort m_advertised; // withdrawn before the terminal stops
};
