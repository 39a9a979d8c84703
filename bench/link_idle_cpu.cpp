// The serial port's threads while nothing happens: opens the port on a pty,
// lets one command go out, then leaves the line idle for a while (10 s unless
// given in seconds as the first argument) and prints the CPU time the whole
// process used meanwhile. The comm-event thread sleeps in poll() and no
// write thread runs, so the figure should be zero within the clock's grain.

#include "link/serial_port.h"
#include "link/shared_settings.h"
#include "platform/message_queue.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

double CpuSeconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    int master = -1, slave = -1;
    char name[128] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::perror("openpty");
        return 1;
    }
    termios raw{};
    ::tcgetattr(master, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(master, TCSANOW, &raw);

    g_strPortName = name;
    g_strBaudRate = "115200";
    platform::MessageQueue window;
    CSerialPort port;
    port.SetOwner(&window);
    if (!port.OpenPort()) {
        std::fprintf(stderr, "cannot open %s: %s\n", name, port.LastErrorText().c_str());
        return 1;
    }
    port.Send("AT\r", 3);
    char echo[3];
    for (size_t got = 0; got < sizeof echo;) {
        const ssize_t n = ::read(master, echo + got, sizeof echo - got);
        if (n <= 0)
            return 1;
        got += static_cast<size_t>(n);
    }

    const double cpuBefore = CpuSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double cpu = CpuSeconds() - cpuBefore;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();

    std::printf(
        "port open on %s, idle for %.1f s: process CPU time %.3f ms (%.5f %% of one core)\n", name,
        wall, cpu * 1e3, 100.0 * cpu / wall);
    port.ClosePort();
    ::close(slave);
    ::close(master);
    return 0;
}
