#pragma once
// The simulated terminal on a pty: the tool opens SlavePath() as its serial
// port; a thread of our own serves the master side. Every accessor may be
// called from any thread while the terminal serves.
//
//   sim::TerminalSimulator terminal(options);
//   std::string error;
//   if (!terminal.Start(error)) ...
//   open(terminal.SlavePath()), write "AT+RPAR=5\r", read "AT+RPAR=5\r\r\n+RPAR: 00\r\n\r\nOK\r\n"
//   terminal.WaitForCommands(1, 2s); terminal.Commands() == {"AT+RPAR=5"}

#include "platform/sync.h"
#include "platform/unique_fd.h"
#include "sim/command_reader.h"
#include "sim/output_schedule.h"
#include "sim/sim_options.h"
#include "sim/terminal_core.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace sim {

// When the terminal took a command line, and when it sent the CR that ends a
// final reply ("OK", "ERROR", "+CME ERROR: n"): an arrival is stamped after
// the bytes were read, a final reply before the write that carried it, so
// the tool cannot have seen it sooner.
struct TimelineEntry
{
    enum class Kind { CommandArrived, FinalReplySent };
    Kind kind;
    OutputSchedule::Clock::time_point at;
};

class TerminalSimulator
{
public:
    explicit TerminalSimulator(SimOptions options = {});
    // Stops serving and closes the pty.
    ~TerminalSimulator();
    TerminalSimulator(const TerminalSimulator &) = delete;
    TerminalSimulator &operator=(const TerminalSimulator &) = delete;

    // Loads the state file, opens a raw pty pair and starts serving.
    // false with the reason when any of it fails.
    bool Start(std::string &error);
    // Ends the serving thread and closes the pty; output not yet sent is dropped.
    void Stop();
    bool Running() const { return m_thread.joinable(); }
    // The terminal closed its side on a hang-up fault; Stop and Start bring
    // it back on a new pty with the state it had.
    bool HungUp() const { return m_hungUp.load(); }
    // The tty the tool opens, e.g. "/dev/pts/7"; valid after Start.
    const std::string &SlavePath() const { return m_slavePath; }

    // Every command line received (without its CR), in order.
    std::vector<std::string> Commands() const;
    std::size_t CommandCount() const;
    // Waits until at least `count` lines have been received; false on time-out.
    bool WaitForCommands(std::size_t count, platform::Millis timeout) const;
    // Forgets the commands and the timeline.
    void ClearCommands();
    // Arrivals and final replies in the order they happened; kept, like the
    // commands, only with keepCommandLog.
    std::vector<TimelineEntry> Timeline() const;

    // Live state (see TerminalCore).
    std::optional<std::string> Value(int number) const;
    bool SetValue(int number, const std::string &text);
    std::string Password() const;
    std::string SimPin() const;
    bool InTransaction() const;
    bool Echo() const;
    TerminalState State() const;
    std::string SaveError() const;

    // Faults can change while serving; the chunking seed is taken at Start.
    void SetFaults(Faults faults);
    // Sends "\r\n" + line + "\r\n" as soon as the output before it has gone.
    // Not while Start or Stop runs on another thread.
    void SendUnsolicited(const std::string &line);

private:
    void Serve();
    void Wake();
    void TakeInput();
    void Answer(const ReceivedLine &line);

    const bool m_keepCommandLog;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_commandsChanged;
    TerminalCore m_core;                   // guarded by m_mutex
    std::vector<std::string> m_commands;   // guarded by m_mutex
    std::vector<TimelineEntry> m_timeline; // guarded by m_mutex
    std::size_t m_received = 0;            // guarded by m_mutex; never cleared
    std::vector<std::string> m_injected;   // guarded by m_mutex
    uint32_t m_seed;

    platform::UniqueFd m_master, m_slave, m_wake;
    std::string m_slavePath;
    std::thread m_thread;
    std::atomic<bool> m_stopping{false};
    std::atomic<bool> m_hungUp{false};

    // Serving thread only.
    CommandReader m_reader;
    OutputSchedule m_output;
    std::size_t m_replies = 0;
    std::size_t m_nextUnsolicited = 0;
};

} // namespace sim
