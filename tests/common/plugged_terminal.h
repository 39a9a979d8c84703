#pragma once
// A simulated terminal on a pty, advertised as a virtual port under a name,
// whose cable can be pulled and plugged back in: a hang-up fault makes the
// terminal close its side of the pty, and PlugBackIn brings it back on a new
// pty under the same name, with the settings it had.

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
    // The cable goes after `commands` more command lines: the next one is
    // not answered. Counted from the lines received so far, which the
    // terminal's command log holds as long as nobody clears it.
    void PullCableAfter(std::size_t commands)
    {
        sim::Faults faults;
        faults.hangUpAfter = m_terminal.CommandCount() + commands;
        m_terminal.SetFaults(faults);
    }
    bool CablePulled() const { return m_terminal.HungUp(); }
    // The terminal back on its port, without the fault.
    bool PlugBackIn(std::string &error)
    {
        m_advertised.Withdraw();
        m_terminal.Stop();
        m_terminal.SetFaults({});
        return PlugIn(error);
    }

    const std::string &Name() const { return m_name; }
    sim::TerminalSimulator &Terminal() { return m_terminal; }

private:
    std::string m_name;
    sim::TerminalSimulator m_terminal;
    platform::AdvertisedPort m_advertised; // withdrawn before the terminal stops
};
