// Round trip from a command sent to its final reply line delivered, over a
// pty to the simulated terminal answering at once: median and 99th
// percentile over 1000 commands. The command is a parameter read, answered
// with its echo, a "+RPAR" line and "OK", as in a real read.

#include "link/line_receiver.h"
#include "link/reply.h"
#include "link/serial_port.h"
#include "link/shared_settings.h"
#include "sim/terminal_simulator.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    const int commands = argc > 1 ? std::atoi(argv[1]) : 1000;
    sim::TerminalSimulator terminal;
    std::string error;
    if (!terminal.Start(error)) {
        std::fprintf(stderr, "simulator: %s\n", error.c_str());
        return 1;
    }
    g_strPortName = terminal.SlavePath();
    g_strBaudRate = "115200";

    CSerialPort port;
    platform::MessageQueue window;
    port.SetOwner(&window);
    bool finalSeen = false;
    LineReceiver receiver(port, [&](std::unique_ptr<std::string> line) {
        finalSeen = finalSeen || IsFinalReply(*line);
    });
    receiver.Attach(window);
    if (!port.OpenPort()) {
        std::fprintf(stderr, "cannot open %s: %s\n", g_strPortName.c_str(),
                     port.LastErrorText().c_str());
        return 1;
    }

    static const char command[] = "AT+RPAR=16543\r";
    std::vector<double> micros;
    for (int i = 0; i < commands; ++i) {
        finalSeen = false;
        const auto start = std::chrono::steady_clock::now();
        port.Send(command, sizeof command - 1);
        if (!window.RunUntil([&] { return finalSeen; }, std::chrono::seconds(5))) {
            std::fprintf(stderr, "no answer to command %d\n", i);
            return 1;
        }
        micros.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    port.ClosePort();
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double fraction) {
        return micros[static_cast<size_t>(fraction * (micros.size() - 1))];
    };
    std::printf(
        "round trip over %d commands: median %.0f us, 99th percentile %.0f us, max %.0f us\n",
        commands, at(0.5), at(0.99), micros.back());
    return 0;
}
