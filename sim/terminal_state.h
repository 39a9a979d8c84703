#pragma once
// Everything the terminal remembers, and its state file: one "key=value"
// line per item, '#' lines are comments.
//
//   password=1234            software password
//   pin=4711                 SIM PIN
//   pin-lock=0               PIN asked at start-up (read as parameter 16550)
//   call-waiting=1           classes with call waiting on (1: voice)
//   forward.2=1,5550100,129,20   reason: active, number, type, no-reply time
//   clock-offset=3600        terminal wall time minus host UTC, seconds
//   clock-zone=-12           zone in quarter hours
//   param.16542=11           a parameter value

#include "sim/terminal_clock.h"

#include <array>
#include <map>
#include <string>

namespace sim {

struct ForwardEntry
{
    bool active = false;
    std::string number; // empty: nothing registered
    int type = 129;
    int time = 20; // no-reply time in seconds (reason 2)
};

struct TerminalState
{
    std::map<int, std::string> parameters;
    std::string password;
    std::string simPin;
    bool pinLock = false;
    int waitingClasses = 0;
    std::array<ForwardEntry, 4> forwards; // reasons 0..3
    ClockSetting clock;

    // A terminal fresh from the factory: every parameter at its default.
    static TerminalState Fresh(std::string password, std::string simPin, ClockSetting clock);
};

// Written beside the target and renamed over it, so a reader never sees half a
// file; a new file is the user's alone (it holds the password and the PIN).
bool SaveState(const TerminalState &state, const std::string &path, std::string &error);

// Reads the file over `state`. A line that cannot be understood fails the
// whole load (and names the line), so a damaged file is never silently replaced.
bool LoadState(const std::string &path, TerminalState &state, std::string &error);

} // namespace sim
