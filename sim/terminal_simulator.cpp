#include "sim/terminal_simulator.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <termios.h>

namespace sim {

namespace {

using Clock = OutputSchedule::Clock;

// A tool that writes without reading gets no more input taken than this
// much output can answer, as a real line with flow control would hold it up.
constexpr std::size_t kMaxPendingOutput = std::size_t{64} * 1024;

// A fresh pty echoes, edits lines and turns CR into LF; the terminal wants
// the bytes exactly as sent.
bool MakeRaw(int fd)
{
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0)
        return false;
    ::cfmakeraw(&settings);
    return ::tcsetattr(fd, TCSANOW, &settings) == 0;
}

bool AddFlags(int fd, int fdFlags, int statusFlags)
{
    const int fdOld = ::fcntl(fd, F_GETFD);
    const int statusOld = ::fcntl(fd, F_GETFL);
    return fdOld >= 0 && statusOld >= 0 && ::fcntl(fd, F_SETFD, fdOld | fdFlags) == 0 &&
           ::fcntl(fd, F_SETFL, statusOld | statusFlags) == 0;
}

std::string Frame(const Reply &reply)
{
    std::string bytes;
    for (const std::string &line : reply.lines)
        bytes += "\r\n" + line + "\r\n";
    return bytes + "\r\n" + reply.final + "\r\n";
}

// Bytes as a receiver set to another rate makes them out: the line ends
// stay (so the tool still sees lines), everything else turns to noise.
void Garble(std::string &bytes)
{
    for (char &c : bytes) {
        if (c != '\r' && c != '\n')
            c = static_cast<char>(0x80 | (static_cast<unsigned char>(c) ^ 0x2A));
    }
}

// Nanoseconds, so that a paced wire is not held up to the next millisecond.
std::optional<timespec> PollTimeout(const std::optional<Clock::time_point> &due,
                                    Clock::time_point now)
{
    if (!due)
        return std::nullopt;
    const auto wait =
        std::clamp<Clock::duration>(*due - now, Clock::duration::zero(), std::chrono::seconds(60));
    const auto seconds = std::chrono::floor<std::chrono::seconds>(wait);
    return timespec{static_cast<time_t>(seconds.count()),
                    static_cast<long>(std::chrono::nanoseconds(wait - seconds).count())};
}

} // namespace

TerminalSimulator::TerminalSimulator(SimOptions options)
    : m_keepCommandLog(options.keepCommandLog), m_core(std::move(options)),
      m_seed(m_core.CurrentFaults().seed)
{}

TerminalSimulator::~TerminalSimulator()
{
    Stop();
}

bool TerminalSimulator::Start(std::string &error)
{
    if (Running()) {
        error = "the terminal is already running";
        return false;
    }
    std::string noise;
    {
        std::lock_guard lock(m_mutex);
        if (!m_core.LoadStateFile(error))
            return false;
        const Faults &faults = m_core.CurrentFaults();
        m_output.SetChunking(faults.chunked, faults.maxChunk, faults.chunkPause);
        m_output.SetWireBaud(faults.wireBaud);
        m_seed = faults.seed;
        noise = faults.lineNoise;
    }
    int master = -1, slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        error = std::string("cannot open a pty: ") + std::strerror(errno);
        return false;
    }
    m_master.Reset(master);
    m_slave.Reset(slave);
    char name[128] = {};
    m_wake.Reset(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (::ptsname_r(master, name, sizeof name) != 0 || !MakeRaw(master) || !MakeRaw(slave) ||
        !AddFlags(master, FD_CLOEXEC, O_NONBLOCK) || !AddFlags(slave, FD_CLOEXEC, 0) ||
        !m_wake.Valid()) {
        error = std::string("cannot set up the pty: ") + std::strerror(errno);
        m_master.Reset();
        m_slave.Reset();
        m_wake.Reset();
        return false;
    }
    m_slavePath = name;
    m_reader = CommandReader();
    std::vector<ReceivedLine> noiseLines;
    m_reader.Feed(noise, noiseLines);
    m_output.Clear();
    m_output.Seed(m_seed);
    m_stopping = false;
    m_hungUp = false;
    m_thread = std::thread([this] { Serve(); });
    return true;
}

void TerminalSimulator::Stop()
{
    if (!m_thread.joinable())
        return;
    m_stopping = true;
    Wake();
    m_thread.join();
    m_master.Reset();
    m_slave.Reset();
    m_wake.Reset();
}

void TerminalSimulator::Wake()
{
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_wake.Get(), &one, sizeof one);
}

void TerminalSimulator::Serve()
{
    while (!m_stopping.load()) {
        const auto now = Clock::now();
        const auto flushed = m_output.Flush(m_master.Get(), now);
        if (flushed.failed)
            m_output.Clear();
        if (m_keepCommandLog && !flushed.finalRepliesSent.empty()) {
            std::lock_guard lock(m_mutex);
            for (const auto at : flushed.finalRepliesSent)
                m_timeline.push_back({TimelineEntry::Kind::FinalReplySent, at});
        }
        const bool acceptInput = m_output.PendingBytes() < kMaxPendingOutput;
        pollfd fds[2] = {
            {m_master.Get(),
             static_cast<short>((acceptInput ? POLLIN : 0) | (flushed.blocked ? POLLOUT : 0)), 0},
            {m_wake.Get(), POLLIN, 0},
        };
        const std::optional<timespec> timeout = PollTimeout(flushed.due, now);
        if (::ppoll(fds, 2, timeout ? &*timeout : nullptr, nullptr) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents & POLLIN) {
            uint64_t count = 0;
            [[maybe_unused]] const ssize_t got = ::read(m_wake.Get(), &count, sizeof count);
            std::vector<std::string> injected;
            {
                std::lock_guard lock(m_mutex);
                injected.swap(m_injected);
            }
            for (const std::string &line : injected)
                m_output.Push("\r\n" + line + "\r\n", Clock::now());
        }
        if (fds[0].revents & POLLIN)
            TakeInput();
        if (m_hungUp.load()) {
            // The tool's side sees the hang-up; the wake-up stays for Stop.
            m_output.Clear();
            m_master.Reset();
            m_slave.Reset();
            return;
        }
    }
}

void TerminalSimulator::TakeInput()
{
    char buffer[4096];
    const ssize_t got = ::read(m_master.Get(), buffer, sizeof buffer);
    if (got <= 0)
        return;
    std::vector<ReceivedLine> lines;
    m_reader.Feed(std::string_view(buffer, static_cast<std::size_t>(got)), lines);
    for (const ReceivedLine &line : lines) {
        if (m_hungUp.load())
            return;
        Answer(line);
    }
}

void TerminalSimulator::Answer(const ReceivedLine &line)
{
    const auto now = Clock::now();
    std::string echo, overlong, reply, unsolicited;
    platform::Millis latency{0};
    {
        std::lock_guard lock(m_mutex);
        if (m_keepCommandLog) {
            m_commands.push_back(line.text);
            m_timeline.push_back({TimelineEntry::Kind::CommandArrived, now});
        }
        ++m_received;
        const Faults &faults = m_core.CurrentFaults();
        if (faults.hangUpAfter && m_received > *faults.hangUpAfter) {
            m_hungUp = true;
            m_commandsChanged.notify_all();
            return;
        }
        if (!faults.silentAfter || m_received <= *faults.silentAfter) {
            // The terminal echoes as the bytes come in, before it acts on the line.
            if (m_core.Echo())
                echo = line.text + "\r";
            reply = Frame(line.overflowed ? m_core.error() : m_core.Execute(line.text));
            if (faults.garbled) {
                Garble(echo);
                Garble(reply);
            }
            if (faults.overlongAt && *faults.overlongAt == m_received)
                overlong.assign(faults.overlongLength, 'X');
            ++m_replies;
            if (faults.unsolicitedEvery > 0 && !faults.unsolicited.empty() &&
                m_replies % faults.unsolicitedEvery == 0) {
                const std::string &text =
                    faults.unsolicited[m_nextUnsolicited++ % faults.unsolicited.size()];
                unsolicited = "\r\n" + text + "\r\n";
            }
            latency = faults.latency;
            m_output.SetChunking(faults.chunked, faults.maxChunk, faults.chunkPause);
            m_output.SetWireBaud(faults.wireBaud);
        }
    }
    m_commandsChanged.notify_all();
    m_output.Push(std::move(echo), now);
    m_output.Push(std::move(overlong), now);
    // A reply ends with its final line and CR LF.
    const auto finalLineEnd = reply.empty() ? std::nullopt : std::optional(reply.size() - 1);
    m_output.Push(std::move(reply), now + latency, finalLineEnd);
    m_output.Push(std::move(unsolicited), now + latency);
}

std::vector<std::string> TerminalSimulator::Commands() const
{
    std::lock_guard lock(m_mutex);
    return m_commands;
}

std::size_t TerminalSimulator::CommandCount() const
{
    std::lock_guard lock(m_mutex);
    return m_commands.size();
}

bool TerminalSimulator::WaitForCommands(std::size_t count, platform::Millis timeout) const
{
    std::unique_lock lock(m_mutex);
    return m_commandsChanged.wait_for(lock, timeout, [&] { return m_commands.size() >= count; });
}

void TerminalSimulator::ClearCommands()
{
    std::lock_guard lock(m_mutex);
    m_commands.clear();
    m_timeline.clear();
}

std::vector<TimelineEntry> TerminalSimulator::Timeline() const
{
    std::lock_guard lock(m_mutex);
    return m_timeline;
}

std::optional<std::string> TerminalSimulator::Value(int number) const
{
    std::lock_guard lock(m_mutex);
    return m_core.Value(number);
}

bool TerminalSimulator::SetValue(int number, const std::string &text)
{
    std::lock_guard lock(m_mutex);
    return m_core.SetValue(number, text);
}

std::string TerminalSimulator::Password() const
{
    std::lock_guard lock(m_mutex);
    return m_core.State().password;
}

std::string TerminalSimulator::SimPin() const
{
    std::lock_guard lock(m_mutex);
    return m_core.State().simPin;
}

bool TerminalSimulator::InTransaction() const
{
    std::lock_guard lock(m_mutex);
    return m_core.InTransaction();
}

bool TerminalSimulator::Echo() const
{
    std::lock_guard lock(m_mutex);
    return m_core.Echo();
}

TerminalState TerminalSimulator::State() const
{
    std::lock_guard lock(m_mutex);
    return m_core.State();
}

std::string TerminalSimulator::SaveError() const
{
    std::lock_guard lock(m_mutex);
    return m_core.SaveError();
}

void TerminalSimulator::SetFaults(Faults faults)
{
    std::lock_guard lock(m_mutex);
    m_core.SetFaults(std::move(faults));
}

void TerminalSimulator::SendUnsolicited(const std::string &line)
{
    {
        std::lock_guard lock(m_mutex);
        m_injected.push_back(line);
    }
    if (m_wake.Valid())
        Wake();
}

} // namespace sim
