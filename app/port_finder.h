#pragma once
// Find: a bare "AT" to each of a list of ports on a worker thread (the probe
// of `kestrel-cli ports --probe`, at the login's rates with the usual one
// first), the results handed back on the thread of the window that asked.
// The login and the provisioning window both search with it.

#include "link/port_probe.h"

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class PortFinder
{
public:
    // `stopped` tells that Stop came first: the results are then incomplete.
    using Done = std::function<void(const std::vector<ProbeResult> &results, bool stopped)>;

    // `window` receives the results; it must outlive this finder.
    explicit PortFinder(QObject &window) : m_window(window) {}
    // A search still going is stopped and waited for; its results never come.
    ~PortFinder();
    PortFinder(const PortFinder &) = delete;
    PortFinder &operator=(const PortFinder &) = delete;

    bool Running() const { return m_probe != nullptr; }
    // Does nothing while a search runs.
    void Start(std::vector<std::string> ports, Done done);
    // The search ends at once; `done` still comes, marked stopped.
    void Stop();

private:
    QObject &m_window;
    std::shared_ptr<PortProbe> m_probe; // while a search runs
    std::thread m_thread;
};
