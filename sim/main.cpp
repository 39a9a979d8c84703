// kestrel-sim: the desk terminal on a pty, for the demo, the tests and the
// benchmarks. Advertises the pty as a virtual port, prints its path as the
// first line of output and serves until SIGINT, SIGTERM or SIGHUP, or until
// it hangs up on a --hang-up-after fault.

#include "platform/virtual_ports.h"
#include "sim/program_options.h"
#include "sim/terminal_simulator.h"

#include <csignal>
#include <iostream>
#include <pthread.h>

int main(int argc, char **argv)
{
    sim::ProgramOptions options;
    std::string error;
    if (!sim::ParseProgramOptions(std::vector<std::string>(argv + 1, argv + argc), options,
                                  error)) {
        std::cerr << "kestrel-sim: " << error << "\n\n" << sim::ProgramUsage();
        return 2;
    }
    if (options.help) {
        std::cout << sim::ProgramUsage();
        return 0;
    }
    if (options.version) {
        std::cout << "kestrel-sim " KESTREL_VERSION "\n";
        return 0;
    }

    // Blocked before any thread starts, so only sigwait below takes them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    options.sim.keepCommandLog = false; // nobody can ask for it
    sim::TerminalSimulator terminal(std::move(options.sim));
    if (!terminal.Start(error)) {
        std::cerr << "kestrel-sim: " << error << '\n';
        return 1;
    }
    // Advertised before the path is printed, so the first line means ready.
    // A name that cannot be had ends the run: whoever asked for it would
    // otherwise reach another terminal, or none.
    platform::AdvertisedPort advertised;
    if (options.advertise) {
        if (!advertised.Advertise(options.portName, terminal.SlavePath(), error)) {
            std::cerr << "kestrel-sim: not advertised: " << error << '\n';
            return 1;
        }
        std::cerr << "kestrel-sim: serving as " << options.portName << '\n';
    }
    std::cout << terminal.SlavePath() << std::endl;

    // A hang-up fault ends the run as a pulled cable ends the line: the port
    // is withdrawn, and a new run brings the terminal back.
    const timespec hangUpCheck{0, 100'000'000};
    while (sigtimedwait(&stopSignals, nullptr, &hangUpCheck) == -1) {
        if (terminal.HungUp()) {
            std::cerr << "kestrel-sim: hung up\n";
            break;
        }
    }

    advertised.Withdraw();
    terminal.Stop();
    const std::string saveError = terminal.SaveError();
    if (!saveError.empty())
        std::cerr << "kestrel-sim: the state file was not saved: " << saveError << '\n';
    return 0;
}
