#include "app/port_finder.h"

#include "link/shared_settings.h"

#include <QMetaObject>

PortFinder::~PortFinder()
{
    Stop();
    if (m_thread.joinable())
        m_thread.join();
}

void PortFinder::Start(std::vector<std::string> ports, Done done)
{
    if (m_probe)
        return;
    m_probe = std::make_shared<PortProbe>();
    m_thread =
        std::thread([this, probe = m_probe, ports = std::move(ports), done = std::move(done)] {
            const std::vector<ProbeResult> results = probe->ProbeAll(ports, SearchBaudRates());
            // Runs on the window's thread; dropped if the window is gone, and
            // the finder's destructor joins this thread before the window goes.
            QMetaObject::invokeMethod(
                &m_window,
                [this, results, done] {
                    m_thread.join();
                    const bool stopped = m_probe->Stopped();
                    m_probe.reset();
                    done(results, stopped);
                },
                Qt::QueuedConnection);
        });
}

void PortFinder::Stop()
{
    if (m_probe)
        m_probe->Stop();
}
