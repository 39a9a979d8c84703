#include "link/port_probe.h"

#include "link/reply.h"
#include "platform/port_lock.h"
#include "platform/port_names.h"

#include <algorithm>
#include <cerrno>
#include <thread>

using namespace platform;

namespace {

// Enough for the echo and the answer; anything longer is noise.
constexpr size_t kMaxHeard = 256;

bool SaysOk(std::string_view line)
{
    return IsFinalReply(line) && !IsErrorReply(line);
}

// Whether a complete line of `heard` is "OK".
bool HeardOk(const std::string &heard)
{
    size_t start = 0;
    for (size_t end; (end = heard.find_first_of("\r\n", start)) != std::string::npos;
         start = end + 1) {
        if (SaysOk(std::string_view(heard).substr(start, end - start)))
            return true;
    }
    return false;
}

} // namespace

void PortProbe::Stop()
{
    std::lock_guard lock(m_mutex);
    m_stopped = true;
    for (SerialDevice *device : m_open)
        device->CancelWaits();
}

bool PortProbe::Stopped() const
{
    std::lock_guard lock(m_mutex);
    return m_stopped;
}

// Open devices are known to Stop, which cancels their waits; a device is
// watched only after its open and no longer before its close.
bool PortProbe::Watch(SerialDevice &device)
{
    std::lock_guard lock(m_mutex);
    if (m_stopped)
        return false;
    m_open.insert(&device);
    return true;
}

void PortProbe::Unwatch(SerialDevice &device)
{
    std::lock_guard lock(m_mutex);
    m_open.erase(&device);
}

bool PortProbe::Ask(SerialDevice &device, const std::string &rate, bool &heard)
{
    device.Purge();
    if (!device.Configure(rate))
        return false;
    device.RaiseDtr();
    device.RaiseRts();
    if (device.Write(kCommand.data(), kCommand.size()) != kCommand.size())
        return false;
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + m_patience;
    for (auto now = std::chrono::steady_clock::now(); now < deadline;
         now = std::chrono::steady_clock::now()) {
        const CommEvents events = device.WaitCommEvent(std::chrono::ceil<Millis>(deadline - now));
        if (events.cancelled || events.error)
            return false;
        char buffer[64];
        const size_t count = device.ReadNow(buffer, sizeof buffer);
        // The echo of the command does not count as hearing the terminal.
        const std::string_view got(buffer, count);
        heard = heard || got.find_first_not_of(kCommand) != std::string_view::npos;
        text.append(got.substr(0, kMaxHeard - std::min(kMaxHeard, text.size())));
        if (HeardOk(text))
            return true;
    }
    return false;
}

ProbeResult PortProbe::Probe(const std::string &port, const std::vector<std::string> &rates)
{
    ProbeResult result;
    result.port = port;
    const std::string path = DevicePathForPort(port);
    PortLock claim;
    if (claim.Acquire(path) == PortLock::Result::InUse) {
        result.outcome = ProbeResult::Outcome::InUse;
        return result;
    }
    for (const std::string &rate : rates) {
        SerialDevice device;
        if (Stopped()) {
            result.outcome = ProbeResult::Outcome::Stopped;
            return result;
        }
        if (!device.Open(path)) {
            result.error = platform::PortErrorOf(device.LastError());
            result.outcome = result.error.kind == platform::PortErrorKind::InUse
                                 ? ProbeResult::Outcome::InUse
                                 : ProbeResult::Outcome::CannotOpen;
            return result;
        }
        if (!Watch(device)) {
            result.outcome = ProbeResult::Outcome::Stopped;
            return result;
        }
        const bool answered = Ask(device, rate, result.heard);
        Unwatch(device);
        device.Purge();
        device.Close();
        if (answered) {
            result.outcome = ProbeResult::Outcome::Answered;
            result.rate = rate;
            return result;
        }
    }
    result.outcome = Stopped() ? ProbeResult::Outcome::Stopped : ProbeResult::Outcome::NoAnswer;
    return result;
}

std::vector<ProbeResult> PortProbe::ProbeAll(const std::vector<std::string> &ports,
                                             const std::vector<std::string> &rates)
{
    std::vector<ProbeResult> results(ports.size());
    std::vector<std::thread> threads;
    for (size_t i = 0; i < ports.size(); ++i)
        threads.emplace_back([&, i] { results[i] = Probe(ports[i], rates); });
    for (std::thread &thread : threads)
        thread.join();
    return results;
}
