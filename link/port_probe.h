#pragma once
// Which port is the terminal on: a bare "AT" goes to a port at one rate
// after another until the terminal answers "OK". Nothing else is sent, no
// password above all, and a port that another program (or another run of
// ours) holds is left alone. The command line's `ports --probe` and the
// login's search run the same probe; it may run on any thread, several
// ports at once, and be stopped from another thread.

#include "platform/port_error.h"
#include "platform/serial_device.h"
#include "platform/sync.h"

#include <mutex>
#include <set>
#include <string>
#include <vector>

struct ProbeResult
{
    enum class Outcome {
        Answered,   // "OK" at `rate`
        NoAnswer,   // no "OK" at any rate; `heard` tells whether anything came
        InUse,      // another program holds the port: nothing was sent
        CannotOpen, // the port would not open (`error` says why)
        Stopped,    // the search was stopped first
    };

    std::string port;
    Outcome outcome = Outcome::NoAnswer;
    std::string rate;
    bool heard = false;
    platform::PortError error;
};

class PortProbe
{
public:
    // How long a port has at each rate to answer.
    static constexpr platform::Millis kPatience{1000};
    static constexpr std::string_view kCommand = "AT\r";

    explicit PortProbe(platform::Millis patience = kPatience) : m_patience(patience) {}

    // Tries the rates in turn; stops at the first that answers "OK".
    ProbeResult Probe(const std::string &port, const std::vector<std::string> &rates);
    // Every port at once, each on a thread of its own; results in the ports' order.
    std::vector<ProbeResult> ProbeAll(const std::vector<std::string> &ports,
                                      const std::vector<std::string> &rates);

    // From any thread: the waits under way end now, and nothing more is sent.
    void Stop();
    bool Stopped() const;

private:
    // At one rate on an open device: whether "OK" came.
    bool Ask(platform::SerialDevice &device, const std::string &rate, bool &heard);
    bool Watch(platform::SerialDevice &device);
    void Unwatch(platform::SerialDevice &device);

    const platform::Millis m_patience;
    mutable std::mutex m_mutex;
    bool m_stopped = false;                    // guarded by m_mutex
    std::set<platform::SerialDevice *> m_open; // guarded by m_mutex
};
