#pragma once
// How the simulated terminal behaves: its secrets, the forms of its call
// forwarding answers, and the faults it can be told to show.

#include "platform/sync.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace sim {

// Forms of the "+CCFC:" lines. Networks differ in which bearer classes they
// list and in how they leave out the subaddress; the tool has to cope with all.
struct ForwardReplyStyle
{
    enum class Subaddress {
        Omitted,       // ...,129,,,20
        QuotedEmpty,   // ...,129,"",,20
        QuotedWithType // ...,129,"",128,20
    };

    // Classes answered as inactive lines after the active voice line.
    std::vector<int> otherClasses{2, 4};
    // Class of the single line answered when nothing is forwarded (7 or 255).
    int noneClass = 7;
    Subaddress subaddress = Subaddress::Omitted;
    // A blank after every comma ("1, 1, ...").
    bool blanks = false;
    // The voice line comes after the inactive lines instead of before them.
    bool voiceLast = false;
};

struct Faults
{
    // "AT+RPAR=n" / "AT+WPAR=n,..." of these numbers answer an error.
    std::set<int> refuseReads;
    std::set<int> refuseWrites;
    // Command lines beginning with one of these texts (case ignored) answer an error.
    std::vector<std::string> refuseCommands;
    // Errors answer "+CME ERROR: n" instead of "ERROR" (a wrong password or
    // PIN then answers "+CME ERROR: 16", incorrect password).
    std::optional<int> cmeError;

    // Stray bytes (line noise, without a CR) already in the terminal's input
    // line when it starts: they go in front of the first command line.
    std::string lineNoise;
    // After this many command lines the terminal keeps reading but sends nothing.
    std::optional<std::size_t> silentAfter;
    // A pulled cable: the command line after this many is not answered, the
    // terminal closes its side of the pty instead and serves no more until
    // it is started again.
    std::optional<std::size_t> hangUpAfter;
    // The terminal's thinking time: pause before each reply (the echo comes at once).
    platform::Millis latency{0};
    // Output no faster than a serial line at this rate carries it (ten bits
    // a byte); 0 hands it to the pty at once.
    uint32_t wireBaud = 0;
    // Unsolicited lines, sent in turn after every `unsolicitedEvery`-th reply.
    std::vector<std::string> unsolicited;
    std::size_t unsolicitedEvery = 0;
    // Before the reply to the n-th command line (1-based), a line of
    // `overlongLength` bytes without a line end.
    std::optional<std::size_t> overlongAt;
    std::size_t overlongLength = 1100;
    // Every byte the terminal sends, but the line ends, comes out garbled, as
    // from a terminal set to another rate: no reply can be made out.
    bool garbled = false;
    // Output goes out in random pieces of 1..maxChunk bytes with a pause
    // between them, as from a real serial line.
    bool chunked = false;
    uint32_t seed = 1;
    std::size_t maxChunk = 16;
    platform::Millis chunkPause{1};
};

struct SimOptions
{
    std::string password = "1234"; // software password
    std::string simPin = "4711";   // PIN of the SIM card in the terminal
    // Loaded at start when it exists; written by "AT&W" and by changes the
    // terminal keeps at once (password, PIN, network and clock settings).
    std::string stateFile;
    bool echo = true;
    // Keep every command line for Commands(); a long-running program does not.
    bool keepCommandLog = true;
    // Answer of an empty entry of the forbidden or call back list. Empty by
    // default; "0*0*0*0" makes the tool stop reading the list there.
    std::string blankListRecord;
    ForwardReplyStyle forwardStyle;
    // The host clock the terminal clock runs from (tests pass a fixed one).
    std::function<std::chrono::system_clock::time_point()> clock;
    Faults faults;
};

} // namespace sim
