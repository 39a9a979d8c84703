#pragma once
// Which reply lines answer the command in flight. The terminal echoes a
// command as it takes it, then sends the command's information lines and its
// final reply; lines of its own ("RING", "+CMTI: ...") and final replies that
// answer nothing (an "OK" out of the blue) may come at any time. Where the
// terminal echoes, a final reply counts for the command only after its echo;
// one that comes before answers something else and is stray.

#include "link/shared_settings.h"

#include <atomic>
#include <string>
#include <string_view>

class CommandExchange
{
public:
    enum class Verdict {
        Echo,        // the command coming back
        Information, // a line of the command's own: "+RPAR: 5" for "AT+RPAR=35"
        Final,       // the command's final reply: it has been answered
        Stray,       // a final reply that answers no command in flight
        Unrelated,   // anything else: unsolicited lines, noise
    };

    // `echo` is what is known of the terminal's echo; every echo seen, or
    // final reply that came without one, updates it.
    explicit CommandExchange(std::atomic<EchoMode> &echo) : m_echo(echo) {}

    // The command line just sent, without its CR.
    void Sent(std::string_view command);
    // No command is in flight any more: the job ended or was abandoned.
    void Clear() { m_inFlight = false; }
    bool InFlight() const { return m_inFlight; }
    Verdict Take(std::string_view line);

private:
    std::atomic<EchoMode> &m_echo;
    std::string m_command;
    // The command's name from its "+" on ("+RPAR"); its information lines
    // begin with it. Empty for commands without any ("AT&W").
    std::string m_informationPrefix;
    bool m_inFlight = false;
    bool m_echoSeen = false;
};
